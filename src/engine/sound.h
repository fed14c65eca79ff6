// One WAV file in one OpenAL buffer played through one source. With SoundEnabled 0 nothing here
// touches the audio library.
#pragma once
#include <cstddef>
#include <cstdint>

class Sound {
public:
    int32_t format = 0;
    void* data = nullptr;
    int32_t size = 0;
    int32_t frequency = 0;
    uint32_t source = 0;
    uint32_t buffer = 0;
    uint8_t loop = 0;
    uint8_t loaded = 0;
    const char* file = "";  // the path given to Load, for diagnostics

    Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    ~Sound();
    void Load(const char* path);
    void Play(uint8_t looped);
    void Stop();
    void FreeSampleData();
};

// A PCM WAV file's samples as OpenAL takes them.
struct WavData {
    int32_t format = 0;
    void* data = nullptr;  // malloc'ed; the caller frees it
    int32_t size = 0;
    int32_t frequency = 0;
};
// Reads an uncompressed PCM WAV (8 or 16 bits, mono or stereo). False for anything else; a data
// chunk longer than the file is cut to what the file holds.
bool ParseWav(const uint8_t* bytes, size_t size, WavData* out);
bool ReadWavFile(const char* path, WavData* out);

void SoundStartup();
void SoundShutdown();
// Observers for the demo runner: every Play that acted, and Stop.
struct SoundObserver {
    void (*played)(const Sound& sound, uint8_t looped) = nullptr;
    void (*stopped)(const Sound& sound) = nullptr;
};
extern SoundObserver g_soundObserver;
