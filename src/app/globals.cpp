// Every global object, in construction order. They are destroyed in reverse order after WinMain
// returns: small font, cursor panel, menu, resource set (sounds, then models), light set.
#include "app/globals.h"
#include "engine/camera.h"
#include "engine/config.h"
#include "engine/engine.h"
#include "engine/game_state.h"
#include "engine/input.h"
#include "engine/light_set.h"
#include "game/game_world.h"
#include "menu/menu.h"
#include "menu/resource_set.h"
#include "render/scene.h"

// Plain values first: they need no construction.
int32_t SceneDetail = 0;
int32_t ScreenWidth = 0;
int32_t ScreenHeight = 0;
int32_t ScreenFormat = 0;
int32_t SoundEnabled = 0;
uint32_t isNight = 0;
int32_t currentLevel = 0;
Engine g_engine;
IDirect3D9* g_pD3D = nullptr;
IDirect3DDevice9* g_pDevice = nullptr;
HWND g_hWnd = nullptr;
HINSTANCE g_hInstance = nullptr;
D3DXMATRIX g_matView{};
GameWorld g_world{};

Camera g_camera;
Input g_input;
LightSet g_lightSet;
ResourceSet g_resources;
Menu g_menu;
Scene g_scene;
Panel g_cursorPanel;
TextFont g_smallFont;
