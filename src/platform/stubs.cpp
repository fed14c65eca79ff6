// Placeholder bodies until the SDL/OpenGL stand-ins land; this file is deleted then.
#include "platform/automation.h"
#include "platform/bitmap_resources.h"
#include "platform/cp1250.h"
#include "platform/d3dx9.h"
#include "platform/dinput.h"

WORD RegisterClassExA(const WNDCLASSEXA*) { return 1; }
BOOL UnregisterClassA(LPCSTR, HINSTANCE) { return TRUE; }
HMODULE GetModuleHandleA(LPCSTR) { return nullptr; }
HICON LoadIconA(HINSTANCE, LPCSTR) { return nullptr; }
HWND CreateWindowExA(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, void*) { return nullptr; }
BOOL ShowWindow(HWND, int) { return TRUE; }
BOOL UpdateWindow(HWND) { return TRUE; }
BOOL DestroyWindow(HWND) { return TRUE; }
BOOL PeekMessageA(MSG*, HWND, UINT, UINT, UINT) { return FALSE; }
BOOL TranslateMessage(const MSG*) { return TRUE; }
LRESULT DispatchMessageA(const MSG*) { return 0; }
LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) { return 0; }
void PostQuitMessage(int) {}
int ShowCursor(BOOL) { return 0; }
BOOL GetCursorPos(POINT* p) { p->x = p->y = 0; return TRUE; }
BOOL ScreenToClient(HWND, POINT*) { return TRUE; }
int MessageBoxA(HWND, LPCSTR, LPCSTR, UINT) { return 1; }
BOOL QueryPerformanceCounter(LARGE_INTEGER* c) { c->QuadPart = 0; return TRUE; }
BOOL QueryPerformanceFrequency(LARGE_INTEGER* f) { f->QuadPart = 1000000; return TRUE; }
DWORD timeGetTime() { return 0; }
HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) { return nullptr; }
BOOL DeleteObject(HGDIOBJ) { return TRUE; }

IDirect3D9* Direct3DCreate9(UINT) { return nullptr; }
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* o) { return o; }
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* o, float, float, float, float) { return o; }
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* o, const D3DXVECTOR3*, const D3DXVECTOR3*, const D3DXVECTOR3*) { return o; }
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* o, float, float, float) { return o; }
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* o, float, float, float) { return o; }
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* o, float, float, float) { return o; }
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* o, const D3DXMATRIX*, const D3DXMATRIX*) { return o; }
D3DXVECTOR3* D3DXVec3Unproject(D3DXVECTOR3* o, const D3DXVECTOR3*, const D3DVIEWPORT9*, const D3DXMATRIX*, const D3DXMATRIX*, const D3DXMATRIX*) { return o; }
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* o, const D3DXVECTOR3*, const D3DXMATRIX*) { return o; }
HRESULT D3DXCreateTextureFromResourceExA(IDirect3DDevice9*, HMODULE, LPCSTR, UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR, void*, void*, IDirect3DTexture9** t) { *t = nullptr; return E_FAIL; }
HRESULT D3DXCreateFont(IDirect3DDevice9*, HFONT, ID3DXFont** f) { *f = nullptr; return E_FAIL; }

const GUID GUID_SysKeyboard{1, 0, 0, {}};
const GUID GUID_SysMouse{2, 0, 0, {}};
const GUID IID_IDirectInput8A{3, 0, 0, {}};
const DIDATAFORMAT c_dfDIKeyboard{sizeof(DIDATAFORMAT), 256};
const DIDATAFORMAT c_dfDIMouse{sizeof(DIDATAFORMAT), sizeof(DIMOUSESTATE)};
HRESULT DirectInput8Create(HINSTANCE, DWORD, REFIID, void** out, void*) { *out = nullptr; return E_FAIL; }
const char* DikName(int) { return nullptr; }
int DikFromName(const char*) { return -1; }

static Automation* s_automation = nullptr;
void SetAutomation(Automation* a) { s_automation = a; }
Automation* GetAutomation() { return s_automation; }
PlatformFaults& GetPlatformFaults() { static PlatformFaults f; return f; }
const char* LastMessageBoxText() { return ""; }
int MessageBoxCount() { return 0; }

const BitmapResource* FindBitmapResource(int) { return nullptr; }
void AddBitmapResource(int, const uint8_t*, size_t) {}
void ClearAddedBitmapResources() {}

std::string Cp1250ToUtf8(const std::string& t) { return t; }
char32_t Cp1250ToCodePoint(unsigned char b) { return b; }
std::string Utf8ToCp1250(const std::string& t) { return t; }
