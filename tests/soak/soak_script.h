// A long demo script that wanders through every screen and plays levels with random input.
#pragma once
#include <cstdint>
#include <string>

// The script for `frames` frames on a width x height back buffer, reporting memory after frame
// `earlyFrame` and after the last frame, then quitting.
std::string MakeSoakScript(uint32_t seed, long frames, long earlyFrame, int width, int height);
