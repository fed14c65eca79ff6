// The level passwords: slot i belongs to level i + 1.
#pragma once

inline constexpr int kPasswordSlots = 30;
inline constexpr int kPasswordLength = 5;
// The words of slots 0 to 28; slot 29 stays empty. Slots 25 to 28 are lower case and can never be
// typed, so only levels 1 to 25 can be reached by password.
inline constexpr int kFilledPasswordSlots = 29;
extern const char kLevelPasswordWords[kFilledPasswordSlots][kPasswordLength + 1];

void FillLevelPasswords(char table[kPasswordSlots][kPasswordLength + 1]);
