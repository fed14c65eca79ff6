// Puts the game world on screen through the resource set's models.
#pragma once
#include <cstdint>
#include "engine/types.h"

void drawBus(int32_t type, Vector3 position, float yaw, float crashTimer, float wheelPhase);
void drawProp(int32_t kind, Vector3 position, float yaw);
