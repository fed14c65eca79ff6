// A real device for rendering tests: a hidden window (SDL's offscreen driver, Mesa llvmpipe) and a
// Direct3D-shaped device of the given size.
#pragma once
#include "platform/d3d9.h"

// Creates the window and the device, and fills g_hWnd, g_pD3D, g_pDevice and g_engine's width,
// height, formats, near/far planes and viewport. Returns false when no device could be made.
bool CreateTestDevice(int width, int height, D3DFORMAT textureFormat = D3DFMT_A8R8G8B8);
void DestroyTestDevice();
// The back buffer's pixel at (x, y) as 0xAARRGGBB (y counted from the top).
uint32_t ReadPixel(int x, int y);
