#include "render/fake_device.h"

#include "engine/engine.h"

ScopedFakeDevice::ScopedFakeDevice() : previous_(g_pDevice) { g_pDevice = &device; }
ScopedFakeDevice::~ScopedFakeDevice() { g_pDevice = previous_; }
