#include "platform/game_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        bool problem;
    };
    const Case cases[] = {
        {"the current folder holds models/",
         {t + "/run", exe, "/h", "/xc", "/xs"},
         t + "/run",
         t + "/run/config.ini",
         t + "/run/log.txt",
         false},
        {"the executable's folder does",
         {t + "/empty", t + "/run/voltrana", "/h", "", ""},
         t + "/run",
         t + "/run/config.ini",
         t + "/run/log.txt",
         false},
        {"installed, XDG defaults",
         {t + "/empty", exe, "/h", "", ""},
         installed,
         "/h/.config/voltrana/config.ini",
         "/h/.local/state/voltrana/log.txt",
         false},
        {"installed, XDG set (a relative one is ignored)",
         {t + "/empty", exe, "/h", "/xc", "xs"},
         installed,
         "/xc/voltrana/config.ini",
         "/h/.local/state/voltrana/log.txt",
         false},
        {"no home at all", {t + "/empty", exe, "", "", ""}, installed, "", "", true},
        {"no data anywhere",
         {t + "/empty", t + "/empty/voltrana", "/h", "", ""},
         t + "/share/voltrana",
         "/h/.config/voltrana/config.ini",
         "/h/.local/state/voltrana/log.txt",
         true},
    };
    for (const Case& c : cases) {
        const GameFolders f = FindGameFolders(c.env);
        EXPECT_EQ(f.data, c.data) << c.what;
        EXPECT_EQ(f.config, c.config) << c.what;
        EXPECT_EQ(f.log, c.log) << c.what;
        EXPECT_EQ(!f.problem.empty(), c.problem) << c.what << ": " << f.problem;
    }
}

}  // namespace
