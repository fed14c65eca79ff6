// Placeholder bodies until the menus land; this file is deleted then.
#include "menu/menu.h"
#include "menu/resource_set.h"

void Menu::Setup() { active = 1; introScreen1 = 1; }
void Menu::RunScreen() {}
void Menu::UpdateFade() {}
void Menu::UpdateLevelDialog() {}
void ResourceSet::Load() {}
void ShowLoadingScreen() {}
