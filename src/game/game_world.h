// The bus lot: buses, barriers and walls on an 8 x 8 grid, the 25 levels, and the per-frame update.
#pragma once
#include <cstdint>
#include "engine/types.h"

// Headings: the literal values, not pi and pi/2; every test on a heading is an exact comparison.
constexpr float kHeadingPlusZ = 0.0f;
constexpr float kHeadingMinusZ = 3.14f;
constexpr float kHeadingPlusX = 1.57f;
constexpr float kHeadingMinusX = -1.57f;

struct Bus {
    Vector3 position;
    Vector3 corners[4];
    int32_t index;
    float heading;
    float speed;
    float crashTimer;
    float wheelPhase;
    int32_t type;
};

struct Obstacle {
    Vector3 position;
    Vector3 minCorner;
    Vector3 maxCorner;
    int32_t index;
    int32_t kind;
};

constexpr int kMaxBuses = 60;
constexpr int kMaxObstacles = 60;

class GameWorld {
public:
    Bus buses[kMaxBuses];
    int32_t busCount;
    int32_t selectedBus;
    Obstacle obstacles[kMaxObstacles];
    int32_t obstacleCount;
    uint8_t crashArmed;
    float markerPhase;
    Vector3 markerPosition;
    float trafficPhase;

    void clearWorld();
    void addBus(Vector3 position, float heading, float halfLength, int32_t type);
    void addObstacle(Vector3 position, float halfSize, int32_t kind);
    void placeBus(int32_t column, int32_t row, int32_t width, int32_t height);
    void placeBarrier(int32_t column, int32_t row);
    void addBorderOpenBottom();
    void addBorderWithExit();
    void setUpLevel(int32_t level);

    void updateWorld();
    void accelerateSelected();
    void brakeSelected();
    void selectNextBus();
    void moveBus(int32_t i);
    bool busHitsSomething(Bus& bus);
    bool busHitsBus(const Bus& a, const Bus& b);
    bool pointInBus(Vector3 p, const Bus& bus);
    bool pointsInObstacle(Vector3 p, Vector3 q, const Obstacle& obstacle);
    Vector3 cursorGroundPoint();
};

extern GameWorld g_world;

// When set, told the resource slot of every sound the world plays (crashes, completion), whether or
// not the sound itself is loaded.
extern void (*g_worldSoundHook)(int32_t slot);

// Free forms used by the menus: build a level into g_world.
inline void setUpLevel(int32_t level) {
    g_world.setUpLevel(level);
}
