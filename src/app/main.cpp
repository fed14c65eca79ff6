// The game's entry point: reads the command line, finds the game's folders, then hands over to WinMain
// as the Windows loader would.
#include <cstdio>

#include "app/command_line.h"
#include "app/win_main.h"
#include "platform/desktop.h"
#include "platform/game_folders.h"
#include "platform/language.h"

int main(int argc, char** argv) {
    const CommandLine options = ParseCommandLine(argc, argv, stdout, stderr);
    if (options.exitNow) return options.exitStatus;
    SetStartWindowed(options.windowed);
    SetGameLanguage(ChooseLanguage(options.language));
    SetUpGameFolders();
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
}
