#include "platform/language.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

Language s_language = Language::kSlovak;

// "en" alone or followed by a territory, code set, modifier or the next entry of a list.
bool NamesEnglish(const char* locale) {
    return locale[0] == 'e' && locale[1] == 'n' && std::strchr("_.@:-", locale[2]) != nullptr;
}

}  // namespace

bool ParseLanguageName(const char* name, Language& language) {
    if (name && std::strcmp(name, "sk") == 0) {
        language = Language::kSlovak;
        return true;
    }
    if (name && std::strcmp(name, "en") == 0) {
        language = Language::kEnglish;
        return true;
    }
    return false;
}

Language ChooseLanguage(const char* override) {
    Language chosen = Language::kSlovak;
    if (ParseLanguageName(override, chosen)) return chosen;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && value[0] != '\0') return NamesEnglish(value) ? Language::kEnglish : Language::kSlovak;
    }
    return Language::kSlovak;
}

void SetGameLanguage(Language language) {
    s_language = language;
}

Language GameLanguage() {
    return s_language;
}

const GameTexts& Texts() {
    return TextsOf(s_language);
}
