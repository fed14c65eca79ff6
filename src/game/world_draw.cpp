// Buses assembled from their body, interior and wheel models, and every other model of the lot:
// barriers, wall pieces, the two markers, the parked cars and the passing traffic.
#include "game/world_draw.h"

#include <cmath>

#include "engine/engine.h"
#include "menu/resource_set.h"

void (*g_worldDrawHook)(const WorldDrawEvent& event) = nullptr;

namespace {

// Wall pieces turned to face the inside of the lot from the bottom, left, top and right sides.
constexpr float kWallYaw[4] = {0.0f, 1.57f, 3.14f, -1.57f};

Model& slot(int32_t s) {
    return g_resources.models[s];
}

void draw(int32_t s) {
    const Model& model = slot(s);
    if (g_worldDrawHook != nullptr) {
        g_worldDrawHook({WorldDrawEvent::kModel, s, model.position, model.rotation, model.frame});
        return;
    }
    slot(s).Draw();
}

void blendAlpha() {
    if (g_worldDrawHook != nullptr) {
        g_worldDrawHook({WorldDrawEvent::kBlendAlpha, -1, {}, {}, 0.0f});
        return;
    }
    g_engine.BlendAlpha();
}

void blendOff() {
    if (g_worldDrawHook != nullptr) {
        g_worldDrawHook({WorldDrawEvent::kBlendOff, -1, {}, {}, 0.0f});
        return;
    }
    g_engine.BlendOff();
}

void place(int32_t s, Vector3 position, float yaw) {
    Model& model = slot(s);
    model.position = position;
    model.rotation.y = yaw;
}

void placeWithFrame(int32_t s, Vector3 position, float yaw, float frame) {
    place(s, position, yaw);
    slot(s).frame = frame;
}

}  // namespace

void drawBus(int32_t type, Vector3 position, float yaw, float crashTimer, float wheelPhase) {
    if (type >= 0 && type <= 3) {
        placeWithFrame(5, position, yaw, wheelPhase);
        draw(5);
        placeWithFrame(4, position, yaw, 0.0f);
        draw(4);
        blendAlpha();
        placeWithFrame(type, position, yaw, crashTimer);
        draw(type);
        blendOff();
    } else if (type == 4) {
        placeWithFrame(7, position, yaw, wheelPhase);
        draw(7);
        blendAlpha();
        placeWithFrame(6, position, yaw, crashTimer);
        draw(6);
        blendOff();
    }
}

void drawProp(int32_t kind, Vector3 position, float yaw) {
    // Props stand 1.5 units along their yaw from the point given.
    const Vector3 shifted{static_cast<float>(position.x + 1.5 * std::sin(static_cast<double>(yaw))),
                          position.y,
                          static_cast<float>(position.z + 1.5 * std::cos(static_cast<double>(yaw)))};
    if (kind == 4) {
        place(7, shifted, yaw);
        draw(7);
        blendAlpha();
        placeWithFrame(6, shifted, yaw, 0.0f);
        draw(6);
        blendOff();
    } else if (kind >= 5 && kind <= 8) {
        place(kind + 3, shifted, yaw);
        draw(kind + 3);
    } else if (kind == 10) {
        place(12, position, yaw);
        draw(12);
    } else if (kind == 11) {
        place(13, position, 1.57f);
        slot(13).rotation.z = 1.57f;
        draw(13);
    } else if (kind == 20) {
        place(14, shifted, 0.0f);
        draw(14);
    } else if (kind >= 21 && kind <= 24) {
        place(15, shifted, kWallYaw[kind - 21]);
        draw(15);
    }
}
