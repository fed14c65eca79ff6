// Two values of the running game that several layers read: day or night, and the level number.
#pragma once
#include <cstdint>

// 0 day, 1 night; set per level by setUpLevel; read by the lights, the scene and the menus.
extern uint32_t isNight;
// 1 to 25 while playing, 26 after the last level; owned by the menus.
extern int32_t currentLevel;
