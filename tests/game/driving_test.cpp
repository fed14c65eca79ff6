// Driving, crashes and the end of a level, as a player feels them: when a pushed bus starts to move,
// how far a crash throws it back, which bus shakes, where the exit lets bus 0 through.
#include <array>
#include <cmath>
#include <tuple>

#include "menu/resource_set.h"
#include "world_test_support.h"

namespace {

using Driving = WorldTest;

TEST_F(Driving, AMousePushShowsInTheFrameAfterTheNextTheUpKeyAFrameEarlier) {
    Bus& bus = addBus(-10.0f, 0.0f);
    g_input.mouseDown[1] = 1;
    aimCursorAt(-10.0f, -60.0f);  // ahead of the bus
    g_world.updateWorld();
    EXPECT_TRUE(bus.speed == 0.21f && g_world.crashArmed == 1);
    g_world.updateWorld();  // 0.21 is not faster than 0.21: no motion, friction, then the push
    const float expected = 0.21f - 0.07f + 0.21f;
    EXPECT_TRUE(bus.position.z == 0.0f && bus.speed == expected);
    g_world.updateWorld();
    EXPECT_EQ(bus.position.z, expected * static_cast<float>(std::cos(static_cast<double>(3.14f))));
    EXPECT_FLOAT_EQ(bus.speed, 0.49f);  // gaining 0.14 a frame while the push lasts

    g_world.clearWorld();
    g_input.mouseDown[1] = 0;
    Bus& keyed = addBus(-10.0f, 0.0f);
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(keyed.position.z, 0.0f);
        g_world.accelerateSelected();  // as the game's key handling does before the world runs
        g_world.crashArmed = 1;
        g_world.updateWorld();
    }
    EXPECT_LT(keyed.position.z, -0.3f);
}

TEST_F(Driving, ACrashThrowsTheBusBackShakesBothAndSoundsOnlyWhenArmedAndNotYetShaking) {
    // Bus 0 heads +x, its front corners 0.2 short of the parked bus 1, which is hit: it shakes (its
    // timer restarted and ran once in its own turn) but neither moves nor crashes, having no speed.
    // Not armed: silent, no shake of its own. Still shaking from an earlier crash: silent, both timers
    // run on. Armed and at rest (a timer that has reached 20): one of the two crash sounds, drawn from the
    // generator, and a shake.
    using Case = std::tuple<int, float, float, float, float>;  // armed, timers before, timers after
    const Case cases[] = {
        {0, 31.0f, 31.0f, 31.0f, 2.0f}, {1, 4.0f, 10.0f, 6.0f, 12.0f}, {1, 20.0f, 20.0f, 0.0f, 2.0f}};
    for (const auto& [armed, timer0, timer1, after0, after1] : cases) {
        g_world.clearWorld();
        Bus& bus = addBus(0.0f, 0.0f, kHeadingPlusX);
        Bus& parked = addBus(26.0f, 0.0f, kHeadingMinusZ, 20.0f, 1);
        bus.speed = 1.0f;
        bus.crashTimer = timer0;
        parked.crashTimer = timer1;
        g_world.crashArmed = armed;
        gameSrand(2024);
        ReferenceRandom random{2024};
        g_world.updateWorld();
        SCOPED_TRACE(timer0 + armed);
        const float sa = static_cast<float>(std::sin(1.57));
        EXPECT_NEAR(bus.position.x, 1.0f * sa - 1.25f * sa, 1e-6f);  // thrown back by 1.25 units
        EXPECT_NEAR(bus.corners[0].x, 19.2f - 0.25f * sa, 1e-5f);
        EXPECT_FLOAT_EQ(bus.speed, -0.215f);  // -0.25 after the crash, then friction
        // The wheel phase of -0.5 wraps up by 30.
        EXPECT_TRUE(bus.wheelPhase == 29.5f && bus.crashTimer == after0 && parked.crashTimer == after1 &&
                    parked.position.x == 26.0f && parked.speed == 0.0f);
        const bool sounds = after0 == 0.0f;
        EXPECT_EQ(g_world.crashArmed, sounds ? 0 : armed);
        EXPECT_EQ(g_played, sounds
                                ? std::vector<int32_t>{random.next() % 2 == 0 ? kSoundCrash1 : kSoundCrash2}
                                : std::vector<int32_t>{});
        EXPECT_EQ(gameRand(), random.next());  // nothing else drawn
    }
    // Backing away is free; the shake runs up to 20 and stops there.
    run(9);
    EXPECT_TRUE(g_world.buses[0].crashTimer == 18.0f && g_world.buses[1].crashTimer == 20.0f);
    run(3);
    EXPECT_TRUE(g_world.buses[0].crashTimer == 20.0f && g_played.size() == 1u);

    // Reversing, the rear corners lead: either of them alone inside another bus is a crash.
    for (float side : {24.8f, -24.8f}) {
        g_world.clearWorld();
        Bus& reversing = addBus(0.0f, 0.0f, kHeadingPlusX);
        addBus(-26.0f, side, kHeadingMinusZ, 20.0f, 1);  // beside the rear corner at z 6.6 or -6.6 alone
        reversing.speed = -1.0f, g_world.updateWorld();
        EXPECT_GT(reversing.speed, 0.0f) << side;
    }
}

TEST_F(Driving, AtEightyFramesASlowBusCreepsIntoABusButNotIntoABarrier) {
    g_fps = 80.0f;
    const float step = 30.0f / 80.0f * 0.09f;
    // Bus 0 heads +x with its front 0.01 short of bus 1.
    Bus& bus = addBus(0.0f, 0.0f, kHeadingPlusX);
    Bus& other = addBus(26.21f, 0.0f, kHeadingMinusZ, 20.0f, 1);
    bus.speed = 0.09f;  // above the motion threshold 0.07875, below the bus threshold 0.1
    g_world.updateWorld();
    EXPECT_NEAR(bus.corners[0].x, 19.2f + step, 1e-5f);
    EXPECT_TRUE(bus.corners[0].x > other.corners[2].x && other.crashTimer == 31.0f);  // inside, no crash
    EXPECT_FLOAT_EQ(bus.speed, 0.09f - 30.0f / 80.0f * 0.07f);
    run(5);  // friction stops it: too slow to move again
    EXPECT_NEAR(bus.corners[0].x, 19.2f + step, 1e-5f);

    // The same creep into a barrier is a crash.
    g_world.clearWorld();
    Bus& again = addBus(0.0f, 0.0f, kHeadingPlusX);
    g_world.addObstacle(MakeVector(29.21f, 0.0f, 0.0f), 10.0f, 20);
    again.speed = 0.09f;
    g_world.updateWorld();
    EXPECT_NEAR(again.corners[0].x, 19.2f + step - 1.25f * step, 1e-5f);
    EXPECT_FLOAT_EQ(again.speed, -0.0225f + 30.0f / 80.0f * 0.035f);

    // Just above the bus threshold, the same creep into the bus is a crash.
    g_world.clearWorld();
    Bus& faster = addBus(0.0f, 0.0f, kHeadingPlusX);
    addBus(26.21f, 0.0f, kHeadingMinusZ, 20.0f, 1), faster.speed = 0.11f, g_world.updateWorld();
    EXPECT_LT(faster.speed, 0.0f);
}

TEST_F(Driving, OnlyBusZeroCrossesTheLotEdgeAndOnlyAtTheExit) {
    // A bus in column 3 whose leading end is 1 short of the edge: z -59.8 puts the front at -79.0,
    // z 59 the rear at 78.2. Crossing the edge throws it back, except bus 0 at the exit; bus 0 completes
    // the level once its front passes -75 (from -74.6 at z -55.4).
    using Case = std::tuple<int, float, float, bool, bool>;  // bus, z, speed, thrown back, completes
    const Case cases[] = {
        {1, -59.8f, 0.9f, false, false}, {1, -59.8f, 1.2f, true, false},  {0, -55.4f, 0.3f, false, false},
        {0, -55.4f, 0.5f, false, true},  {0, 59.0f, -1.5f, false, false}, {0, 59.0f, -2.0f, true, false},
    };
    for (const auto& [index, z, speed, thrown, complete] : cases) {
        g_world.clearWorld();
        g_menu.fadingToNextLevel = 0;
        if (index == 1) addBus(50.0f, 30.0f);
        Bus& bus = addBus(-10.0f, z);
        if (z < 0) g_world.addBorderWithExit();
        bus.speed = speed;
        const int lead = speed > 0 ? 0 : 2;
        const float before = bus.corners[lead].z;
        g_world.updateWorld();
        SCOPED_TRACE(testing::Message() << index << " " << z << " " << speed);
        // Thrown back: the speed turns and the leading end moved back (heading -z), not on.
        EXPECT_TRUE((bus.speed * speed < 0) == thrown &&
                    ((bus.corners[lead].z - before) * speed > 0) == thrown &&
                    g_menu.fadingToNextLevel == (complete ? 1 : 0));
    }
}

TEST_F(Driving, WheelPhaseWrapsAndFrictionBrakes) {
    // Each bus far from the others shows one rule: speed and wheel phase before and after a frame (-1:
    // not checked).
    using Case = std::tuple<float, float, float, float>;  // speed, phase; speed, phase after
    const Case cases[] = {
        {1.0f, 29.0f, 0.93f, 31.0f},  // 31 - 30 = 1 < 2, so back to 31
        {0.0f, 33.0f, 0.0f, 3.0f},      {0.0f, 1.5f, 0.0f, 31.5f},
        {-1.0f, 29.0f, -0.965f, 27.0f}, {0.05f, 0.0f, 0.015f, -1.0f},  // -0.02 after friction, then back up
    };
    for (const auto& [speed, phase, speedAfter, phaseAfter] : cases) {
        Bus& bus = addBus(-70.0f + 35.0f * g_world.busCount, 0.0f);
        bus.speed = speed;
        bus.wheelPhase = phase;
    }
    g_world.updateWorld();
    for (int i = 0; i < 5; ++i) {
        const auto& [speed, phase, speedAfter, phaseAfter] = cases[i];
        EXPECT_FLOAT_EQ(g_world.buses[i].speed, speedAfter) << i;
        EXPECT_TRUE(phaseAfter < 0 || g_world.buses[i].wheelPhase == phaseAfter) << i;
    }
    EXPECT_EQ(g_world.buses[4].position.z, 0.0f);  // too slow to move
}

TEST_F(Driving, SixtyFramesASecondGiveTheSameMotionPerSecond) {
    // Distance, speed and marker phase after a second of driving, the first half of it accelerating.
    const auto drive = [](float fps) {
        g_world.clearWorld();
        g_world.markerPhase = 0.0f;
        Bus& bus = addBus(-10.0f, 50.0f);
        g_fps = fps;
        for (int f = 0; f < static_cast<int>(fps); ++f) {
            if (f < fps / 2) g_world.accelerateSelected(), g_world.crashArmed = 1;
            g_world.updateWorld();
        }
        return std::array<float, 3>{50.0f - bus.position.z, bus.speed, g_world.markerPhase};
    };
    const auto [distance30, speed30, marker30] = drive(30.0f);
    const auto [distance60, speed60, marker60] = drive(60.0f);
    // Friction acts between the steps, so the two rates differ by a few percent over a second; the marker
    // turns at the same rate.
    EXPECT_TRUE(std::fabs(speed30 - speed60) < 0.01f &&
                std::fabs(distance30 - distance60) < 0.04f * distance30 && distance30 > 20.0f &&
                std::fabs(marker30 - marker60) < 1e-4f)
        << speed30 << " " << speed60 << " " << distance30 << " " << distance60;
}

TEST_F(Driving, TheLeftButtonSelectsTheBusUnderTheCursor) {
    addBus(-10.0f, 0.0f), addBus(30.0f, -50.0f, kHeadingPlusX, 30.0f, 4), addBus(50.0f, 40.0f);
    // Over bus 2, sweeping over bus 1, empty ground keeps the last one, and so does a released button;
    // then pressed over bus 0.
    using Step = std::tuple<int, float, float, int>;  // left button, cursor x and z, bus selected
    const Step steps[] = {{1, 52.0f, 45.0f, 2},
                          {1, 5.0f, -52.0f, 1},
                          {1, -60.0f, 60.0f, 1},
                          {0, -10.0f, 0.0f, 1},
                          {1, -10.0f, 0.0f, 0}};
    for (const auto& [down, x, z, selected] : steps) {
        g_input.mouseDown[0] = down;
        aimCursorAt(x, z), g_world.updateWorld();
        EXPECT_EQ(g_world.selectedBus, selected) << x << " " << z;
    }
    // Space in an empty world keeps bus 0 (the wrap itself shows in the scripted play).
    g_world.clearWorld(), g_world.selectNextBus();
    EXPECT_EQ(g_world.selectedBus, 0);
}

TEST_F(Driving, TheRightButtonUrgesTheBusTowardsTheCursorAlongItsAxis) {
    g_input.mouseDown[1] = 1;
    for (float heading : {kHeadingMinusZ, kHeadingPlusZ, kHeadingPlusX, kHeadingMinusX})
        for (float side : {1.0f, -1.0f, 0.0f}) {  // ahead, behind, level with the centre along the axis
            const float ax = std::round(std::sin(heading)), az = std::round(std::cos(heading));
            g_world.clearWorld(), addBus(0.0f, 0.0f, heading);
            g_world.crashArmed = 0;
            aimCursorAt(side == 0.0f ? 40.0f * az : 40.0f * side * ax,
                        side == 0.0f ? 40.0f * ax : 40.0f * side * az);
            g_world.updateWorld();
            EXPECT_TRUE(g_world.buses[0].speed == 0.21f * side && g_world.crashArmed == 1)
                << heading << " " << side;
        }
}

}  // namespace
