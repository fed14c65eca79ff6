// Feeds arbitrary bytes to the bitmap decoder behind every texture.
#include <cstddef>
#include <cstdint>

#include "platform/bmp_decoder.h"

// The reader itself is compiled here so that the fuzzer's coverage instrumentation sees it.
#include "../../src/platform/bmp_decoder.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage image;
    if (DecodeBmp(data, size, image)) {
        if (image.argb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
            __builtin_trap();
        }
    }
    return 0;
}
