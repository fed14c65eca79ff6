// A real device for rendering tests: a hidden window (SDL's offscreen driver, Mesa llvmpipe) and a
// Direct3D-shaped device of the given size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d3d9.h"

// Creates the window and the device, and fills g_hWnd, g_pD3D, g_pDevice and g_engine's width,
// height, formats, near/far planes and viewport. Returns false when no device could be made.
bool CreateTestDevice(int width, int height, D3DFORMAT textureFormat = D3DFMT_A8R8G8B8);
void DestroyTestDevice();
// The whole back buffer, read in one call: pixels as 0xAARRGGBB, rows from the top.
struct Screen {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};
Screen ReadScreen();
// A state of the device: kind 'r' a render state, 't' a state of texture stage `stage`, 's' a state of
// sampler `stage`; 0xDEAD when it cannot be read.
DWORD DeviceState(char kind, DWORD stage, DWORD state);
// One pixel of the back buffer (reads the whole buffer: use ReadScreen for many pixels).
uint32_t ReadPixel(int x, int y);
