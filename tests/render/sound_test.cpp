// WAV files as the sound reader takes them, and the sounds' life: off, playing, looping, stopping.
#include <gtest/gtest.h>

#include <AL/al.h>
#include <AL/alc.h>

#include <cstdlib>

#include "engine/config.h"
#include "engine/sound.h"
#include "support/test_support.h"

namespace {

// A RIFF file with an odd-sized chunk before the format (padded, and named like it but for the last
// letter), then the samples; the data chunk may claim more than it holds.
std::string Wav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples,
                uint32_t claimed = 0xFFFFFFFF) {
    auto le = [](uint32_t v, int n) { return std::string(reinterpret_cast<const char*>(&v), n); };
    const std::string fmt = le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * channels * bits / 8, 4) +
                            le(channels * bits / 8, 2) + le(bits, 2);
    const std::string body = "WAVEfmtx" + le(3, 4) + std::string("abc\0", 4) + "fmt " + le(16, 4) + fmt +
                             "data" + le(claimed == 0xFFFFFFFF ? samples.size() : claimed, 4) + samples;
    return "RIFF" + le(body.size(), 4) + body;
}

TEST(WavReader, ReadsPlainPcmCutsWhatIsNotThereAndRejectsTheRest) {
    std::string shortFormat = Wav(1, 1, 22050, 16, "xxxx");
    shortFormat[28] = 14;  // a format chunk of 14 bytes
    const struct {
        std::string bytes;
        bool ok;
        int format = 0, size = 0;
    } cases[] = {
        {Wav(1, 1, 22050, 16, std::string(8, '\x11')), true, AL_FORMAT_MONO16, 8},
        {Wav(1, 2, 44100, 8, std::string(6, 'x')), true, AL_FORMAT_STEREO8, 6},
        // The data chunk claims a gigabyte but holds 7 bytes: one whole 16-bit stereo frame of 4.
        {Wav(1, 2, 22050, 16, std::string(7, 'x'), 1u << 30), true, AL_FORMAT_STEREO16, 4},
        {Wav(3, 1, 22050, 32, "xxxx"), false},  // float samples
        {Wav(1, 6, 22050, 16, "xxxx"), false},  // six channels
        {Wav(1, 1, 0, 16, "xxxx"), false},      // no rate
        {Wav(1, 1, 22050, 12, "xxxx"), false},
        {Wav(1, 1, 22050, 16, "xxxx").substr(0, 30), false},  // cut inside the format chunk
        {shortFormat, false},
        {Wav(1, 1, 22050, 16, "xxxx").substr(0, 12) + "junk" + std::string("\xF0\xFF\xFF\xFF", 4) + "xx",
         false},
        {std::string("RIFF\0\0\0\0WAVE", 12), false},
        {"not a wave file at all", false},
        {"", false},
    };
    for (const auto& c : cases) {
        WavData w;
        const bool ok = ParseWav(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), &w);
        EXPECT_TRUE(ok == c.ok && (w.data != nullptr) == ok) << c.bytes.size();
        if (!ok) continue;
        EXPECT_TRUE(w.format == c.format && w.size == c.size) << w.format << " " << w.size;
        EXPECT_EQ(static_cast<uint8_t*>(w.data)[0],
                  uint8_t(c.bytes[c.bytes.size() - (c.size == 4 ? 7 : c.size)]));
        std::free(w.data);
    }
}

std::vector<std::string> g_played;

TEST(Sound, OffDoesNothingAtAllOnPlaysLoopsRestartsStopsAndShutsDownCleanly) {
    ScopedTempDir dir;
    WriteFileBytes("day.wav", Wav(1, 1, 22050, 16, std::string(44100, '\0')));
    const int32_t saved = SoundEnabled;
    g_soundObserver.played = [](const Sound& s, uint8_t looped) {
        g_played.push_back(std::string(s.file) + (looped ? "+" : ""));
    };
    g_soundObserver.stopped = [](const Sound& s) { g_played.push_back("stop " + std::string(s.file)); };
    SoundEnabled = 0, SoundStartup();
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
    {
        Sound s;
        s.Load("day.wav"), s.Play(1), s.Stop();
        EXPECT_TRUE(s.loaded == 0 && s.data == nullptr && s.source == 0u);
    }
    SoundShutdown();
    EXPECT_TRUE(g_played.empty());

    SoundEnabled = 1, SoundStartup();
    const bool audio = alcGetCurrentContext() != nullptr;
    Sound loop, missing;
    loop.Load("day.wav"), missing.Load("nowhere.wav");
    // A missing file is silence, not an error.
    EXPECT_TRUE(loop.loaded == 1 && loop.size == 44100 && missing.loaded == 1 && missing.size == 0 &&
                missing.data == nullptr && missing.frequency == 22050 && missing.format == AL_FORMAT_MONO16);
    auto state = [&](ALenum what) {
        ALint v = 0;
        alGetSourcei(loop.source, what, &v);
        return v;
    };
    loop.Play(1), missing.Play(0);
    EXPECT_TRUE(!audio || (state(AL_SOURCE_STATE) == AL_PLAYING && state(AL_LOOPING) == AL_TRUE));
    loop.Play(0);  // again while playing: restarts, now once
    EXPECT_TRUE(!audio || state(AL_LOOPING) == AL_FALSE);
    loop.Stop();
    EXPECT_TRUE(!audio || state(AL_SOURCE_STATE) == AL_STOPPED);
    EXPECT_EQ(g_played, (std::vector<std::string>{"day.wav+", "nowhere.wav", "day.wav", "stop day.wav"}));
    // Loading again replaces the sound's source and buffer; kept, they would run out after a few hundred.
    alGetError();
    for (int i = 0; i < 300; ++i) loop.Load("day.wav");
    EXPECT_TRUE(!audio || (alGetError() == AL_NO_ERROR && alIsSource(loop.source) && loop.size == 44100));
    Sound late;  // reloads are tracked once, so a sound loaded after them is still deleted at shutdown
    late.Load("day.wav");
    SoundShutdown();
    // Deleted while the context existed.
    EXPECT_TRUE(alcGetCurrentContext() == nullptr && loop.source == 0u && late.source == 0u);
    SoundEnabled = saved;
    g_soundObserver = SoundObserver{};
}

}  // namespace
