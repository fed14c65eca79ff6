// The state of the running game as one JSON object, for end-to-end tests.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct SoundEvent {
    long frame;
    std::string file;
    bool loop;
};

// frame: the frame just completed. played: the sounds started since the previous dump.
nlohmann::json DumpState(long frame, const std::vector<SoundEvent>& played, const std::vector<std::string>& looping);
