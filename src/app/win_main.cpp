#include "app/win_main.h"

int WinMain(HINSTANCE, HINSTANCE, char*, int) { return 0; }
LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
void RenderFrame() {}
