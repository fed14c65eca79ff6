#pragma once
#include <cstdint>
#include <string>

// Writes rows of RGBA bytes (top row first) as an 8-bit RGB PNG. False when the file cannot be written.
bool WritePng(const std::string& path, const uint8_t* rgba, int width, int height);
