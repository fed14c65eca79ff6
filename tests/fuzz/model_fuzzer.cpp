// Feeds arbitrary bytes to the model reader, then picks frames as the game does.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "render/model.h"

// The reader itself is compiled here so that the fuzzer's coverage instrumentation sees it.
#include "../../src/render/helpers.cpp"
#include "../../src/render/model.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Model model;
    model.LoadFromMemory(data, size);
    for (float frame : {0.0f, 1.5f, -3.0f, 31.0f, 1e30f}) {
        model.frame = frame;
        model.Draw();
        int32_t k = model.CurrentFrameIndex();
        if (model.frameCount > 0 && (k < 0 || k >= model.frameCount)) __builtin_trap();
    }
    model.Release();
    return 0;
}
