#include <gtest/gtest.h>

#include "engine/config.h"
#include "engine/log.h"
#include "support/test_support.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace {

struct Settings {
    int32_t detail, width, height, format, sound;
};

Settings ReadFrom(const char* text, Settings start = {-7, -7, -7, -7, -7}) {
    SceneDetail = start.detail;
    ScreenWidth = start.width;
    ScreenHeight = start.height;
    ScreenFormat = start.format;
    SoundEnabled = start.sound;
    ReadConfigText(text);
    return {SceneDetail, ScreenWidth, ScreenHeight, ScreenFormat, SoundEnabled};
}

void ExpectSettings(const Settings& s, int32_t d, int32_t w, int32_t h, int32_t f, int32_t snd) {
    EXPECT_EQ(s.detail, d);
    EXPECT_EQ(s.width, w);
    EXPECT_EQ(s.height, h);
    EXPECT_EQ(s.format, f);
    EXPECT_EQ(s.sound, snd);
}

TEST(ConfigReader, ReadsByPositionWhateverTheKeys) {
    ExpectSettings(ReadFrom("SceneDetail 1\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1"), 1,
                   800, 600, 1, 1);
    ExpectSettings(ReadFrom("a 2\nb 1024\nc 768\nd 0\ne 0\n"), 2, 1024, 768, 0, 0);
    // Line breaks carry no meaning: only words and numbers count.
    ExpectSettings(ReadFrom("x 2 y 640\n\n  z   480 w 1 v 0"), 2, 640, 480, 1, 0);
}

TEST(ConfigReader, ShortFileLeavesTheRestUnchanged) {
    ExpectSettings(ReadFrom("SceneDetail 1\nScreenWidth 800\n"), 1, 800, -7, -7, -7);
    ExpectSettings(ReadFrom(""), -7, -7, -7, -7, -7);
    ExpectSettings(ReadFrom("SceneDetail"), -7, -7, -7, -7, -7);
}

TEST(ConfigReader, WordWhereANumberBelongsShiftsTheLaterValues) {
    // "abc" is not a number: detail stays, then "abc" is read as the next key and 800 lands in the width;
    // the later pairs follow one setting early, and the last setting is never reached.
    ExpectSettings(ReadFrom("SceneDetail abc 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1"), -7, 800, 600,
                   1, 1);
    ExpectSettings(ReadFrom("SceneDetail 1\nScreenWidth x\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 0"), 1,
                   -7, -7, 600, 1);
    // Negative and explicitly positive numbers are numbers.
    ExpectSettings(ReadFrom("a -1 b +640 c 480 d 1 e 1"), -1, 640, 480, 1, 1);
}

TEST(ConfigReader, HostileTextStaysInBounds) {
    // A key far longer than 79 characters and numbers beyond 32 bits are read without harm.
    std::string longKey(5000, 'k');
    Settings s = ReadFrom((longKey + " 1 b 99999999999999999999 c -99999999999 d 1 e 1").c_str());
    EXPECT_EQ(s.width, INT32_MAX);
    EXPECT_EQ(s.height, INT32_MIN);
}

TEST(ConfigFile, WriterProducesTheExactBytesAndReadsBack) {
    ScopedTempDir dir;
    ASSERT_TRUE(WriteConfig(1, 1, 1));
    EXPECT_EQ(ReadFileBytes("config.ini"),
              "SceneDetail 1\nScreenWidth 800\nScreenHeight 600\nScreenFormat 1\nSoundEnabled 1");
    ASSERT_TRUE(ReadConfig());
    EXPECT_EQ(SceneDetail, 1);
    EXPECT_EQ(ScreenWidth, 800);
    EXPECT_EQ(ScreenHeight, 600);
    EXPECT_EQ(ScreenFormat, 1);
    EXPECT_EQ(SoundEnabled, 1);

    ASSERT_TRUE(WriteConfig(2, 0, 0));
    EXPECT_EQ(ReadFileBytes("config.ini"),
              "SceneDetail 2\nScreenWidth 640\nScreenHeight 480\nScreenFormat 1\nSoundEnabled 0");
    ASSERT_TRUE(WriteConfig(0, 2, 1));
    EXPECT_EQ(ReadFileBytes("config.ini"),
              "SceneDetail 0\nScreenWidth 1024\nScreenHeight 768\nScreenFormat 1\nSoundEnabled 1");
}

TEST(ConfigFile, MissingFileIsReportedAndTheDefaultsArePlayable) {
    ScopedTempDir dir;
    LogInit();
    SceneDetail = ScreenWidth = ScreenHeight = ScreenFormat = SoundEnabled = 0;
    EXPECT_FALSE(ReadConfig());
    EXPECT_NE(ReadFileBytes("log.txt").find("Error reading config.ini\n"), std::string::npos);
    EXPECT_EQ(ScreenWidth, 0);  // nothing read
    ApplyDefaultConfig();
    EXPECT_EQ(SceneDetail, 0);
    EXPECT_EQ(ScreenWidth, 800);
    EXPECT_EQ(ScreenHeight, 600);
    EXPECT_EQ(ScreenFormat, 1);
    EXPECT_EQ(SoundEnabled, 1);
}

TEST(ConfigFile, UnwritableFileFailsAndIsLogged) {
    ScopedTempDir dir;
    LogInit();
    WriteFileBytes("config.ini", "");
    // A folder named config.ini cannot be opened for writing.
    std::remove("config.ini");
    ASSERT_EQ(mkdir("config.ini", 0755), 0);
    EXPECT_FALSE(WriteConfig(0, 1, 1));
    EXPECT_NE(ReadFileBytes("log.txt").find("Nepodarilo sa zapisat config.ini\n"), std::string::npos);
}

}  // namespace
