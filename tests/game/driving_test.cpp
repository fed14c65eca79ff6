// Driving, crashes and the end of a level, as a player feels them: when a pushed bus starts to move,
// how far a crash throws it back, which bus shakes, where the exit lets bus 0 through.
#include <cmath>

#include "menu/resource_set.h"
#include "platform/dinput.h"
#include "world_test_support.h"

namespace {

// The per-axis factors of a heading as the world applies them.
float sinOf(float heading) {
    return static_cast<float>(std::sin(static_cast<double>(heading)));
}
float cosOf(float heading) {
    return static_cast<float>(std::cos(static_cast<double>(heading)));
}

class Driving : public WorldTest {
protected:
    static Bus& bus(int i) { return g_world.buses[i]; }
    static void run(int frames) {
        for (int f = 0; f < frames; ++f) g_world.updateWorld();
    }
};

TEST_F(Driving, AMousePushShowsOnlyInTheFrameAfterTheNext) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    g_input.mouseDown[1] = 1;
    aimCursorAt(-10.0f, -60.0f);  // ahead of the bus

    g_world.updateWorld();
    EXPECT_EQ(bus(0).speed, 0.21f);
    EXPECT_EQ(bus(0).position.z, 0.0f);
    EXPECT_EQ(g_world.crashArmed, 1);

    g_world.updateWorld();  // 0.21 is not faster than 0.21: no motion, friction, then the push
    EXPECT_EQ(bus(0).position.z, 0.0f);
    float expected = 0.21f - 0.07f + 0.21f;
    EXPECT_EQ(bus(0).speed, expected);
    EXPECT_FLOAT_EQ(bus(0).speed, 0.35f);

    g_world.updateWorld();
    EXPECT_EQ(bus(0).position.z, 0.0f + expected * cosOf(3.14f));
    EXPECT_FLOAT_EQ(bus(0).speed, 0.49f);  // gaining 0.14 a frame while the push lasts
}

TEST_F(Driving, TheUpKeyStartsOneFrameEarlierThanTheMouse) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    holdUp();
    g_world.updateWorld();
    EXPECT_EQ(bus(0).position.z, 0.0f);
    EXPECT_FLOAT_EQ(bus(0).speed, 0.14f);
    holdUp();
    g_world.updateWorld();
    EXPECT_LT(bus(0).position.z, -0.3f);
}

TEST_F(Driving, ACrashThrowsTheBusBackAndShakesTheParkedBus) {
    // Bus 0 heads +x; its front corners are 0.2 short of the parked bus 1.
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), kHeadingPlusX, 20.0f, 0);
    g_world.addBus(MakeVector(26.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 1);
    bus(0).speed = 1.0f;
    g_world.crashArmed = 1;
    gameSrand(2024);
    ReferenceRandom random{2024};

    g_world.updateWorld();
    const float sa = sinOf(1.57f);
    EXPECT_NEAR(bus(0).position.x, 1.0f * sa - 1.25f * sa, 1e-6f);  // thrown back by 1.25 units
    EXPECT_NEAR(bus(0).corners[0].x, 19.2f - 0.25f * sa, 1e-5f);
    EXPECT_FLOAT_EQ(bus(0).speed, -0.215f);  // -0.25 after the crash, then friction
    EXPECT_EQ(bus(0).crashTimer, 0.0f);
    EXPECT_EQ(bus(0).wheelPhase, 29.5f);  // -0.5 wraps up by 30
    EXPECT_EQ(g_world.crashArmed, 0);
    ASSERT_EQ(SoundLog::slots().size(), 1u);
    EXPECT_EQ(SoundLog::slots()[0], random.next() % 2 == 0 ? kSoundCrash1 : kSoundCrash2);

    // The parked bus was hit: it shakes (its timer restarted and ran once in its own turn) but
    // neither moves nor crashes, having no speed.
    EXPECT_EQ(bus(1).crashTimer, 2.0f);
    EXPECT_EQ(bus(1).position.x, 26.0f);
    EXPECT_EQ(bus(1).speed, 0.0f);

    // Backing away is free; the shake runs up to 20 and stops there.
    run(9);
    EXPECT_EQ(bus(0).crashTimer, 18.0f);
    EXPECT_EQ(bus(1).crashTimer, 20.0f);
    run(3);
    EXPECT_EQ(bus(0).crashTimer, 20.0f);
    EXPECT_EQ(SoundLog::slots().size(), 1u);
}

TEST_F(Driving, OnlyAnArmedCrashPlaysAndAShakingBusDoesNotRestart) {
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), kHeadingPlusX, 20.0f, 0);
    g_world.addBus(MakeVector(26.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 1);
    gameSrand(7);
    ReferenceRandom random{7};

    // Not armed: thrown back, silent, no random number drawn, no shake of its own.
    bus(0).speed = 1.0f;
    g_world.crashArmed = 0;
    g_world.updateWorld();
    EXPECT_LT(bus(0).speed, 0.0f);
    EXPECT_EQ(bus(0).crashTimer, 31.0f);
    EXPECT_TRUE(SoundLog::slots().empty());
    EXPECT_EQ(bus(1).crashTimer, 2.0f);  // the bus that was hit shakes all the same

    // Armed, but still shaking from an earlier crash: no sound, the timer runs on.
    g_world.clearWorld();
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), kHeadingPlusX, 20.0f, 0);
    g_world.addBus(MakeVector(26.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 1);
    bus(0).speed = 1.0f;
    bus(0).crashTimer = 4.0f;
    bus(1).crashTimer = 10.0f;
    g_world.crashArmed = 1;
    g_world.updateWorld();
    EXPECT_EQ(bus(0).crashTimer, 6.0f);
    EXPECT_EQ(bus(1).crashTimer, 12.0f);
    EXPECT_EQ(g_world.crashArmed, 1);
    EXPECT_TRUE(SoundLog::slots().empty());
    EXPECT_EQ(gameRand(), random.next());
}

TEST_F(Driving, AtEightyFramesASlowBusCreepsIntoABusButNotIntoABarrier) {
    g_fps = 80.0f;
    const float step = 30.0f / 80.0f * 0.09f;
    // Bus 0 heads +x with its front 0.01 short of bus 1.
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), kHeadingPlusX, 20.0f, 0);
    g_world.addBus(MakeVector(26.21f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 1);
    bus(0).speed = 0.09f;  // above the motion threshold 0.07875, below the bus threshold 0.1
    g_world.updateWorld();
    EXPECT_NEAR(bus(0).corners[0].x, 19.2f + step, 1e-5f);
    EXPECT_GT(bus(0).corners[0].x, bus(1).corners[2].x);  // inside the other bus
    EXPECT_FLOAT_EQ(bus(0).speed, 0.09f - 30.0f / 80.0f * 0.07f);
    EXPECT_EQ(bus(1).crashTimer, 31.0f);
    run(5);  // friction stops it: too slow to move again
    EXPECT_NEAR(bus(0).corners[0].x, 19.2f + step, 1e-5f);

    // The same creep into a barrier is a crash.
    g_world.clearWorld();
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), kHeadingPlusX, 20.0f, 0);
    g_world.addObstacle(MakeVector(29.21f, 0.0f, 0.0f), 10.0f, 20);
    bus(0).speed = 0.09f;
    g_world.updateWorld();
    EXPECT_NEAR(bus(0).corners[0].x, 19.2f + step - 1.25f * step, 1e-5f);
    EXPECT_FLOAT_EQ(bus(0).speed, -0.0225f + 30.0f / 80.0f * 0.035f);
}

TEST_F(Driving, BusZeroLeavesThroughTheExitAndCompletesTheLevel) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, -40.0f), kHeadingMinusZ, 20.0f, 0);  // rows 1 and 2 of column 3
    g_world.addBorderWithExit();
    int completedAt = -1;
    for (int frame = 0; frame < 60; ++frame) {
        const float frontBefore = bus(0).corners[0].z;
        holdUp();
        g_world.updateWorld();
        if (completedAt < 0 && g_menu.fadingToNextLevel == 1) {
            completedAt = frame;
            EXPECT_GE(frontBefore, -75.0f);
            EXPECT_LT(bus(0).corners[0].z, -75.0f);
        }
        if (completedAt < 0) {
            EXPECT_GE(bus(0).corners[0].z, -75.0f);
        }
        EXPECT_GT(bus(0).speed, 0.0f) << "frame " << frame;  // never thrown back
    }
    EXPECT_GE(completedAt, 0);
    EXPECT_LT(bus(0).corners[2].z, -80.0f);  // right out of the lot
    EXPECT_EQ(bus(0).crashTimer, 31.0f);
    ASSERT_EQ(SoundLog::slots().size(), 1u);  // the completion sound, once
    EXPECT_EQ(SoundLog::slots()[0], kSoundComplete);
}

TEST_F(Driving, TheExitStopsEveryOtherBusAtTheEdge) {
    g_world.addBus(MakeVector(50.0f, 0.0f, 30.0f), kHeadingMinusZ, 20.0f, 0);
    g_world.addBus(MakeVector(-10.0f, 0.0f, -59.8f), kHeadingMinusZ, 20.0f, 1);  // front at -79.0
    g_world.addBorderWithExit();
    bus(1).speed = 0.9f;
    g_world.updateWorld();  // front to -79.9: still inside
    EXPECT_GT(bus(1).speed, 0.0f);
    const float front = bus(1).corners[0].z;
    bus(1).speed = 1.0f;
    g_world.updateWorld();  // front would pass -80
    EXPECT_LT(bus(1).speed, 0.0f);
    EXPECT_GT(bus(1).corners[0].z, front);
    EXPECT_EQ(g_menu.fadingToNextLevel, 0);

    // Bus 0 in the same place goes through.
    g_world.clearWorld();
    g_world.addBus(MakeVector(-10.0f, 0.0f, -59.8f), kHeadingMinusZ, 20.0f, 0);
    g_world.addBorderWithExit();
    bus(0).speed = 1.5f;
    g_world.updateWorld();
    EXPECT_GT(bus(0).speed, 0.0f);
    EXPECT_LT(bus(0).corners[0].z, -80.0f);
    EXPECT_EQ(g_menu.fadingToNextLevel, 1);
}

TEST_F(Driving, BusZeroBackingIntoTheTopEdgeCrashes) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 59.0f), kHeadingMinusZ, 20.0f, 0);  // rear corners at 78.2
    bus(0).speed = -1.5f;
    g_world.updateWorld();
    EXPECT_LT(bus(0).speed, 0.0f);
    bus(0).speed = -2.0f;
    const float rear = bus(0).corners[2].z;
    g_world.updateWorld();
    EXPECT_GT(bus(0).speed, 0.0f);
    EXPECT_LT(bus(0).corners[2].z, rear);
    EXPECT_LT(bus(0).corners[2].z, 80.0f);
}

TEST_F(Driving, WheelPhaseWrapsAndFrictionBrakes) {
    // Four buses far apart, each showing one rule.
    for (float x : {-50.0f, -10.0f, 30.0f, 70.0f})
        g_world.addBus(MakeVector(x, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    bus(0).speed = 1.0f;
    bus(0).wheelPhase = 29.0f;
    bus(1).wheelPhase = 33.0f;
    bus(2).wheelPhase = 1.5f;
    bus(3).speed = -1.0f;
    bus(3).wheelPhase = 29.0f;
    g_world.updateWorld();
    EXPECT_EQ(bus(0).wheelPhase, 31.0f);  // 31 - 30 = 1 < 2, so back to 31
    EXPECT_EQ(bus(1).wheelPhase, 3.0f);
    EXPECT_EQ(bus(2).wheelPhase, 31.5f);
    EXPECT_EQ(bus(3).wheelPhase, 27.0f);
    EXPECT_FLOAT_EQ(bus(0).speed, 0.93f);
    EXPECT_FLOAT_EQ(bus(3).speed, -0.965f);

    g_world.clearWorld();
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    bus(0).speed = 0.05f;
    g_world.updateWorld();
    EXPECT_FLOAT_EQ(bus(0).speed, 0.015f);  // -0.02 after the forward friction, then back up
    EXPECT_EQ(bus(0).position.z, 0.0f);
}

TEST_F(Driving, SixtyFramesASecondGiveTheSameMotionPerSecond) {
    struct Outcome {
        float distance, speed, markerPhase;
    };
    const auto drive = [](float fps) {
        g_world.clearWorld();
        g_world.markerPhase = 0.0f;
        g_world.addBus(MakeVector(-10.0f, 0.0f, 50.0f), kHeadingMinusZ, 20.0f, 0);
        g_fps = fps;
        const int frames = static_cast<int>(fps);
        for (int f = 0; f < frames; ++f) {
            if (f < frames / 2) {
                g_world.accelerateSelected();
                g_world.crashArmed = 1;
            }
            g_world.updateWorld();
        }
        return Outcome{50.0f - g_world.buses[0].position.z, g_world.buses[0].speed, g_world.markerPhase};
    };
    // One frame of a coasting bus: the step is halved.
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    g_world.buses[0].speed = 3.0f;
    g_fps = 60.0f;
    g_world.updateWorld();
    EXPECT_FLOAT_EQ(g_world.buses[0].position.z, 1.5f * cosOf(3.14f));
    EXPECT_FLOAT_EQ(g_world.buses[0].speed, 3.0f - 0.035f);

    const Outcome at30 = drive(30.0f);
    const Outcome at60 = drive(60.0f);
    EXPECT_NEAR(at30.speed, at60.speed, 0.01f);
    // Friction acts between the steps, so the two rates differ by a few percent over a second.
    EXPECT_NEAR(at30.distance, at60.distance, 0.04f * at30.distance);
    EXPECT_GT(at30.distance, 20.0f);
    EXPECT_NEAR(at30.markerPhase, at60.markerPhase, 1e-4f);  // the marker turns at the same rate
}

TEST_F(Driving, TheLeftButtonSelectsTheBusUnderTheCursor) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    g_world.addBus(MakeVector(30.0f, 0.0f, -50.0f), kHeadingPlusX, 30.0f, 4);
    g_world.addBus(MakeVector(50.0f, 0.0f, 40.0f), kHeadingMinusZ, 20.0f, 2);
    g_input.mouseDown[0] = 1;
    aimCursorAt(52.0f, 45.0f);
    g_world.updateWorld();
    EXPECT_EQ(g_world.selectedBus, 2);
    aimCursorAt(5.0f, -52.0f);  // sweeping over bus 1
    g_world.updateWorld();
    EXPECT_EQ(g_world.selectedBus, 1);
    aimCursorAt(-60.0f, 60.0f);  // empty ground keeps the last one
    g_world.updateWorld();
    EXPECT_EQ(g_world.selectedBus, 1);
    g_input.mouseDown[0] = 0;
    aimCursorAt(-10.0f, 0.0f);
    g_world.updateWorld();
    EXPECT_EQ(g_world.selectedBus, 1);
}

TEST_F(Driving, TheRightButtonUrgesTheBusTowardsTheCursorAlongItsAxis) {
    struct Case {
        float heading, aimX, aimZ, speed;
    };
    const Case cases[] = {
        {kHeadingMinusZ, 0.0f, -40.0f, 0.21f}, {kHeadingMinusZ, 0.0f, 40.0f, -0.21f},
        {kHeadingPlusZ, 0.0f, 40.0f, 0.21f},   {kHeadingPlusZ, 0.0f, -40.0f, -0.21f},
        {kHeadingPlusX, 40.0f, 0.0f, 0.21f},   {kHeadingPlusX, -40.0f, 0.0f, -0.21f},
        {kHeadingMinusX, -40.0f, 0.0f, 0.21f}, {kHeadingMinusX, 40.0f, 0.0f, -0.21f},
        {kHeadingPlusX, 0.0f, 40.0f, 0.0f},  // level with the centre along the axis: nothing
        {kHeadingMinusZ, 40.0f, 0.0f, 0.0f},
    };
    g_input.mouseDown[1] = 1;
    for (const Case& c : cases) {
        g_world.clearWorld();
        g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), c.heading, 20.0f, 0);
        g_world.crashArmed = 0;
        aimCursorAt(c.aimX, c.aimZ);
        g_world.updateWorld();
        EXPECT_EQ(g_world.buses[0].speed, c.speed) << c.heading << " " << c.aimX << " " << c.aimZ;
        EXPECT_EQ(g_world.crashArmed, 1);
    }
}

TEST_F(Driving, HoldingQZAndXCompletesAtOnceWithOneSound) {
    g_world.addBus(MakeVector(-10.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    g_input.keyDown[DIK_Q] = 1;
    g_input.keyDown[DIK_Z] = 1;
    g_world.updateWorld();
    EXPECT_EQ(g_menu.fadingToNextLevel, 0);
    g_input.keyDown[DIK_X] = 1;
    g_world.updateWorld();
    g_world.updateWorld();
    EXPECT_EQ(g_menu.fadingToNextLevel, 1);
    ASSERT_EQ(SoundLog::slots().size(), 1u);
    EXPECT_EQ(SoundLog::slots()[0], kSoundComplete);
}

TEST_F(Driving, SelectingTheNextBusWrapsAndStaysInTheWorld) {
    for (int i = 0; i < 3; ++i)
        g_world.addBus(MakeVector(-50.0f + 40.0f * i, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    g_world.selectNextBus();
    g_world.selectNextBus();
    EXPECT_EQ(g_world.selectedBus, 2);
    g_world.selectNextBus();
    EXPECT_EQ(g_world.selectedBus, 0);
    g_world.clearWorld();
    g_world.selectNextBus();
    EXPECT_EQ(g_world.selectedBus, 0);
}

}  // namespace
