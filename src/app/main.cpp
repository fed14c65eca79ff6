// The game's entry point: finds the game's folders, then hands over to WinMain as the Windows loader
// would.
#include "app/win_main.h"
#include "platform/game_folders.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    SetUpGameFolders();
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
}
