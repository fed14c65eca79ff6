// Opening the game's files for reading.
#pragma once

#include <cstdio>

// Opens a file for reading as std::fopen does, but only a regular file: a FIFO, a device or a folder
// in a game file's place would block the game or feed it endless bytes, so it counts as missing.
FILE* OpenRegularFile(const char* path, const char* mode);
