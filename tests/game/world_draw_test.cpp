// What the world puts on screen: which models, where, turned how, in which frame, and when blending
// is on; and the traffic around the lot by day, by night and at low detail.
#include <cmath>

#include "menu/resource_set.h"
#include "world_test_support.h"

namespace {

using Kind = WorldDrawEvent::Kind;

class WorldDraw : public WorldTest {
protected:
    static const std::vector<WorldDrawEvent>& events() { return DrawLog::events(); }
    static std::vector<int> kinds() {
        std::vector<int> out;
        for (const WorldDrawEvent& e : events()) out.push_back(e.kind == Kind::kModel ? e.slot : -1 - e.kind);
        return out;
    }
};

// -2 stands for blending on, -3 for blending off.
constexpr int kAlpha = -1 - WorldDrawEvent::kBlendAlpha;
constexpr int kOff = -1 - WorldDrawEvent::kBlendOff;

TEST_F(WorldDraw, ATwoCellBusIsWheelsInteriorThenTheBlendedBody) {
    drawBus(2, MakeVector(1.0f, 0.0f, 2.0f), 1.57f, 7.0f, 12.5f);
    EXPECT_EQ(kinds(), (std::vector<int>{5, 4, kAlpha, 2, kOff}));
    const auto& e = events();
    EXPECT_EQ(e[0].frame, 12.5f);  // wheels turn with the wheel phase
    EXPECT_EQ(e[1].frame, 0.0f);
    EXPECT_EQ(e[3].frame, 7.0f);  // the body shakes with the crash timer
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(e[i].position.x, 1.0f);
        EXPECT_EQ(e[i].position.z, 2.0f);
        EXPECT_EQ(e[i].rotation.y, 1.57f);
    }
}

TEST_F(WorldDraw, AnArticulatedBusIsInteriorThenTheBlendedBody) {
    drawBus(4, MakeVector(-3.0f, 0.0f, 4.0f), 3.14f, 31.0f, 2.5f);
    EXPECT_EQ(kinds(), (std::vector<int>{7, kAlpha, 6, kOff}));
    EXPECT_EQ(events()[0].frame, 2.5f);
    EXPECT_EQ(events()[2].frame, 31.0f);
    drawBus(5, MakeVector(0.0f, 0.0f, 0.0f), 0.0f, 0.0f, 0.0f);  // no such type: nothing
    EXPECT_EQ(events().size(), 4u);
}

TEST_F(WorldDraw, PropsStandShiftedAlongTheirYaw) {
    drawProp(22, MakeVector(-70.0f, 0.0f, 30.0f), 0.0f);
    ASSERT_EQ(kinds(), (std::vector<int>{15}));
    EXPECT_EQ(events()[0].position.x, -70.0f);
    EXPECT_EQ(events()[0].position.z, 31.5f);
    EXPECT_EQ(events()[0].rotation.y, 1.57f);

    const float wallYaw[4] = {0.0f, 1.57f, 3.14f, -1.57f};
    for (int kind = 21; kind <= 24; ++kind) {
        DrawLog::events().clear();
        drawProp(kind, MakeVector(0.0f, 0.0f, 0.0f), 0.0f);
        EXPECT_EQ(events().back().rotation.y, wallYaw[kind - 21]) << kind;
    }

    // A barrier given a yaw is only moved by it.
    DrawLog::events().clear();
    drawProp(20, MakeVector(10.0f, 0.0f, 10.0f), 1.57f);
    ASSERT_EQ(kinds(), (std::vector<int>{14}));
    EXPECT_FLOAT_EQ(events()[0].position.x, 11.5f);
    EXPECT_NEAR(events()[0].position.z, 10.0f, 0.01f);
    EXPECT_EQ(events()[0].rotation.y, 0.0f);

    // Cars and the trolleybus, each kind its own slot.
    DrawLog::events().clear();
    for (int kind = 5; kind <= 8; ++kind) drawProp(kind, MakeVector(0.0f, 0.0f, 0.0f), 3.14f);
    EXPECT_EQ(kinds(), (std::vector<int>{8, 9, 10, 11}));
    EXPECT_NEAR(events()[0].position.z, -1.5f, 1e-5f);
    EXPECT_EQ(events()[0].rotation.y, 3.14f);
}

TEST_F(WorldDraw, TheMarkersAreNotShifted) {
    drawProp(10, MakeVector(4.0f, 30.0f, -6.0f), 2.0f);
    ASSERT_EQ(kinds(), (std::vector<int>{12}));
    EXPECT_EQ(events()[0].position.x, 4.0f);
    EXPECT_EQ(events()[0].position.y, 30.0f);
    EXPECT_EQ(events()[0].position.z, -6.0f);
    EXPECT_EQ(events()[0].rotation.y, 2.0f);

    drawProp(11, MakeVector(-10.0f, 5.0f, -104.0f), 0.8f);
    ASSERT_EQ(events().size(), 2u);
    EXPECT_EQ(events()[1].slot, 13);
    EXPECT_EQ(events()[1].position.z, -104.0f);
    EXPECT_EQ(events()[1].rotation.y, 1.57f);
    EXPECT_EQ(events()[1].rotation.z, 1.57f);
}

TEST_F(WorldDraw, OneFrameDrawsBusesObstaclesMarkersThenTraffic) {
    gameSrand(3);
    g_world.setUpLevel(1);
    g_world.updateWorld();
    std::vector<int> slots = drawnSlots();
    // Six buses (articulated: interior and body; two-cell: wheels, interior, body), two barriers, the
    // two markers, then the traffic: three parked cars, two cars, the articulated bus and three
    // trolleybuses down the road.
    std::vector<int> expected;
    for (int i = 0; i < g_world.busCount; ++i) {
        const int type = g_world.buses[i].type;
        if (type == 4) {
            expected.insert(expected.end(), {7, 6});
        } else {
            expected.insert(expected.end(), {5, 4, type});
        }
    }
    expected.insert(expected.end(), {14, 14, 12, 13});
    expected.insert(expected.end(), {9, 10, 11, 10, 9, 7, 6, 8, 8, 8});
    EXPECT_EQ(slots, expected);

    // The selection marker above bus 0, bobbing with the phase.
    const float phase = 0.23f;
    EXPECT_EQ(g_world.markerPhase, phase);
    EXPECT_FLOAT_EQ(g_world.markerPosition.y, 4.0f * std::sin(phase) + 28.0f);
    EXPECT_EQ(g_world.markerPosition.x, g_world.buses[0].position.x);
}

TEST_F(WorldDraw, TrafficRunsAtTheOriginAndWraps) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    g_world.trafficPhase = -2.4f;  // 0 after this frame
    g_world.updateWorld();
    EXPECT_EQ(g_world.trafficPhase, 0.0f);
    // The six passing vehicles before their 1.5-unit shift along the yaw.
    std::vector<float> z;
    std::vector<float> yaw;
    const auto& e = events();
    for (size_t i = 0; i < e.size(); ++i) {
        if (e[i].kind != Kind::kModel) continue;
        if (e[i].position.x < 100.0f) continue;
        if (e[i].slot == 6) continue;  // the articulated bus's body repeats its interior
        z.push_back(e[i].position.z -
                    1.5f * static_cast<float>(std::cos(static_cast<double>(e[i].rotation.y))));
    }
    ASSERT_EQ(z.size(), 6u);
    const float expected[6] = {0.0f, 0.0f, -150.0f, -110.0f, -55.0f, 0.0f};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(z[i], expected[i], 1e-4f) << i;

    // From the set-up value it runs 396 frames to pass 750, then starts again at -650.
    g_world.trafficPhase = -200.0f;
    for (int f = 0; f < 395; ++f) g_world.updateWorld();
    EXPECT_GT(g_world.trafficPhase, 740.0f);
    g_world.updateWorld();
    EXPECT_EQ(g_world.trafficPhase, -650.0f);
}

TEST_F(WorldDraw, NoTrafficAtNightOrAtLowDetailButThePhaseRunsOn) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    const std::vector<int> withoutTraffic = {7, 6, 12, 13};
    g_world.buses[0].type = 4;
    isNight = 1;
    g_world.updateWorld();
    EXPECT_EQ(drawnSlots(), withoutTraffic);
    EXPECT_FLOAT_EQ(g_world.trafficPhase, -197.6f);
    DrawLog::events().clear();
    isNight = 0;
    SceneDetail = 2;
    g_world.updateWorld();
    EXPECT_EQ(drawnSlots(), withoutTraffic);
    EXPECT_FLOAT_EQ(g_world.trafficPhase, -195.2f);
    DrawLog::events().clear();
    SceneDetail = 1;
    g_world.updateWorld();
    EXPECT_EQ(drawnSlots().size(), withoutTraffic.size() + 10u);
}

}  // namespace
