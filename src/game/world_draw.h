// Puts the game world on screen through the resource set's models.
#pragma once
#include <cstdint>
#include "engine/types.h"

void drawBus(int32_t type, Vector3 position, float yaw, float crashTimer, float wheelPhase);
void drawProp(int32_t kind, Vector3 position, float yaw);

// What the world drawing does, one step at a time: a model drawn from a resource slot (with the
// position, rotation and frame it has at that moment) or a change of blending.
struct WorldDrawEvent {
    enum Kind { kModel, kBlendAlpha, kBlendOff };
    Kind kind;
    int32_t slot;
    Vector3 position;
    Vector3 rotation;
    float frame;
};

// When set, every step goes to this hook instead of the device (tests and tools watch the drawing
// without a graphics device). The models' own fields are still set as usual.
extern void (*g_worldDrawHook)(const WorldDrawEvent& event);
