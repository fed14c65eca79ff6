// Feeds arbitrary bytes to the WAV reader of the sounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/sound.h"

// The reader itself is compiled here so that the fuzzer's coverage instrumentation sees it.
#include "../../src/engine/sound.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WavData wav;
    if (ParseWav(data, size, &wav)) {
        if (wav.size < 0 || static_cast<size_t>(wav.size) > size) __builtin_trap();
        volatile uint8_t sink = 0;
        for (int32_t i = 0; i < wav.size; ++i) sink = sink ^ static_cast<uint8_t*>(wav.data)[i];
        std::free(wav.data);
    }
    return 0;
}
