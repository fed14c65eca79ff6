// A long demo script that wanders through every screen and plays levels with random input.
#pragma once
#include <cstdint>
#include <string>

// The script for `frames` frames on a width x height back buffer. It reports memory in the main
// menu: as "early" the first time the menu is up after frame `earlyFrame`, then after every further
// 10,000 frames, and as "end" after the last frame (the run ends at rest in the menu); then it quits.
std::string MakeSoakScript(uint32_t seed, long frames, long earlyFrame, int width, int height);
