#include <gtest/gtest.h>

#include <AL/al.h>
#include <AL/alc.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/config.h"
#include "engine/sound.h"
#include "support/test_support.h"

namespace {

void Put32(std::string& s, uint32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}
void Put16(std::string& s, uint16_t v) {
    s.append(reinterpret_cast<const char*>(&v), 2);
}

std::string Wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples,
                uint32_t claimedDataSize = 0xFFFFFFFF) {
    std::string fmt;
    Put16(fmt, tag);
    Put16(fmt, channels);
    Put32(fmt, rate);
    Put32(fmt, rate * channels * bits / 8);
    Put16(fmt, static_cast<uint16_t>(channels * bits / 8));
    Put16(fmt, bits);
    std::string body = "WAVE";
    body += "LIST";
    Put32(body, 3);
    body += "abc";
    body += '\0';  // padding of the odd chunk
    body += "fmt ";
    Put32(body, static_cast<uint32_t>(fmt.size()));
    body += fmt;
    body += "data";
    Put32(body, claimedDataSize == 0xFFFFFFFF ? static_cast<uint32_t>(samples.size()) : claimedDataSize);
    body += samples;
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(body.size()));
    return s + body;
}

WavData Parse(const std::string& bytes, bool* ok) {
    WavData w;
    *ok = ParseWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &w);
    return w;
}

TEST(WavReader, ReadsPcmAndCutsWhatTheFileDoesNotHold) {
    bool ok = false;
    WavData w = Parse(Wav(1, 1, 22050, 16, std::string(8, '\x11')), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(w.format, AL_FORMAT_MONO16);
    EXPECT_EQ(w.size, 8);
    EXPECT_EQ(w.frequency, 22050);
    EXPECT_EQ(static_cast<uint8_t*>(w.data)[7], 0x11);
    std::free(w.data);

    w = Parse(Wav(1, 2, 44100, 8, std::string(6, 'x')), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(w.format, AL_FORMAT_STEREO8);
    std::free(w.data);

    // The data chunk claims a gigabyte but holds 7 bytes: one whole 16-bit stereo frame of 4 bytes.
    w = Parse(Wav(1, 2, 22050, 16, std::string(7, 'x'), 1u << 30), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(w.size, 4);
    std::free(w.data);
}

TEST(WavReader, RejectsWhatIsNotPlainPcm) {
    bool ok = true;
    const std::string samples(4, 'x');
    std::string good = Wav(1, 1, 22050, 16, samples);
    const std::string bad[] = {
        Wav(3, 1, 22050, 32, samples),  // float samples
        Wav(1, 6, 22050, 16, samples),  // six channels
        Wav(1, 1, 0, 16, samples),      // no rate
        Wav(1, 1, 22050, 12, samples),
        good.substr(0, 30),  // cut inside the format chunk
        "RIFF\0\0\0\0WAVE",
        "not a wave file at all",
        "",
    };
    for (const auto& b : bad) {
        WavData w = Parse(b, &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(w.data, nullptr);
    }
    std::string hugeChunk = good.substr(0, 12) + "junk" + std::string("\xF0\xFF\xFF\xFF", 4) + "xx";
    Parse(hugeChunk, &ok);
    EXPECT_FALSE(ok);
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes("log.txt", "");
        saved = SoundEnabled;
        played.clear();
        stopped = 0;
        g_soundObserver.played = [](const Sound& s, uint8_t looped) { played.push_back({s.file, looped}); };
        g_soundObserver.stopped = [](const Sound&) { ++stopped; };
    }
    void TearDown() override {
        SoundEnabled = saved;
        g_soundObserver = SoundObserver{};
    }
    static inline std::vector<std::pair<std::string, int>> played;
    static inline int stopped = 0;
    ScopedTempDir dir;
    int32_t saved = 0;
};

TEST_F(SoundTest, SoundOffDoesNothingAtAll) {
    SoundEnabled = 0;
    SoundStartup();
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
    {
        Sound s;
        WriteFileBytes("a.wav", Wav(1, 1, 22050, 16, std::string(100, 'x')));
        s.Load("a.wav");
        s.Play(1);
        s.Stop();
        EXPECT_EQ(s.loaded, 0);
        EXPECT_EQ(s.data, nullptr);
        EXPECT_EQ(s.source, 0u);
    }
    SoundShutdown();
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(stopped, 0);
}

TEST_F(SoundTest, PlaysLoopsRestartsStopsAndShutsDownCleanly) {
    SoundEnabled = 1;
    SoundStartup();
    EXPECT_EQ(ReadFileBytes("log.txt"), "Inicializujem Zvuk\n");
    bool audio = alcGetCurrentContext() != nullptr;
    Sound loop, missing;
    WriteFileBytes("day.wav", Wav(1, 1, 22050, 16, std::string(44100, '\0')));
    loop.Load("day.wav");
    missing.Load("nowhere.wav");
    EXPECT_EQ(loop.loaded, 1);
    EXPECT_EQ(loop.size, 44100);
    // A missing file is silence, not an error.
    EXPECT_EQ(missing.loaded, 1);
    EXPECT_EQ(missing.size, 0);
    EXPECT_EQ(missing.data, nullptr);
    EXPECT_EQ(missing.frequency, 22050);
    EXPECT_EQ(missing.format, AL_FORMAT_MONO16);

    loop.Play(1);
    missing.Play(0);
    if (audio) {
        ALint state = 0, looping = 0;
        alGetSourcei(loop.source, AL_SOURCE_STATE, &state);
        alGetSourcei(loop.source, AL_LOOPING, &looping);
        EXPECT_EQ(state, AL_PLAYING);
        EXPECT_EQ(looping, AL_TRUE);
        loop.Play(0);  // again while playing: restarts, now once
        alGetSourcei(loop.source, AL_LOOPING, &looping);
        EXPECT_EQ(looping, AL_FALSE);
        loop.Stop();
        alGetSourcei(loop.source, AL_SOURCE_STATE, &state);
        EXPECT_EQ(state, AL_STOPPED);
    } else {
        loop.Play(0);
        loop.Stop();
    }
    EXPECT_EQ(played,
              (std::vector<std::pair<std::string, int>>{{"day.wav", 1}, {"nowhere.wav", 0}, {"day.wav", 0}}));
    EXPECT_EQ(stopped, 1);

    SoundShutdown();
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
    EXPECT_EQ(loop.source, 0u);  // deleted while the context still existed
    // The sounds are destroyed after shutdown, as the game's are: only their sample data is left to free.
}

}  // namespace
