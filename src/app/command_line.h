// The game's command line: the window it starts in, and the options that only print and exit.
#pragma once
#include <cstdio>

struct CommandLine {
    bool windowed = false;           // --window; --fullscreen (the default) clears it
    bool exitNow = false;            // --help, --version or a bad option: print and stop
    int exitStatus = 0;              // 0 after --help or --version, 2 after a bad option
    const char* language = nullptr;  // --lang sk|en; null: the desktop's language
};

// Reads argv[1..]; --help and --version print to `out`, a bad option prints one line to `err`.
CommandLine ParseCommandLine(int argc, const char* const* argv, FILE* out, FILE* err);
