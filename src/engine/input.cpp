#include "engine/input.h"

#include "engine/engine.h"
#include "engine/log.h"

void Input::Init() {
    LogWrite("Nastavujem Direct Input");
    if (SUCCEEDED(DirectInput8Create(g_hInstance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                     reinterpret_cast<void**>(&m_pDirectInput), nullptr)) &&
        m_pDirectInput) {
        LogWrite("   m_pDirectInput vytvoreny");
    } else {
        m_pDirectInput = nullptr;
        LogWrite("   Nepodarilo sa vytvori\x9D m_pDirectInput");
        return;
    }

    if (SUCCEEDED(m_pDirectInput->CreateDevice(GUID_SysKeyboard, &m_pKeyboard, nullptr)) && m_pKeyboard) {
        LogWrite("   Klavesnica nastavena");
    } else {
        m_pKeyboard = nullptr;
        LogWrite("   Nepodarilo sa nastavit klavesnicu");
    }
    if (m_pKeyboard) {
        if (SUCCEEDED(m_pKeyboard->SetDataFormat(&c_dfDIKeyboard)))
            LogWrite("   Format klavesnice nastaveny");
        else
            LogWrite("   Nepodarilo sa nastavit format klavesnice");
        if (SUCCEEDED(m_pKeyboard->SetCooperativeLevel(g_hWnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND)))
            LogWrite("   cooperative level pre klavesnicu nastaveny");
        else
            LogWrite("   nepodarilo sa nastavit ccoperative level pre klavesnicu");
        LogWrite("   Acquire klavesnica");
        m_pKeyboard->Acquire();
    }

    if (SUCCEEDED(m_pDirectInput->CreateDevice(GUID_SysMouse, &m_pMouse, nullptr)) && m_pMouse) {
        LogWrite("   Mys nastavena");
    } else {
        m_pMouse = nullptr;
        LogWrite("   Nepodarilo sa nastavit mys ");
    }
    if (m_pMouse) {
        if (SUCCEEDED(m_pMouse->SetDataFormat(&c_dfDIMouse)))
            LogWrite("   Format myse nastavena");
        else
            LogWrite("   Nepodarilo sa nastavit formaty mysi");
        if (SUCCEEDED(m_pMouse->SetCooperativeLevel(g_hWnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND)))
            LogWrite("   cooperative level pre mys nastaveny");
        else
            LogWrite("   nepodarilo sa nastavit ccoperative level pre mys");
        LogWrite("   Acquire mys");
        m_pMouse->Acquire();
    }
}

void Input::ReadKeyboard() {
    if (!m_pKeyboard) return;
    // A failed read keeps the previous state, so a held key is not seen as released and pressed again.
    m_pKeyboard->GetDeviceState(sizeof keyRaw, keyRaw);
    for (int i = 0; i < 256; ++i) {
        const uint8_t down = (keyRaw[i] & 0x80) ? 1 : 0;
        keyPressed[i] = keyDown[i] ? 0 : down;
        keyDown[i] = down;
    }
}

void Input::ReadMouse() {
    if (!m_pMouse) return;
    DIMOUSESTATE state{};
    // A failed read leaves both buttons up.
    if (FAILED(m_pMouse->GetDeviceState(sizeof state, &state))) state = DIMOUSESTATE{};
    mousePressed[0] = 0;
    mousePressed[1] = 0;
    for (int b = 0; b < 2; ++b) {
        if (state.rgbButtons[b] & 0x80) {
            if (mouseDown[b] == 0) mousePressed[b] = 1;
            mouseDown[b] = 1;
        } else {
            mouseDown[b] = 0;
        }
    }
    POINT p{0, 0};
    GetCursorPos(&p);
    ScreenToClient(g_hWnd, &p);
    mousePos = Vector3{static_cast<float>(p.x), static_cast<float>(p.y), 0.0f};
}

void Input::Release() {
    if (m_pKeyboard) {
        m_pKeyboard->Unacquire();
        m_pKeyboard->Release();
        m_pKeyboard = nullptr;
    }
    if (m_pMouse) {
        m_pMouse->Unacquire();
        m_pMouse->Release();
        m_pMouse = nullptr;
    }
    if (m_pDirectInput) {
        m_pDirectInput->Release();
        m_pDirectInput = nullptr;
    }
}
