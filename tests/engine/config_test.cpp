#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "engine/config.h"
#include "engine/log.h"
#include "support/test_support.h"

namespace {

using Settings = std::array<int32_t, 5>;  // detail, width, height, format, sound

// config.ini as the game writes it, the five values given as text.
std::string Keyed(const std::array<const char*, 5>& values) {
    const char* keys[] = {"SceneDetail", "ScreenWidth", "ScreenHeight", "ScreenFormat", "SoundEnabled"};
    std::string text;
    for (int i = 0; i < 5; ++i) text += std::string(i ? "\n" : "") + keys[i] + " " + values[i];
    return text;
}

// Starts the way the game does: reads config.ini (or finds none), applies the fallbacks, logs them.
Settings StartWith(const std::string* file, std::string& log) {
    SceneDetail = ScreenWidth = ScreenHeight = ScreenFormat = SoundEnabled = 0;
    if (file) WriteFileBytes("config.ini", *file);
    ReadConfig(), ApplyConfigFallbacks(), LogInit(), LogConfigFallbacks(), log = ReadFileBytes("log.txt");
    return {SceneDetail, ScreenWidth, ScreenHeight, ScreenFormat, SoundEnabled};
}

TEST(ConfigRead, ValuesByPositionWithEveryUnusableOneOrAMissingFileGivenItsDefault) {
    const std::string all = "SceneDetail ScreenWidth ScreenHeight ScreenFormat SoundEnabled";
    const struct {
        std::string text;
        Settings expected;
        std::string logged;  // settings the log must name as given their default
    } cases[] = {
        {Keyed({"1", "800", "600", "1", "1"}), {1, 800, 600, 1, 1}, ""},
        // The keys are not compared: whatever words stand there, values go by position.
        {"a 2\nb 1024\nc 768\nd 0\ne 0\n", {2, 1024, 768, 0, 0}, ""},
        {"x 2 y 640\n\n  z   480 w 1 v 0", {2, 640, 480, 1, 0}, ""},
        {"a -0 b +640 c 480 d 1 e 7", {0, 640, 480, 1, 7}, ""},
        // Empty, or cut off part-way by a failed write.
        {"", {0, 800, 600, 1, 1}, all},
        {"SceneDetail 2\nScreenWidth 1024\nScreenHei",
         {2, 1024, 600, 1, 1},
         "ScreenHeight ScreenFormat SoundEnabled"},
        // A word where a number belongs: the later values land one setting early, as they always did;
        // what is then missing takes its default.
        {"SceneDetail abc 640\nScreenHeight 480\nScreenFormat 0\nSoundEnabled 0",
         {0, 640, 480, 0, 0},
         "SceneDetail"},
        {Keyed({"1", "x", "600", "1", "0"}), {1, 800, 600, 1, 1}, "ScreenWidth ScreenHeight ScreenFormat"},
        // Numbers no screen can have.
        {Keyed({"3", "0", "-600", "2", "0"}),
         {0, 800, 600, 1, 0},
         "SceneDetail ScreenWidth ScreenHeight ScreenFormat"},
        // A long key, and 2^64 + 1, which would read as 1 if the digits wrapped instead of saturating.
        {std::string(5000, 'k') + " 1 b 18446744073709551617 c -99999999999 d 1 e 1",
         {1, INT32_MAX, 600, 1, 1},
         "ScreenHeight"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        ScopedTempDir dir;
        std::string log;
        EXPECT_EQ(StartWith(&c.text, log), c.expected);
        std::istringstream keys(c.logged);
        size_t named = 0, fallbackLines = 0;
        for (std::string key; keys >> key; ++named) EXPECT_NE(log.find(key), std::string::npos) << key;
        for (size_t at = 0; (at = log.find("config.ini: ", at)) != std::string::npos; ++at) ++fallbackLines;
        EXPECT_EQ(fallbackLines, named) << log;
    }
    ScopedTempDir dir;  // no file at all: the defaults, and the log says so
    std::string log;
    EXPECT_EQ(StartWith(nullptr, log), (Settings{0, 800, 600, 1, 1}));
    EXPECT_NE(log.find("config.ini sa nepodarilo precitat: pouzivam 800x600"), std::string::npos) << log;
    mkfifo("config.ini", 0644);  // a FIFO nobody writes is not waited on: the same defaults
    EXPECT_EQ(StartWith(nullptr, log), (Settings{0, 800, 600, 1, 1}));
}

// Exact bytes for each resolution; a failed write leaves the previous file whole and is logged.
TEST(ConfigWrite, ExactBytesAndAFailedWriteLeavesThePreviousFileWhole) {
    ScopedTempDir dir;
    LogWrite("Error reading config.ini");  // before the log is made, lines are dropped, never a file made
    EXPECT_FALSE(FileExists("log.txt"));
    const std::string expected[3] = {Keyed({"2", "640", "480", "1", "0"}),
                                     Keyed({"1", "800", "600", "1", "1"}),
                                     Keyed({"0", "1024", "768", "1", "1"})};
    namespace fs = std::filesystem;
    const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    // A size the game does not offer is left out rather than read from beyond the table.
    ASSERT_TRUE(WriteConfig(0, 3, 1));
    EXPECT_EQ(ReadFileBytes("config.ini"), "SceneDetail 0\nScreenFormat 1\nSoundEnabled 1");
    for (int r = 2; r >= 0; --r) {  // the 640 x 480 file is left for the failed write
        ASSERT_TRUE(WriteConfig(2 - r, r, r > 0));
        EXPECT_EQ(ReadFileBytes("config.ini"), expected[r]);
        EXPECT_FALSE(FileExists("config.ini.new"));
    }
    EXPECT_EQ(openFiles(), filesBefore) << "every write closes its file";
    LogInit();
    // A full disk, as a child process whose files may not grow beyond 20 bytes.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20, 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(WriteConfig(0, 2, 1) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the failed write must be reported";
    EXPECT_EQ(ReadFileBytes("config.ini"), expected[0]);
    EXPECT_FALSE(FileExists("config.ini.new"));

    // A file that cannot be written beside it (a folder in its place) or that cannot be replaced at all
    // (a folder named config.ini) is reported and logged.
    ASSERT_EQ(mkdir("config.ini.new", 0755), 0);
    EXPECT_TRUE(!WriteConfig(0, 1, 1) && ReadFileBytes("config.ini") == expected[0]);
    rmdir("config.ini.new"), std::remove("config.ini");
    ASSERT_EQ(mkdir("config.ini", 0755), 0);
    EXPECT_FALSE(WriteConfig(0, 1, 1));
    LogWrite("   Nepodarilo sa vytvori\x9D m_pDirectInput");  // code page 1250 bytes are kept
    const std::string log = ReadFileBytes("log.txt"), failed = "Nepodarilo sa zapisat config.ini\n";
    int failures = 0;  // the folder beside the file and the folder in its place (the full disk logs nothing)
    for (size_t at = log.find(failed); at != std::string::npos; at = log.find(failed, at + 1)) ++failures;
    EXPECT_TRUE(failures == 2 && log.find("vytvori\x9D m_p") != std::string::npos) << log;
}

}  // namespace
