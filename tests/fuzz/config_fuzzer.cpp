// Feeds arbitrary text to the config.ini reader.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/config.h"

// The reader itself is compiled here so that the fuzzer's coverage instrumentation sees it.
#include "../../src/engine/config.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The file reader stops at the first zero byte, as the text ends there.
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReadConfigText(text.c_str());
    return 0;
}
