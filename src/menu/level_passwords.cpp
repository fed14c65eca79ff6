#include "menu/level_passwords.h"

#include <cstring>

const char kLevelPasswordWords[kFilledPasswordSlots][kPasswordLength + 1] = {
    "NERAD", "FICUJ", "CASOD", "KASAF", "KUCUR", "CECUG", "MOGUF", "MUHAJ", "PADUC", "JOSIT",
    "TIMEH", "KAMUV", "NOMUD", "FUSEN", "GOSAD", "NIPUV", "TADIV", "DAMUT", "MOPAT", "PEFOC",
    "JIGER", "RODET", "LOPOK", "GAHEK", "KAVUH", "libes", "libes", "punez", "tivor"};

void FillLevelPasswords(char table[kPasswordSlots][kPasswordLength + 1]) {
    for (int i = 0; i < kFilledPasswordSlots; ++i)
        std::memcpy(table[i], kLevelPasswordWords[i], kPasswordLength + 1);
}
