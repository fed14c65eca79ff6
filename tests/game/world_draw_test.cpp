// What the world puts on screen: which models, where, turned how, in which frame, and when blending
// is on; and the traffic around the lot by day, by night and at low detail.
#include <cmath>
#include <tuple>

#include "menu/resource_set.h"
#include "world_test_support.h"

namespace {

// Model slots as drawn, with -2 for blending on and -3 for blending off.
constexpr int kAlpha = -1 - WorldDrawEvent::kBlendAlpha, kOff = -1 - WorldDrawEvent::kBlendOff;
std::vector<int> kinds() {
    std::vector<int> out;
    for (const WorldDrawEvent& e : g_drawn)
        out.push_back(e.kind == WorldDrawEvent::kModel ? e.slot : -1 - e.kind);
    return out;
}

using WorldDraw = WorldTest;

TEST_F(WorldDraw, BusesAreWheelsAndInteriorThenTheBlendedBody) {
    // The wheels turn with the wheel phase, the body shakes with the crash timer; type 5 is no bus.
    using Case = std::tuple<int, float, float, float, std::vector<int>, std::vector<float>>;
    const Case cases[] = {{2, 1.57f, 7.0f, 12.5f, {5, 4, kAlpha, 2, kOff}, {12.5f, 0.0f, 7.0f}},
                          {4, 3.14f, 31.0f, 2.5f, {7, kAlpha, 6, kOff}, {2.5f, 31.0f}},
                          {5, 0.0f, 0.0f, 0.0f, {}, {}}};
    for (const auto& [type, heading, crashTimer, wheelPhase, expectedKinds, expectedFrames] : cases) {
        g_drawn.clear(), drawBus(type, MakeVector(1.0f, 0.0f, 2.0f), heading, crashTimer, wheelPhase);
        EXPECT_EQ(kinds(), expectedKinds) << type;
        std::vector<float> frames;
        for (const WorldDrawEvent& e : g_drawn) {
            if (e.kind != WorldDrawEvent::kModel) continue;
            frames.push_back(e.frame);
            EXPECT_TRUE(e.position.x == 1.0f && e.position.z == 2.0f && e.rotation.y == heading) << type;
        }
        EXPECT_EQ(frames, expectedFrames) << type;
    }
}

TEST_F(WorldDraw, PropsStandShiftedAlongTheirYawButTheMarkersDoNot) {
    // Kind, place and yaw given; slot, place and yaw drawn. A wall turns by its kind, a barrier only
    // moves by its yaw; the other cars' slots show in the traffic's draw order.
    using Case = std::tuple<int, Vector3, float, int, Vector3, float>;
    const Case cases[] = {
        {22, {-70.0f, 0.0f, 30.0f}, 0.0f, 15, {-70.0f, 0.0f, 31.5f}, 1.57f},
        {20, {10.0f, 0.0f, 10.0f}, 1.57f, 14, {11.5f, 0.0f, 10.0f}, 0.0f},
        {5, {0.0f, 0.0f, 0.0f}, 3.14f, 8, {0.0f, 0.0f, -1.5f}, 3.14f},
        {10, {4.0f, 30.0f, -6.0f}, 2.0f, 12, {4.0f, 30.0f, -6.0f}, 2.0f},
        {11, {-10.0f, 5.0f, -104.0f}, 0.8f, 13, {-10.0f, 5.0f, -104.0f}, 1.57f},
    };
    for (const auto& [kind, at, yaw, slot, drawnAt, drawnYaw] : cases) {
        g_drawn.clear(), drawProp(kind, at, yaw);
        ASSERT_EQ(kinds(), std::vector<int>{slot}) << kind;
        const WorldDrawEvent& e = g_drawn[0];
        // The exit arrow lies flat.
        EXPECT_TRUE(std::fabs(e.position.x - drawnAt.x) < 0.01f && e.position.y == drawnAt.y &&
                    std::fabs(e.position.z - drawnAt.z) < 0.01f && e.rotation.y == drawnYaw &&
                    e.rotation.z == (kind == 11 ? 1.57f : 0.0f))
            << kind;
    }
    // Kinds without a model draw nothing; a parked articulated bus: interior and wheels, then its blended
    // body, both where the prop stands.
    g_drawn.clear(), drawProp(9, {}, 0.0f), drawProp(25, {}, 0.0f), drawProp(4, {0.0f, 0.0f, 0.0f}, 0.0f);
    ASSERT_EQ(kinds(), (std::vector<int>{7, kAlpha, 6, kOff}));
    EXPECT_TRUE(g_drawn[0].position.z == 1.5f && g_drawn[2].position.z == 1.5f);
}

TEST_F(WorldDraw, OneFrameDrawsBusesObstaclesMarkersThenTrafficButNoTrafficAtNightOrLowDetailAndItWraps) {
    gameSrand(3), g_world.setUpLevel(1);
    // Six buses (articulated: interior and body; two-cell: wheels, interior, body), two barriers, the
    // two markers, then the traffic: three parked cars, two cars, the articulated bus and three
    // trolleybuses down the road.
    std::vector<int> expected;
    for (int i = 0; i < g_world.busCount; ++i) {
        const int t = g_world.buses[i].type;
        const std::vector<int> models = t == 4 ? std::vector<int>{7, 6} : std::vector<int>{5, 4, t};
        expected.insert(expected.end(), models.begin(), models.end());
    }
    expected.insert(expected.end(), {14, 14, 12, 13});
    const std::vector<int> traffic = {9, 10, 11, 10, 9, 7, 6, 8, 8, 8};
    // By night and at the lowest detail the traffic is not drawn, but its phase runs on.
    for (const auto& [night, detail] :
         {std::pair{0u, 1}, std::pair{1u, 0}, std::pair{0u, 2}, std::pair{0u, 0}}) {
        g_drawn.clear();
        isNight = night;
        SceneDetail = detail;
        const float phase = g_world.trafficPhase;
        g_world.updateWorld();
        std::vector<int> slots = expected;
        if (!night && detail < 2) slots.insert(slots.end(), traffic.begin(), traffic.end());
        std::vector<int> drawn = kinds();
        std::erase_if(drawn, [](int slot) { return slot < 0; });  // the models only
        EXPECT_EQ(drawn, slots) << night << " " << detail;
        EXPECT_FLOAT_EQ(g_world.trafficPhase, phase + 2.4f);
    }
    // The selection marker above bus 0, bobbing with the phase.
    EXPECT_FLOAT_EQ(g_world.markerPhase, 4 * 0.23f);
    EXPECT_TRUE(std::fabs(g_world.markerPosition.y - 4.0f * std::sin(4 * 0.23f) - 28.0f) < 1e-4f &&
                g_world.markerPosition.x == g_world.buses[0].position.x);
    // From the set-up value -200 the traffic runs 396 frames to pass 750, then starts again at -650.
    run(391);
    const float before = g_world.trafficPhase;
    g_world.updateWorld();
    EXPECT_TRUE(before > 740.0f && g_world.trafficPhase == -650.0f) << before;
}

}  // namespace
