// The game's language: the first locale variable that is set decides, --lang beats them all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/language.h"

namespace {

TEST(LanguageTest, TheFirstSetLocaleVariableDecidesAndTheOverrideBeatsThemAll) {
    const struct {
        const char* environment;  // NAME=value words; the other three variables are not set
        const char* override;
        Language expected;
    } cases[] = {
        {"", nullptr, Language::kSlovak},
        {"LANG=C.UTF-8", nullptr, Language::kSlovak},
        {"LANG=sk_SK.UTF-8", nullptr, Language::kSlovak},
        {"LANG=en_US.UTF-8", nullptr, Language::kEnglish},
        {"LANG=en", nullptr, Language::kEnglish},
        {"LANGUAGE=sk:en LANG=en_GB.UTF-8", nullptr, Language::kSlovak},
        {"LANGUAGE= LC_ALL= LC_MESSAGES=en_US.UTF-8 LANG=sk_SK.UTF-8", nullptr, Language::kEnglish},
        {"LC_ALL=C LC_MESSAGES=en_US.UTF-8", nullptr, Language::kSlovak},
        {"LANG=en_GB.UTF-8", "sk", Language::kSlovak},
        {"LANG=C.UTF-8", "en", Language::kEnglish},
    };
    for (const auto& c : cases) {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
        std::istringstream words(c.environment);
        for (std::string word; words >> word;) {
            const size_t equals = word.find('=');
            setenv(word.substr(0, equals).c_str(), word.substr(equals + 1).c_str(), 1);
        }
        EXPECT_EQ(ChooseLanguage(c.override), c.expected)
            << c.environment << " " << (c.override ? c.override : "");
    }
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
    setenv("LANG", "C.UTF-8", 1);
}

}  // namespace
