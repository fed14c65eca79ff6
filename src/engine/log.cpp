#include "engine/log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/game_folders.h"

const char* const kVersionLine = "Voltrana v1.16 - (c) 2026 Voltrana team";

namespace {
const char* const kStars = "********************************************\n";
}  // namespace

void LogInit() {
    FILE* f = std::fopen(LogFilePath(), "w");
    if (!f) return;
    std::fputs(kStars, f);
    std::fputs("<<<<<<<<<<<<<<<Z.R.M.7 Engine>>>>>>>>>>>>>>>\n", f);
    std::fputs(kStars, f);
    std::fputs("      Z.R.M.7 Engine (c) 2004-2026 the Voltrana developers\n", f);
    std::fputs("********************************************\n\n", f);
    std::fclose(f);
}

void LogWrite(const char* text) {
    // Opened for update so that a missing log is never created here: before the banner exists,
    // lines are dropped.
    FILE* f = std::fopen(LogFilePath(), "r+");
    if (!f) return;
    if (std::fseek(f, 0, SEEK_END) == 0) std::fprintf(f, "%s\n", text ? text : "");
    std::fclose(f);
}

void LogWriteF(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    LogWrite(buffer);
}
