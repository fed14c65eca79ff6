// Sounds: each WAV file whole in one OpenAL buffer, played through a source of its own. Audio is
// opened and closed with ALUT; with SoundEnabled 0 nothing here calls the audio library.
//
// WAV files are read by our own reader (PCM, 8 or 16 bits, mono or stereo): the files come from
// outside the program, so a broken or hostile one must give silence, never a crash or a huge
// allocation. A file that cannot be opened or read loads as silence (16-bit mono, no data, 22050 Hz).
#include "engine/sound.h"

#include <AL/al.h>
#include <AL/alut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/config.h"
#include "engine/log.h"
#include "platform/regular_file.h"

SoundObserver g_soundObserver;

namespace {

constexpr size_t kMaxWavBytes = 128u << 20;

// Whether alutInit gave us a current context that has not been closed yet.
bool s_audioOpen = false;

// The sounds that own a source and a buffer, so that shutdown can delete them while the context
// still exists. Plain storage: it must outlive the global sounds' destructors.
constexpr int kMaxTracked = 64;
Sound* s_tracked[kMaxTracked];
int s_trackedCount = 0;

void Track(Sound* sound) {
    if (s_trackedCount < kMaxTracked) s_tracked[s_trackedCount++] = sound;
}

void Untrack(Sound* sound) {
    for (int i = 0; i < s_trackedCount; ++i) {
        if (s_tracked[i] == sound) {
            s_tracked[i] = s_tracked[--s_trackedCount];
            return;
        }
    }
}

void DeleteAudioObjects(Sound* sound) {
    if (sound->source != 0) {
        alSourceStop(sound->source);
        alSourcei(sound->source, AL_BUFFER, 0);
        alDeleteSources(1, &sound->source);
        sound->source = 0;
    }
    if (sound->buffer != 0) {
        alDeleteBuffers(1, &sound->buffer);
        sound->buffer = 0;
    }
}

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

bool ParseWav(const uint8_t* bytes, size_t size, WavData* out) {
    *out = WavData{};
    if (bytes == nullptr || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return false;
    }
    int channels = 0;
    int bits = 0;
    uint32_t rate = 0;
    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint8_t* chunk = bytes + pos;
        size_t length = U32(chunk + 4);
        size_t bodyStart = pos + 8;
        size_t available = size - bodyStart;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16 || available < 16) return false;
            const uint8_t* f = bytes + bodyStart;
            uint16_t tag = U16(f);
            channels = U16(f + 2);
            rate = U32(f + 4);
            bits = U16(f + 14);
            if (tag != 1) return false;  // only plain PCM
            if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return false;
            if (rate == 0 || rate > 384000) return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return false;
            // A data chunk that claims more than the file holds is cut to what is there.
            if (length > available) length = available;
            size_t frame = static_cast<size_t>(channels) * static_cast<size_t>(bits / 8);
            length -= length % frame;
            void* data = length > 0 ? std::malloc(length) : nullptr;
            if (length > 0 && data == nullptr) return false;
            if (length > 0) std::memcpy(data, bytes + bodyStart, length);
            out->format = channels == 1 ? (bits == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16)
                                        : (bits == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16);
            out->data = data;
            out->size = static_cast<int32_t>(length);
            out->frequency = static_cast<int32_t>(rate);
            return true;
        }
        if (length > available) return false;
        pos = bodyStart + length + (length & 1);  // chunks are padded to an even length
    }
    return false;
}

bool ReadWavFile(const char* path, WavData* out) {
    *out = WavData{};
    FILE* f = OpenRegularFile(path, "rb");
    if (f == nullptr) return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() <= kMaxWavBytes) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(f);
    return ParseWav(bytes.data(), bytes.size(), out);
}

void SoundStartup() {
    if (SoundEnabled == 0) return;
    LogWrite("Inicializujem Zvuk");
    s_audioOpen = alutInit(nullptr, nullptr) == AL_TRUE;
}

void SoundShutdown() {
    if (SoundEnabled == 0) return;
    // The sounds live on until the program exits; their sources and buffers go now, while the context
    // they belong to still exists. Their sample data is freed when they are destroyed.
    if (s_audioOpen) {
        for (int i = 0; i < s_trackedCount; ++i) DeleteAudioObjects(s_tracked[i]);
    }
    s_trackedCount = 0;
    alutExit();
    s_audioOpen = false;
}

Sound::~Sound() {
    if (loaded == 0) return;
    FreeSampleData();
    if (s_audioOpen) DeleteAudioObjects(this);
    Untrack(this);
    loaded = 0;
}

void Sound::FreeSampleData() {
    std::free(data);
    data = nullptr;
    size = 0;
}

void Sound::Load(const char* path) {
    if (SoundEnabled == 0) return;
    if (loaded == 1) {  // loading again replaces the earlier sound
        FreeSampleData();
        if (s_audioOpen) DeleteAudioObjects(this);
        Untrack(this);
    }
    file = path;
    WavData wav;
    if (!ReadWavFile(path, &wav)) {
        // Not there or not a PCM WAV: silence, and the log says which.
        LogWriteF("Zvukovy subor %s sa nepodarilo nacitat", path ? path : "");
        wav.format = AL_FORMAT_MONO16;
        wav.data = nullptr;
        wav.size = 0;
        wav.frequency = 22050;
    }
    format = wav.format;
    data = wav.data;
    size = wav.size;
    frequency = wav.frequency;
    loop = 0;
    if (s_audioOpen) {
        alGenSources(1, &source);
        alGenBuffers(1, &buffer);
        alBufferData(buffer, format, data, size, frequency);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
        Track(this);
    }
    loaded = 1;
}

void Sound::Play(uint8_t looped) {
    if (SoundEnabled == 0 || loaded == 0) return;
    if (s_audioOpen && source != 0) {
        alSourcei(source, AL_LOOPING, looped);
        alSourcePlay(source);
    }
    if (g_soundObserver.played != nullptr) g_soundObserver.played(*this, looped);
}

void Sound::Stop() {
    if (SoundEnabled == 0 || loaded == 0) return;
    if (s_audioOpen && source != 0) alSourceStop(source);
    if (g_soundObserver.stopped != nullptr) g_soundObserver.stopped(*this);
}
