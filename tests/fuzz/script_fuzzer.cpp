// Feeds arbitrary text to the demo script parser: it must accept or reject, and what it accepts must
// be in frame order with sane names and key codes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "demo/script.h"

// The parser itself is compiled here so that the fuzzer's coverage instrumentation sees it.
#include "../../tools/demo/script.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Script script;
    std::string error;
    if (!ParseScript(text, script, error)) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    int previous = 0;
    for (const ScriptEvent& e : script.events) {
        if (e.frame < previous || e.key < 0 || e.key > 255 || e.button < 0 || e.button > 1) __builtin_trap();
        if (e.name.find('/') != std::string::npos || (!e.name.empty() && e.name[0] == '.')) __builtin_trap();
        previous = e.frame;
    }
    return 0;
}
