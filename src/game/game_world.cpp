// Building the bus lot: the records, the grid placements, the walls and the 25 levels.
#include "game/game_world.h"

#include "engine/game_state.h"
#include "game/level_table.h"
#include "game/random.h"

namespace {

constexpr float kHalfWidth = 10.0f - 3.0f;  // a bus fills its cells less 3 units on each long side
constexpr float kEndGap = 0.8f;             // and 0.8 at each end

void setCorner(Vector3& corner, float x, float z) {
    corner.x = x;
    corner.z = z;
}

}  // namespace

void GameWorld::clearWorld() {
    trafficPhase = -200.0f;
    busCount = 0;
    selectedBus = 0;
    obstacleCount = 0;
}

void GameWorld::addBus(Vector3 position, float heading, float halfLength, int32_t type) {
    const int32_t n = busCount;
    Bus& bus = buses[n];
    bus.type = type;
    bus.position = position;
    bus.heading = heading;
    bus.speed = 0.0f;
    bus.crashTimer = 31.0f;
    bus.wheelPhase = 0.0f;
    bus.index = n;

    const float x = position.x;
    const float z = position.z;
    const float w = kHalfWidth;
    const float l = halfLength - kEndGap;
    Vector3* c = bus.corners;
    if (heading == kHeadingPlusZ) {
        setCorner(c[0], x - w, z + l);
        setCorner(c[1], x + w, z + l);
        setCorner(c[2], x - w, z - l);
        setCorner(c[3], x + w, z - l);
    } else if (heading == kHeadingMinusZ) {
        setCorner(c[0], x - w, z - l);
        setCorner(c[1], x + w, z - l);
        setCorner(c[2], x - w, z + l);
        setCorner(c[3], x + w, z + l);
    } else if (heading == kHeadingPlusX) {
        setCorner(c[0], x + l, z + w);
        setCorner(c[1], x + l, z - w);
        setCorner(c[2], x - l, z + w);
        setCorner(c[3], x - l, z - w);
    } else if (heading == kHeadingMinusX) {
        setCorner(c[0], x - l, z + w);
        setCorner(c[1], x - l, z - w);
        setCorner(c[2], x + l, z + w);
        setCorner(c[3], x + l, z - w);
    }
    busCount = n + 1;
}

void GameWorld::addObstacle(Vector3 position, float halfSize, int32_t kind) {
    const int32_t n = obstacleCount;
    Obstacle& obstacle = obstacles[n];
    obstacle.kind = kind;
    obstacle.position = position;
    obstacle.index = n;
    obstacle.minCorner.x = position.x - halfSize;
    obstacle.minCorner.z = position.z - halfSize;
    obstacle.maxCorner.x = position.x + halfSize;
    obstacle.maxCorner.z = position.z + halfSize;
    obstacleCount = n + 1;
}

void GameWorld::placeBus(int32_t column, int32_t row, int32_t width, int32_t height) {
    // Both jitter draws happen on every call, so the sequence of draws depends only on the level.
    const float j1 = randomBetween(-0.1f, 0.1f);
    const float j2 = randomBetween(-0.1f, 0.1f);
    const float cellX = static_cast<float>(20 * column);
    const float cellZ = static_cast<float>(20 * row);
    if (width == 1 && height == 2) {
        addBus(MakeVector(cellX - 70.0f + j1, 0.0f, cellZ - 60.0f + j2), kHeadingMinusZ, 20.0f,
               gameRand() % 4);
    } else if (width == 1 && height == 3) {
        addBus(MakeVector(cellX - 70.0f + j1, 0.0f, cellZ - 50.0f + j2), kHeadingMinusZ, 30.0f, 4);
    } else if (width == 2 && height == 1) {
        addBus(MakeVector(cellX - 60.0f + j1, 0.0f, cellZ - 70.0f + j2), kHeadingPlusX, 20.0f,
               gameRand() % 4);
    } else if (width == 3 && height == 1) {
        addBus(MakeVector(cellX - 50.0f + j1, 0.0f, cellZ - 70.0f + j2), kHeadingPlusX, 30.0f, 4);
    }
}

void GameWorld::placeBarrier(int32_t column, int32_t row) {
    addObstacle(MakeVector(static_cast<float>(20 * column - 70), 0.0f, static_cast<float>(20 * row - 70)),
                10.0f, 20);
}

void GameWorld::addBorderOpenBottom() {
    for (const WallPiece& piece : kWallOpenBottom)
        addObstacle(MakeVector(piece.x, 0.0f, piece.z), 10.0f, piece.kind);
}

void GameWorld::addBorderWithExit() {
    for (const WallPiece& piece : kWallWithExit)
        addObstacle(MakeVector(piece.x, 0.0f, piece.z), 10.0f, piece.kind);
}

void GameWorld::setUpLevel(int32_t level) {
    clearWorld();
    if (level < 1 || level > kLevelCount) return;
    const LevelSpec& spec = kLevels[level - 1];

    if (spec.light == LevelLight::Day) {
        isNight = 0;
    } else if (spec.light == LevelLight::Night) {
        isNight = 1;
    }

    if (spec.exactPieces) {
        for (const ExactBus& bus : kExactLevelBuses) {
            addBus(MakeVector(bus.x, 0.0f, bus.z), bus.heading, bus.halfLength, bus.type);
        }
        for (const ExactBarrier& barrier : kExactLevelBarriers) {
            addObstacle(MakeVector(barrier.x, 0.0f, barrier.z), 10.0f, 20);
        }
    } else {
        for (int i = 0; i < spec.busCount; ++i) {
            const BusPlacement& p = spec.buses[i];
            placeBus(p.column, p.row, p.width, p.height);
        }
        for (int i = 0; i < spec.barrierCount; ++i)
            placeBarrier(spec.barriers[i].column, spec.barriers[i].row);
    }

    if (spec.wall == LevelWall::ExitGap) {
        addBorderWithExit();
    } else if (spec.wall == LevelWall::OpenBottom) {
        addBorderOpenBottom();
    }
}
