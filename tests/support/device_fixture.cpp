// Placeholder until the platform's device lands.
#include "support/device_fixture.h"

bool CreateTestDevice(int, int, D3DFORMAT) { return false; }
void DestroyTestDevice() {}
uint32_t ReadPixel(int, int) { return 0; }
