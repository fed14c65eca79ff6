// DirectInput-8-shaped keyboard and mouse: polled from SDL's state or from the automation.
#include <SDL.h>

#include <cstring>

#include "platform/automation.h"
#include "platform/dik_codes.h"
#include "platform/dinput.h"
#include "platform/platform_internal.h"

#define DIERR_INVALIDPARAM ((HRESULT)0x80070057u)
#define DIERR_NOTACQUIRED ((HRESULT)0x8007000Cu)
#define DIERR_DEVICENOTREG ((HRESULT)0x80040154u)

const GUID GUID_SysKeyboard{0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse{0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID IID_IDirectInput8A{0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const DIDATAFORMAT c_dfDIKeyboard{sizeof(DIDATAFORMAT), 256};
const DIDATAFORMAT c_dfDIMouse{sizeof(DIDATAFORMAT), sizeof(DIMOUSESTATE)};

namespace {

// Presses seen since the last read of each device.
uint8_t s_latchedKeys[256] = {};
bool s_latchedButtons[2] = {};

bool SameGuid(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

class InputDevice final : public IDirectInputDevice8A {
public:
    explicit InputDevice(bool keyboard) : keyboard_(keyboard) {}

    HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
        if (!format) return DIERR_INVALIDPARAM;
        return S_OK;
    }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return S_OK; }
    HRESULT Acquire() override {
        acquired_ = true;
        return S_OK;
    }
    HRESULT Unacquire() override {
        acquired_ = false;
        return S_OK;
    }
    HRESULT GetDeviceState(DWORD size, void* data) override {
        if (!data) return DIERR_INVALIDPARAM;
        if (keyboard_) {
            if (size != 256) return DIERR_INVALIDPARAM;
            if (!acquired_) return DIERR_NOTACQUIRED;
            uint8_t* keys = static_cast<uint8_t*>(data);
            if (Automation* automation = GetAutomation()) {
                automation->KeyboardState(keys);
            } else {
                // SDL lets go of every key when the window loses focus and reads them again after.
                platform::FillDikStateFromSdl(keys);
            }
            for (int i = 0; i < 256; ++i) keys[i] |= s_latchedKeys[i];
            std::memset(s_latchedKeys, 0, sizeof s_latchedKeys);
            // Alt+Enter switches between full screen and a window; it is not the game's Enter.
            if ((keys[DIK_LMENU] | keys[DIK_RMENU]) & 0x80) keys[DIK_RETURN] = keys[DIK_NUMPADENTER] = 0;
            return S_OK;
        }
        if (size < sizeof(DIMOUSESTATE)) return DIERR_INVALIDPARAM;
        if (!acquired_) return DIERR_NOTACQUIRED;
        DIMOUSESTATE state{};
        bool left = false;
        bool right = false;
        if (Automation* automation = GetAutomation()) {
            int x = 0;
            int y = 0;
            automation->MouseState(x, y, left, right);
        } else if (platform::MainWindow()) {
            const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
            left = (buttons & SDL_BUTTON_LMASK) != 0;
            right = (buttons & SDL_BUTTON_RMASK) != 0;
        }
        state.rgbButtons[0] = (left || s_latchedButtons[0]) ? 0x80 : 0;
        state.rgbButtons[1] = (right || s_latchedButtons[1]) ? 0x80 : 0;
        s_latchedButtons[0] = s_latchedButtons[1] = false;
        std::memset(data, 0, size);
        std::memcpy(data, &state, sizeof(state));
        return S_OK;
    }
    unsigned long Release() override {
        delete this;
        return 0;
    }

private:
    bool keyboard_;
    bool acquired_ = false;
};

class DirectInput final : public IDirectInput8A {
public:
    HRESULT CreateDevice(REFGUID guid, IDirectInputDevice8A** device, void*) override {
        if (!device) return DIERR_INVALIDPARAM;
        *device = nullptr;
        if (SameGuid(guid, GUID_SysKeyboard)) {
            *device = new InputDevice(true);
        } else if (SameGuid(guid, GUID_SysMouse)) {
            *device = new InputDevice(false);
        } else {
            return DIERR_DEVICENOTREG;
        }
        return S_OK;
    }
    unsigned long Release() override {
        delete this;
        return 0;
    }
};

}  // namespace

void LatchKeyPress(int dikCode) {
    if (dikCode >= 0 && dikCode < 256) s_latchedKeys[dikCode] = 0x80;
}

void LatchButtonPress(int button) {
    if (button == 0 || button == 1) s_latchedButtons[button] = true;
}

HRESULT DirectInput8Create(HINSTANCE, DWORD, REFIID iid, void** out, void*) {
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (GetPlatformFaults().failDirectInput) return E_FAIL;
    if (!SameGuid(iid, IID_IDirectInput8A)) return E_FAIL;
    *out = static_cast<IDirectInput8A*>(new DirectInput());
    return S_OK;
}
