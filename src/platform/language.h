// The language the game speaks to the player: Slovak, its own, or English when the desktop asks for it.
#pragma once
#include "game_texts.h"

// The language named on the command line ("sk" or "en"); false for any other name.
bool ParseLanguageName(const char* name, Language& language);
// `override` when it names a language, otherwise the desktop's: English when the first of LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG that is set and not empty names an English locale ("en", "en_GB.UTF-8",
// "en:sk"...), Slovak for every other value (C, POSIX, sk_SK...) and when none is set.
Language ChooseLanguage(const char* override);

// The language of every text and bitmap from now on; Slovak until set. Set it before the window opens.
void SetGameLanguage(Language language);
Language GameLanguage();
// The texts of the game's language.
const GameTexts& Texts();
