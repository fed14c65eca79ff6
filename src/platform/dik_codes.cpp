// DirectInput scan codes: their names, and the positional map from SDL scancodes.
#include <SDL.h>

#include <cstring>

#include "platform/dik_codes.h"
#include "platform/dinput.h"

namespace {

struct DikEntry {
    int code;
    const char* name;
    SDL_Scancode scancode;
};

const DikEntry kKeys[] = {
    {0x01, "ESCAPE", SDL_SCANCODE_ESCAPE},
    {0x02, "1", SDL_SCANCODE_1},
    {0x03, "2", SDL_SCANCODE_2},
    {0x04, "3", SDL_SCANCODE_3},
    {0x05, "4", SDL_SCANCODE_4},
    {0x06, "5", SDL_SCANCODE_5},
    {0x07, "6", SDL_SCANCODE_6},
    {0x08, "7", SDL_SCANCODE_7},
    {0x09, "8", SDL_SCANCODE_8},
    {0x0A, "9", SDL_SCANCODE_9},
    {0x0B, "0", SDL_SCANCODE_0},
    {0x0C, "MINUS", SDL_SCANCODE_MINUS},
    {0x0D, "EQUALS", SDL_SCANCODE_EQUALS},
    {0x0E, "BACK", SDL_SCANCODE_BACKSPACE},
    {0x0F, "TAB", SDL_SCANCODE_TAB},
    {0x10, "Q", SDL_SCANCODE_Q},
    {0x11, "W", SDL_SCANCODE_W},
    {0x12, "E", SDL_SCANCODE_E},
    {0x13, "R", SDL_SCANCODE_R},
    {0x14, "T", SDL_SCANCODE_T},
    {0x15, "Y", SDL_SCANCODE_Y},
    {0x16, "U", SDL_SCANCODE_U},
    {0x17, "I", SDL_SCANCODE_I},
    {0x18, "O", SDL_SCANCODE_O},
    {0x19, "P", SDL_SCANCODE_P},
    {0x1A, "LBRACKET", SDL_SCANCODE_LEFTBRACKET},
    {0x1B, "RBRACKET", SDL_SCANCODE_RIGHTBRACKET},
    {0x1C, "RETURN", SDL_SCANCODE_RETURN},
    {0x1D, "LCONTROL", SDL_SCANCODE_LCTRL},
    {0x1E, "A", SDL_SCANCODE_A},
    {0x1F, "S", SDL_SCANCODE_S},
    {0x20, "D", SDL_SCANCODE_D},
    {0x21, "F", SDL_SCANCODE_F},
    {0x22, "G", SDL_SCANCODE_G},
    {0x23, "H", SDL_SCANCODE_H},
    {0x24, "J", SDL_SCANCODE_J},
    {0x25, "K", SDL_SCANCODE_K},
    {0x26, "L", SDL_SCANCODE_L},
    {0x27, "SEMICOLON", SDL_SCANCODE_SEMICOLON},
    {0x28, "APOSTROPHE", SDL_SCANCODE_APOSTROPHE},
    {0x29, "GRAVE", SDL_SCANCODE_GRAVE},
    {0x2A, "LSHIFT", SDL_SCANCODE_LSHIFT},
    {0x2B, "BACKSLASH", SDL_SCANCODE_BACKSLASH},
    {0x2C, "Z", SDL_SCANCODE_Z},
    {0x2D, "X", SDL_SCANCODE_X},
    {0x2E, "C", SDL_SCANCODE_C},
    {0x2F, "V", SDL_SCANCODE_V},
    {0x30, "B", SDL_SCANCODE_B},
    {0x31, "N", SDL_SCANCODE_N},
    {0x32, "M", SDL_SCANCODE_M},
    {0x33, "COMMA", SDL_SCANCODE_COMMA},
    {0x34, "PERIOD", SDL_SCANCODE_PERIOD},
    {0x35, "SLASH", SDL_SCANCODE_SLASH},
    {0x36, "RSHIFT", SDL_SCANCODE_RSHIFT},
    {0x37, "MULTIPLY", SDL_SCANCODE_KP_MULTIPLY},
    {0x38, "LMENU", SDL_SCANCODE_LALT},
    {0x39, "SPACE", SDL_SCANCODE_SPACE},
    {0x3A, "CAPITAL", SDL_SCANCODE_CAPSLOCK},
    {0x3B, "F1", SDL_SCANCODE_F1},
    {0x3C, "F2", SDL_SCANCODE_F2},
    {0x3D, "F3", SDL_SCANCODE_F3},
    {0x3E, "F4", SDL_SCANCODE_F4},
    {0x3F, "F5", SDL_SCANCODE_F5},
    {0x40, "F6", SDL_SCANCODE_F6},
    {0x41, "F7", SDL_SCANCODE_F7},
    {0x42, "F8", SDL_SCANCODE_F8},
    {0x43, "F9", SDL_SCANCODE_F9},
    {0x44, "F10", SDL_SCANCODE_F10},
    {0x45, "NUMLOCK", SDL_SCANCODE_NUMLOCKCLEAR},
    {0x46, "SCROLL", SDL_SCANCODE_SCROLLLOCK},
    {0x47, "NUMPAD7", SDL_SCANCODE_KP_7},
    {0x48, "NUMPAD8", SDL_SCANCODE_KP_8},
    {0x49, "NUMPAD9", SDL_SCANCODE_KP_9},
    {0x4A, "SUBTRACT", SDL_SCANCODE_KP_MINUS},
    {0x4B, "NUMPAD4", SDL_SCANCODE_KP_4},
    {0x4C, "NUMPAD5", SDL_SCANCODE_KP_5},
    {0x4D, "NUMPAD6", SDL_SCANCODE_KP_6},
    {0x4E, "ADD", SDL_SCANCODE_KP_PLUS},
    {0x4F, "NUMPAD1", SDL_SCANCODE_KP_1},
    {0x50, "NUMPAD2", SDL_SCANCODE_KP_2},
    {0x51, "NUMPAD3", SDL_SCANCODE_KP_3},
    {0x52, "NUMPAD0", SDL_SCANCODE_KP_0},
    {0x53, "DECIMAL", SDL_SCANCODE_KP_PERIOD},
    {0x56, "OEM_102", SDL_SCANCODE_NONUSBACKSLASH},
    {0x57, "F11", SDL_SCANCODE_F11},
    {0x58, "F12", SDL_SCANCODE_F12},
    {0x9C, "NUMPADENTER", SDL_SCANCODE_KP_ENTER},
    {0x9D, "RCONTROL", SDL_SCANCODE_RCTRL},
    {0xB5, "DIVIDE", SDL_SCANCODE_KP_DIVIDE},
    {0xB7, "SYSRQ", SDL_SCANCODE_PRINTSCREEN},
    {0xB8, "RMENU", SDL_SCANCODE_RALT},
    {0xC5, "PAUSE", SDL_SCANCODE_PAUSE},
    {0xC7, "HOME", SDL_SCANCODE_HOME},
    {0xC8, "UP", SDL_SCANCODE_UP},
    {0xC9, "PRIOR", SDL_SCANCODE_PAGEUP},
    {0xCB, "LEFT", SDL_SCANCODE_LEFT},
    {0xCD, "RIGHT", SDL_SCANCODE_RIGHT},
    {0xCF, "END", SDL_SCANCODE_END},
    {0xD0, "DOWN", SDL_SCANCODE_DOWN},
    {0xD1, "NEXT", SDL_SCANCODE_PAGEDOWN},
    {0xD2, "INSERT", SDL_SCANCODE_INSERT},
    {0xD3, "DELETE", SDL_SCANCODE_DELETE},
    {0xDB, "LWIN", SDL_SCANCODE_LGUI},
    {0xDC, "RWIN", SDL_SCANCODE_RGUI},
    {0xDD, "APPS", SDL_SCANCODE_APPLICATION},
};

}  // namespace

const char* DikName(int code) {
    for (const DikEntry& e : kKeys)
        if (e.code == code) return e.name;
    return nullptr;
}

int DikFromName(const char* name) {
    if (!name) return -1;
    for (const DikEntry& e : kKeys)
        if (std::strcmp(e.name, name) == 0) return e.code;
    return -1;
}

namespace platform {

int DikFromScancode(int scancode) {
    for (const DikEntry& e : kKeys)
        if (e.scancode == scancode) return e.code;
    return -1;
}

void FillDikStateFromSdl(uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (!state) return;
    for (const DikEntry& e : kKeys) {
        if (e.scancode < count && state[e.scancode]) keys[e.code] = 0x80;
    }
}

}  // namespace platform
