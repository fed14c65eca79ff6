// Feeds arbitrary bytes to the model reader, then picks frames as the game does.
#include <cstddef>
#include <cstdint>

#include "render/model.h"
// Weak stand-ins for the engine core until it is linked (the real definitions win).
#include "../render/engine_fallback.cpp"

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
