// Every animated model and sound of the game, loaded once at start-up.
#pragma once
#include "engine/sound.h"
#include "render/model.h"

enum SoundSlot {
    kSoundCrash1 = 0,
    kSoundCrash2 = 1,
    kSoundClick = 2,
    kSoundStart = 3,
    kSoundComplete = 4,
    kSoundNightLoop = 5,
    kSoundDayLoop = 6,
    kSoundOutro = 7,
};

class ResourceSet {
public:
    Model models[16];
    Sound sounds[8];

    void Load();
};

extern ResourceSet g_resources;

void ShowLoadingScreen();
