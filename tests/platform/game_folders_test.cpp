// Where the game finds its data, config and log, and its language: the first locale variable that is set
// decides, --lang beats them all.
#include "platform/game_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "platform/language.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(GameFolders, RunnableFolderOrInstalledLayout) {
    ScopedTempDir dir;
    const std::string t = dir.path();
    for (const char* d : {"/run/models", "/prefix/bin", "/prefix/share/voltrana/models", "/empty"})
        fs::create_directories(t + d);
    const std::string installed = t + "/prefix/share/voltrana", exe = t + "/prefix/bin/voltrana";
    struct Case {
        const char* what;
        FolderEnv env;
        std::string data, config, log;
        bool problem = false;
    };
    const std::string run = t + "/run", empty = t + "/empty", cfg = run + "/config.ini",
                      log = run + "/log.txt";
    const std::string home = "/h/.config/voltrana/config.ini", state = "/h/.local/state/voltrana/log.txt";
    const Case cases[] = {
        {"the current folder holds models/", {run, exe, "/h", "/xc", "/xs"}, run, cfg, log},
        {"the executable's folder does", {empty, run + "/voltrana", "/h", "", ""}, run, cfg, log},
        {"installed, XDG defaults", {empty, exe, "/h", "", ""}, installed, home, state},
        // A relative XDG folder is ignored.
        {"installed, XDG set", {empty, exe, "/h", "/xc", "xs"}, installed, "/xc/voltrana/config.ini", state},
        {"no home at all", {empty, exe, "", "", ""}, installed, "", "", true},
        {"no data", {empty, empty + "/voltrana", "/h", "", ""}, t + "/share/voltrana", home, state, true},
    };
    for (const Case& c : cases) {
        const GameFolders f = FindGameFolders(c.env);
        EXPECT_EQ(std::tie(f.data, f.config, f.log), std::tie(c.data, c.config, c.log)) << c.what;
        EXPECT_EQ(!f.problem.empty(), c.problem) << c.what << ": " << f.problem;
    }
}

TEST(LanguageTest, TheFirstSetLocaleVariableDecidesAndTheOverrideBeatsThemAll) {
    // The environment as NAME=value words (the other three variables not set), the override, the language.
    const struct {
        const char *environment, *override;
        Language expected;
    } cases[] = {
        {"", nullptr, Language::kSlovak},
        {"LANG=C.UTF-8", nullptr, Language::kSlovak},
        {"LANG=en_US.UTF-8", nullptr, Language::kEnglish},
        {"LANG=en", nullptr, Language::kEnglish},
        {"LANGUAGE=sk:en LC_ALL=en_GB.UTF-8", nullptr, Language::kSlovak},
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
