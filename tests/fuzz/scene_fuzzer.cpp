// Feeds arbitrary bytes to the scene reader (no device: parsing, normals, smoothing, packing).
#include <cstddef>
#include <cstdint>

#include "render/scene.h"

// The reader itself is compiled here so that the fuzzer's coverage instrumentation sees it.
#include "../../src/render/helpers.cpp"
#include "../../src/render/scene.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Scene scene;
    scene.LoadFromMemory(reinterpret_cast<const char*>(data), size);
    scene.Draw(), scene.Release();
    return 0;
}
