// The game's language: the desktop's locale variables in their order of precedence, and --lang over them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/command_line.h"
#include "platform/language.h"

namespace {

TEST(LanguageTest, TheFirstSetLocaleVariableDecidesAndTheOverrideBeatsThemAll) {
    constexpr Language sk = Language::kSlovak, en = Language::kEnglish;
    const struct {
        const char *language, *lcAll, *lcMessages, *lang, *override;
        Language expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, nullptr, sk},
        {nullptr, nullptr, nullptr, "C.UTF-8", nullptr, sk},
        {nullptr, nullptr, nullptr, "POSIX", nullptr, sk},
        {nullptr, nullptr, nullptr, "sk_SK.UTF-8", nullptr, sk},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", nullptr, en},
        {nullptr, nullptr, nullptr, "en", nullptr, en},
        {nullptr, nullptr, nullptr, "es_ES.UTF-8", nullptr, sk},
        {"sk:en", nullptr, nullptr, "en_GB.UTF-8", nullptr, sk},  // LANGUAGE comes first
        {"en_GB:sk", "C", nullptr, "sk_SK.UTF-8", nullptr, en},
        {"", "", "en_US.UTF-8", "sk_SK.UTF-8", nullptr, en},  // empty counts as not set
        {nullptr, "C", "en_US.UTF-8", nullptr, nullptr, sk},  // LC_ALL before LC_MESSAGES
        {nullptr, nullptr, nullptr, "en_GB.UTF-8", "sk", sk},
        {nullptr, nullptr, nullptr, "C.UTF-8", "en", en},
    };
    const char* names[4] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    for (const auto& c : cases) {
        const char* values[4] = {c.language, c.lcAll, c.lcMessages, c.lang};
        for (int i = 0; i < 4; ++i) {
            if (values[i])
                setenv(names[i], values[i], 1);
            else
                unsetenv(names[i]);
        }
        EXPECT_EQ(ChooseLanguage(c.override), c.expected)
            << (c.language ? c.language : "-") << " " << (c.lcAll ? c.lcAll : "-") << " "
            << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-") << " "
            << (c.override ? c.override : "-");
    }
    for (const char* name : names) unsetenv(name);
    setenv("LANG", "C.UTF-8", 1);
}

TEST(LanguageTest, LangOnTheCommandLineTakesSkOrEn) {
    const struct {
        std::vector<const char*> args;
        int status;
        const char* language;
    } cases[] = {
        {{"voltrana", "--lang", "en"}, 0, "en"}, {{"voltrana", "--lang=sk", "--window"}, 0, "sk"},
        {{"voltrana", "--window"}, 0, nullptr},  {{"voltrana", "--lang", "de"}, 2, nullptr},
        {{"voltrana", "--lang=EN"}, 2, nullptr}, {{"voltrana", "--lang"}, 2, nullptr},
    };
    FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(static_cast<int>(c.args.size()), c.args.data(), sink, sink);
        EXPECT_EQ(line.exitStatus, c.status) << c.args.back();
        EXPECT_EQ(line.exitNow, c.status != 0) << c.args.back();
        if (c.status == 0) {
            EXPECT_STREQ(line.language, c.language) << c.args.back();
        }
    }
    std::fclose(sink);
}

}  // namespace
