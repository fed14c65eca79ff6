// Keyboard and mouse polled once per frame into held and pressed-this-frame tables.
#pragma once
#include <cstdint>
#include "engine/types.h"
#include "platform/dinput.h"

class Input {
public:
    IDirectInput8A* m_pDirectInput = nullptr;
    IDirectInputDevice8A* m_pKeyboard = nullptr;
    IDirectInputDevice8A* m_pMouse = nullptr;
    uint8_t keyRaw[256] = {};
    uint8_t keyDown[256] = {};
    uint8_t keyPressed[256] = {};
    uint8_t mouseDown[2] = {};
    uint8_t mousePressed[2] = {};
    Vector3 mousePos{0.0f, 0.0f, 0.0f};

    void Init();
    void ReadKeyboard();
    void ReadMouse();
    void Release();
};
extern Input g_input;
