// Start-up, the message loop, the frame and shutdown.
#pragma once
#include "platform/win32.h"

int WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);
LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void RenderFrame();
// Depth test, no culling, Gouraud shading, linear filtering with linear mip levels on both samplers.
void SetDefaultRenderStates();
// Camera, bus controls and the Escape key of a game-mode frame.
void HandleGameKeys();
