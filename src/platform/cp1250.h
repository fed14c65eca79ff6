// Code page 1250: every user-visible and log text is kept as these bytes; UTF-8 exists only at the
// edges (font drawing, message boxes).
#pragma once
#include <string>

std::string Cp1250ToUtf8(const std::string& text);
// Unicode code point of one code page 1250 byte.
char32_t Cp1250ToCodePoint(unsigned char byte);
// Source files are UTF-8; game texts are written with this so the binary holds code page 1250.
std::string Utf8ToCp1250(const std::string& text);
