// The game's simulation step: driving, crashes, the player's picking and pushing, the end of a
// level, and the marker and traffic animations. Each frame moves, checks and draws the buses in one
// pass, so a bus sees the earlier buses where they are now and the later ones where they were.
#include <cmath>

#include "engine/camera.h"
#include "engine/config.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "engine/input.h"
#include "game/game_world.h"
#include "game/random.h"
#include "game/world_draw.h"
#include "menu/menu.h"
#include "menu/resource_set.h"
#include "platform/dinput.h"
#include "render/helpers.h"

void (*g_worldSoundHook)(int32_t slot) = nullptr;

namespace {

constexpr float kLotEdge = 80.0f;
constexpr float kExitLine = -75.0f;

void playWorldSound(int32_t slot) {
    if (g_worldSoundHook != nullptr) g_worldSoundHook(slot);
    g_resources.sounds[slot].Play(0);
}

bool outsideLot(float v) {
    return v > kLotEdge || v < -kLotEdge;
}

// Parked cars beyond the exit and the traffic on the road to the +x side of the lot.
void drawTraffic(float t) {
    drawProp(6, MakeVector(30.0f, 0.0f, -109.0f), 0.6f);
    drawProp(7, MakeVector(15.0f, 0.0f, -104.0f), 3.8f);
    drawProp(8, MakeVector(-40.0f, 0.0f, -109.0f), 0.6f);
    drawProp(7, MakeVector(125.0f, 0.0f, -t), 3.14f);
    drawProp(6, MakeVector(212.0f, 0.0f, 1.3f * t), 0.0f);
    drawProp(4, MakeVector(145.0f, 0.0f, -0.7f * t - 150.0f), 3.14f);
    drawProp(5, MakeVector(170.0f, 0.0f, -0.8f * t - 110.0f), 3.14f);
    drawProp(5, MakeVector(170.0f, 0.0f, -0.8f * t - 55.0f), 3.14f);
    drawProp(5, MakeVector(190.0f, 0.0f, 0.5f * t), 0.0f);
}

}  // namespace

void GameWorld::accelerateSelected() {
    buses[selectedBus].speed += FrameStep(0.21f);
}

void GameWorld::brakeSelected() {
    buses[selectedBus].speed -= FrameStep(0.21f);
}

void GameWorld::selectNextBus() {
    // ">=" rather than "==": with an empty world the selection stays at 0 instead of running off.
    selectedBus = selectedBus + 1;
    if (selectedBus >= busCount) selectedBus = 0;
}

void GameWorld::moveBus(int32_t i) {
    Bus& bus = buses[i];
    const float d = FrameStep(bus.speed);
    const float sa = static_cast<float>(std::sin(static_cast<double>(bus.heading)));
    const float ca = static_cast<float>(std::cos(static_cast<double>(bus.heading)));
    const float dx = d * sa;
    const float dz = d * ca;
    bus.position.x += dx;
    bus.position.z += dz;
    for (Vector3& corner : bus.corners) {
        corner.x += dx;
        corner.z += dz;
    }
}

bool GameWorld::pointInBus(Vector3 p, const Bus& bus) {
    const Vector3* c = bus.corners;
    return (c[2].x < p.x && p.x < c[1].x && c[2].z < p.z && p.z < c[1].z) ||
           (c[3].x < p.x && p.x < c[0].x && c[3].z < p.z && p.z < c[0].z) ||
           (c[0].x < p.x && p.x < c[3].x && c[0].z < p.z && p.z < c[3].z) ||
           (c[1].x < p.x && p.x < c[2].x && c[1].z < p.z && p.z < c[2].z);
}

bool GameWorld::pointsInObstacle(Vector3 p, Vector3 q, const Obstacle& o) {
    const auto inside = [&o](Vector3 v) {
        return o.minCorner.x < v.x && v.x < o.maxCorner.x && o.minCorner.z < v.z && v.z < o.maxCorner.z;
    };
    return inside(p) || inside(q);
}

bool GameWorld::busHitsBus(const Bus& a, const Bus& b) {
    // A bus this slow never runs into another bus.
    if (a.speed > -0.1f && a.speed < 0.1f) return false;
    Vector3 p{};
    Vector3 q{};
    if (a.speed > 0.0f) {
        p = a.corners[0];
        q = a.corners[1];
    }
    if (a.speed < 0.0f) {
        p = a.corners[2];
        q = a.corners[3];
    }
    return pointInBus(q, b) || pointInBus(p, b);
}

bool GameWorld::busHitsSomething(Bus& bus) {
    bool crash = false;

    // The leading corners; at speed exactly 0 the rear ones.
    Vector3 p{};
    Vector3 q{};
    if (bus.speed >= 0.0f) {
        p = bus.corners[0];
        q = bus.corners[1];
    }
    if (bus.speed <= 0.0f) {
        p = bus.corners[2];
        q = bus.corners[3];
    }

    // The edges of the lot; bus 0 alone may leave across the bottom edge.
    if (outsideLot(q.x) || outsideLot(p.x) || outsideLot(q.z) || outsideLot(p.z)) {
        if (bus.index != 0 || !(p.z < -kLotEdge || q.z < -kLotEdge)) crash = true;
    }

    for (int32_t j = 0; j < busCount; ++j) {
        Bus& other = buses[j];
        if (other.index == bus.index) continue;
        if (busHitsBus(bus, other)) {
            crash = true;
            // The bus that was hit shakes too.
            if (other.crashTimer >= 20.0f) other.crashTimer = 0.0f;
        }
    }

    for (int32_t k = 0; k < obstacleCount; ++k) {
        if (pointsInObstacle(p, q, obstacles[k])) crash = true;
    }
    return crash;
}

Vector3 GameWorld::cursorGroundPoint() {
    const Vector3 eye = g_camera.eye;
    const Vector3 u = UnprojectScreenPoint(g_input.mousePos.x, g_input.mousePos.y);
    const Vector3 d = VecSubtract(u, eye);
    const float t = (10.0f - eye.y) / d.y;
    return MakeVector(eye.x + t * d.x, eye.y + t * d.y, eye.z + t * d.z);
}

void GameWorld::updateWorld() {
    // 1. Move, crash and draw every bus in turn.
    for (int32_t i = 0; i < busCount; ++i) {
        Bus& bus = buses[i];
        const float s = FrameStep(0.21f);
        if (bus.speed < -s || bus.speed > s) moveBus(i);

        if (bus.crashTimer < 20.0f) bus.crashTimer += FrameStep(2.0f);

        if (busHitsSomething(bus)) {
            // Thrown back by 1.25 times this frame's step, then on backwards at a quarter of the speed.
            bus.speed = bus.speed * -1.25f;
            moveBus(i);
            bus.speed = bus.speed * 0.2f;
            if (bus.crashTimer >= 20.0f && crashArmed == 1) {
                playWorldSound(gameRand() % 2 == 0 ? kSoundCrash1 : kSoundCrash2);
                bus.crashTimer = 0.0f;
                crashArmed = 0;
            }
        }

        bus.wheelPhase += FrameStep(2.0f * bus.speed);
        if (bus.wheelPhase > 30.0f) bus.wheelPhase -= 30.0f;
        if (bus.wheelPhase < 2.0f) bus.wheelPhase += 30.0f;

        if (bus.speed > 0.0f) bus.speed -= FrameStep(0.07f);
        if (bus.speed < 0.0f) bus.speed += FrameStep(0.035f);

        drawBus(bus.type, bus.position, bus.heading, bus.crashTimer, bus.wheelPhase);
    }

    // 2. Barriers and wall pieces.
    for (int32_t k = 0; k < obstacleCount; ++k) drawProp(obstacles[k].kind, obstacles[k].position, 0.0f);

    // 3. The left button picks the bus under the cursor.
    if (g_input.mouseDown[0] == 1) {
        const Vector3 point = cursorGroundPoint();
        for (int32_t i = 0; i < busCount; ++i) {
            if (pointInBus(point, buses[i])) selectedBus = buses[i].index;
        }
    }

    // 4. The right button urges the selected bus along its axis towards the cursor.
    if (g_input.mouseDown[1] == 1) {
        crashArmed = 1;
        const Vector3 point = cursorGroundPoint();
        const Bus& bus = buses[selectedBus];
        const float dx = point.x - bus.position.x;
        const float dz = point.z - bus.position.z;
        const float heading = bus.heading;
        if (heading == kHeadingMinusZ) {
            if (dz < 0.0f) accelerateSelected();
            if (dz > 0.0f) brakeSelected();
        } else if (heading == kHeadingPlusZ) {
            if (dz > 0.0f) accelerateSelected();
            if (dz < 0.0f) brakeSelected();
        } else if (heading == kHeadingPlusX) {
            if (dx > 0.0f) accelerateSelected();
            if (dx < 0.0f) brakeSelected();
        } else if (heading == kHeadingMinusX) {
            if (dx < 0.0f) accelerateSelected();
            if (dx > 0.0f) brakeSelected();
        }
    }

    // 5. The level is done once the front of bus 0 is within 5 units of the bottom edge.
    const Bus& first = buses[0];
    const bool cheat =
        g_input.keyDown[DIK_Q] == 1 && g_input.keyDown[DIK_Z] == 1 && g_input.keyDown[DIK_X] == 1;
    if (first.corners[0].z < kExitLine || first.corners[2].z < kExitLine || cheat) {
        if (g_menu.fadingToNextLevel == 0) playWorldSound(kSoundComplete);
        g_menu.fadingToNextLevel = 1;
    }

    // 6. The selection marker above the selected bus and the exit marker beyond the exit.
    markerPhase += FrameStep(0.23f);
    markerPosition = buses[selectedBus].position;
    const double phase = markerPhase;
    markerPosition.y = static_cast<float>(markerPosition.y + 4.0 * std::sin(phase) + 28.0);
    drawProp(10, markerPosition, markerPhase);
    drawProp(11, MakeVector(-10.0f, 5.0f, static_cast<float>(4.0 * std::cos(phase) - 108.0)), 0.0f);

    // 7. Traffic; the phase runs on even when nothing is drawn.
    trafficPhase += FrameStep(2.4f);
    if (trafficPhase > 750.0f) trafficPhase = -650.0f;
    if (SceneDetail != 2 && isNight == 0) drawTraffic(trafficPhase);
}
