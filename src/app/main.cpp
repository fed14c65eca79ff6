// The game's entry point: hands over to WinMain as the Windows loader would.
#include "app/win_main.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
}
