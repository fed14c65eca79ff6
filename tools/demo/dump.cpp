#include "demo/dump.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/camera.h"
#include "engine/frame_timer.h"
#include "engine/game_state.h"
#include "game/game_world.h"
#include "menu/menu.h"

namespace {

using nlohmann::json;

// Floats with 9 significant digits: enough to tell every float apart, no noise beyond that.
json Num(float v) {
    if (!std::isfinite(v)) return nullptr;
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return std::strtod(text, nullptr);
}

json Vec(const Vector3& v) { return json::array({Num(v.x), Num(v.y), Num(v.z)}); }

json World() {
    const GameWorld& w = g_world;
    json buses = json::array();
    for (int i = 0; i < w.busCount && i < kMaxBuses; ++i) {
        const Bus& b = w.buses[i];
        json corners = json::array();
        for (const Vector3& c : b.corners) corners.push_back(json::array({Num(c.x), Num(c.z)}));
        buses.push_back({{"index", b.index},
                         {"type", b.type},
                         {"heading", Num(b.heading)},
                         {"speed", Num(b.speed)},
                         {"crashTimer", Num(b.crashTimer)},
                         {"wheelPhase", Num(b.wheelPhase)},
                         {"position", Vec(b.position)},
                         {"corners", corners}});
    }
    json obstacles = json::array();
    for (int i = 0; i < w.obstacleCount && i < kMaxObstacles; ++i) {
        const Obstacle& o = w.obstacles[i];
        obstacles.push_back({{"index", o.index}, {"kind", o.kind}, {"position", Vec(o.position)}});
    }
    return {{"busCount", w.busCount},
            {"selectedBus", w.selectedBus},
            {"obstacleCount", w.obstacleCount},
            {"crashArmed", w.crashArmed},
            {"markerPhase", Num(w.markerPhase)},
            {"trafficPhase", Num(w.trafficPhase)},
            {"buses", buses},
            {"obstacles", obstacles}};
}

}  // namespace

json DumpState(long frame, const std::vector<SoundEvent>& played, const std::vector<std::string>& looping) {
    const Menu& m = g_menu;
    json playedJson = json::array();
    for (const SoundEvent& e : played) playedJson.push_back({{"frame", e.frame}, {"file", e.file}, {"loop", e.loop}});
    return {{"frame", frame},
            {"fps", Num(g_fps)},
            {"active", m.active},
            {"screens",
             {{"mainMenu", m.mainMenuScreen},
              {"credits", m.creditsScreen},
              {"password", m.passwordScreen},
              {"options", m.optionsScreen},
              {"intro1", m.introScreen1},
              {"intro2", m.introScreen2},
              {"intro3", m.introScreen3},
              {"closing", m.closingScreen}}},
            {"introTimer", Num(m.introTimer)},
            {"fadeValue", Num(m.fadeValue)},
            {"fadingIn", m.fadingIn},
            {"fadingToMenu", m.fadingToMenu},
            {"fadingToNextLevel", m.fadingToNextLevel},
            {"levelDialogShown", m.levelDialogShown},
            {"messageShown", m.messageShown},
            {"messageKind", m.messageKind},
            {"messageTimer", Num(m.messageTimer)},
            {"hoveredButton", m.hoveredButton},
            {"optionsHover", m.optionsHover},
            {"resolutionIndex", m.resolutionIndex},
            {"sceneDetail", m.sceneDetail},
            {"soundEnabled", m.soundEnabled},
            {"passwordInput", std::string(m.passwordInput, strnlen(m.passwordInput, sizeof m.passwordInput))},
            {"cursor", m.cursor},
            {"currentLevel", currentLevel},
            {"isNight", isNight},
            {"camera",
             {{"yaw", Num(g_camera.rotation.y)}, {"distance", Num(g_camera.distance)}, {"eye", Vec(g_camera.eye)}}},
            {"world", World()},
            {"sounds", {{"played", playedJson}, {"looping", looping}}}};
}
