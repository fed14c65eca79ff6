#include "app/command_line.h"

#include <cstring>
#include <string>

#include "engine/log.h"
#include "platform/game_folders.h"
#include "platform/language.h"

namespace {

void PrintHelp(FILE* out) {
    std::fputs(
        "Usage: voltrana [OPTION]\n"
        "A 3D sliding-block puzzle: drive the buses back and forth until bus 0 can leave the lot.\n"
        "\n"
        "Options:\n"
        "  --fullscreen   start in full screen on the whole desktop (the default)\n"
        "  --window       start in a window that can be moved and resized\n"
        "  --lang sk|en   speak Slovak or English; without it the game speaks English when the first\n"
        "                 of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set begins with en,\n"
        "                 and Slovak, its own language, otherwise\n"
        "  --help         print this help and exit\n"
        "  --version      print the version and exit\n"
        "\n"
        "Keys and mouse:\n"
        "  left button    select the bus under the cursor\n"
        "  right button   drive the selected bus towards the cursor\n"
        "  Up / Down      drive the selected bus forwards / backwards\n"
        "  Space          select the next bus\n"
        "  Left / Right   turn the camera (or move the cursor to the screen's left / right edge)\n"
        "  Right Ctrl / Right Shift   raise / lower the camera (or the bottom / top edge)\n"
        "  Escape         the level dialog: restart, exit, continue\n"
        "  F              show the frame rate while held\n"
        "  Alt+Enter      switch between full screen and a window\n"
        "\n",
        out);
    for (const std::string& line : GameFolderHelpLines()) std::fprintf(out, "%s\n", line.c_str());
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv, FILE* out, FILE* err) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--window") == 0) {
            result.windowed = true;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            result.windowed = false;
        } else if (std::strcmp(arg, "--lang") == 0 || std::strncmp(arg, "--lang=", 7) == 0) {
            const char* name = arg[6] == '=' ? arg + 7 : i + 1 < argc ? argv[++i] : nullptr;
            Language language;
            if (!ParseLanguageName(name, language)) {
                std::fprintf(err, "voltrana: --lang takes sk or en (try 'voltrana --help')\n");
                result.exitNow = true;
                result.exitStatus = 2;
                return result;
            }
            result.language = name;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            PrintHelp(out);
            result.exitNow = true;
            return result;
        } else if (std::strcmp(arg, "--version") == 0) {
            std::fprintf(out, "%s\n", kVersionLine);
            result.exitNow = true;
            return result;
        } else {
            std::fprintf(err, "voltrana: unknown option '%s' (try 'voltrana --help')\n", arg);
            result.exitNow = true;
            result.exitStatus = 2;
            return result;
        }
    }
    return result;
}
