// The keyboard as DirectInput sees it, built from SDL's positional key state.
#pragma once
#include <cstdint>

namespace platform {
// 256 bytes indexed by DIK scan code, 0x80 for every key held now.
void FillDikStateFromSdl(uint8_t keys[256]);
// The DIK code of the key at an SDL scancode's position (its USB usage id), or -1 for none.
int DikFromScancode(int scancode);
}  // namespace platform
