// The game's sounds, synthesised: 16-bit mono PCM at 22050 Hz.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kSampleRate = 22050;

// Samples in -1..1 for each sound file name (without the folder): klik, naraz1, naraz2, konec, start,
// outro, den, noc.
std::vector<float> SynthesiseSound(const std::string& name);
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples);
