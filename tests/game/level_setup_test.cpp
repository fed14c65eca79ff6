// Level set-up: every piece where the level table puts it, drawn from the generator in the right
// order, and the counts, lights and fixed level that players and passwords rely on.
#include <cmath>

#include "game/level_table.h"
#include "world_test_support.h"

namespace {

struct ExpectedBus {
    float x, z, heading, halfLength;
    int32_t type;
};

// Replays a level's placements with the reference generator: jitter x, jitter z, then the livery of a
// two-cell bus.
std::vector<ExpectedBus> replayLevel(const LevelSpec& spec, ReferenceRandom& random) {
    std::vector<ExpectedBus> out;
    for (int i = 0; i < spec.busCount; ++i) {
        const BusPlacement& p = spec.buses[i];
        const float j1 = random.between(-0.1f, 0.1f);
        const float j2 = random.between(-0.1f, 0.1f);
        const float left = -80.0f + 20.0f * p.column;  // the placement's lower-left cell corner
        const float bottom = -80.0f + 20.0f * p.row;
        ExpectedBus bus{};
        bus.x = left + 10.0f * p.width + j1;
        bus.z = bottom + 10.0f * p.height + j2;
        const int length = p.width * p.height;
        bus.halfLength = 10.0f * length;
        bus.heading = p.width == 1 ? 3.14f : 1.57f;
        bus.type = length == 2 ? random.next() % 4 : 4;
        out.push_back(bus);
    }
    return out;
}

// The corners (x, z) front-left-ish c0, c1, then rear c2, c3, from the bus's extent along and across.
void expectCorners(const Bus& bus, float x, float z, float heading, float halfLength) {
    const float along = halfLength - 0.8f;
    const float across = 7.0f;
    float c[4][2];
    if (heading == 3.14f) {
        const float front = z - along, rear = z + along;
        const float v[4][2] = {
            {x - across, front}, {x + across, front}, {x - across, rear}, {x + across, rear}};
        std::copy(&v[0][0], &v[0][0] + 8, &c[0][0]);
    } else {
        const float front = x + along, rear = x - along;
        const float v[4][2] = {
            {front, z + across}, {front, z - across}, {rear, z + across}, {rear, z - across}};
        std::copy(&v[0][0], &v[0][0] + 8, &c[0][0]);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(bus.corners[k].x, c[k][0]) << "corner " << k;
        EXPECT_EQ(bus.corners[k].z, c[k][1]) << "corner " << k;
    }
}

class LevelSetUp : public WorldTest {};

TEST_F(LevelSetUp, EveryLevelPlacesItsBusesFloatForFloatFromTheSeed) {
    for (uint32_t seed : {1u, 12345u, 0xDEADBEEFu}) {
        for (int level = 1; level <= kLevelCount; ++level) {
            if (level == kExactLevel) continue;
            SCOPED_TRACE(testing::Message() << "level " << level << " seed " << seed);
            gameSrand(seed);
            ReferenceRandom random{seed};
            g_world.setUpLevel(level);
            const std::vector<ExpectedBus> expected = replayLevel(kLevels[level - 1], random);
            ASSERT_EQ(g_world.busCount, static_cast<int32_t>(expected.size()));
            for (size_t i = 0; i < expected.size(); ++i) {
                const Bus& bus = g_world.buses[i];
                const ExpectedBus& e = expected[i];
                SCOPED_TRACE(testing::Message() << "bus " << i);
                EXPECT_EQ(bus.position.x, e.x);
                EXPECT_EQ(bus.position.y, 0.0f);
                EXPECT_EQ(bus.position.z, e.z);
                EXPECT_EQ(bus.heading, e.heading);
                EXPECT_EQ(bus.type, e.type);
                EXPECT_EQ(bus.index, static_cast<int32_t>(i));
                EXPECT_EQ(bus.speed, 0.0f);
                EXPECT_EQ(bus.crashTimer, 31.0f);
                EXPECT_EQ(bus.wheelPhase, 0.0f);
                expectCorners(bus, e.x, e.z, e.heading, e.halfLength);
            }
            // Nothing else was drawn: the next value is the reference's next.
            EXPECT_EQ(gameRand(), random.next());
            EXPECT_EQ(g_world.selectedBus, 0);
            EXPECT_EQ(g_world.trafficPhase, -200.0f);
        }
    }
}

TEST_F(LevelSetUp, LevelOneBusZeroIsTheArticulatedBusInColumnThree) {
    gameSrand(777);
    ReferenceRandom random{777};
    const float j1 = random.between(-0.1f, 0.1f);
    const float j2 = random.between(-0.1f, 0.1f);
    g_world.setUpLevel(1);
    const Bus& bus = g_world.buses[0];
    EXPECT_EQ(bus.position.x, -10.0f + j1);
    EXPECT_EQ(bus.position.z, 10.0f + j2);
    EXPECT_EQ(bus.heading, 3.14f);
    EXPECT_EQ(bus.type, 4);
    const float x = bus.position.x, z = bus.position.z;
    EXPECT_EQ(bus.corners[0].x, x - 7.0f);
    EXPECT_EQ(bus.corners[0].z, z - 29.2f);
    EXPECT_EQ(bus.corners[3].x, x + 7.0f);
    EXPECT_EQ(bus.corners[3].z, z + 29.2f);
}

TEST_F(LevelSetUp, PieceCountsAndWalls) {
    gameSrand(5);
    g_world.setUpLevel(1);
    EXPECT_EQ(g_world.busCount, 6);
    EXPECT_EQ(g_world.obstacleCount, 2);
    g_world.setUpLevel(4);
    EXPECT_EQ(g_world.busCount, 10);
    EXPECT_EQ(g_world.obstacleCount, 18);
    g_world.setUpLevel(15);
    EXPECT_EQ(g_world.busCount, 18);
    EXPECT_EQ(g_world.obstacleCount, 0);
    for (int level = 1; level <= kLevelCount; ++level) {
        if (kLevels[level - 1].wall != LevelWall::ExitGap) continue;
        g_world.setUpLevel(level);
        EXPECT_EQ(g_world.obstacleCount, 23) << "level " << level;
        // The wall comes after the barriers and leaves the exit cell (3, 0) open.
        for (int k = 0; k < g_world.obstacleCount; ++k) {
            const Obstacle& o = g_world.obstacles[k];
            EXPECT_FALSE(o.position.x == -10.0f && o.position.z == -70.0f);
            EXPECT_EQ(o.index, k);
            EXPECT_EQ(o.minCorner.x, o.position.x - 10.0f);
            EXPECT_EQ(o.maxCorner.z, o.position.z + 10.0f);
        }
    }
}

TEST_F(LevelSetUp, WallPiecesComeInTheirOrderAndKinds) {
    g_world.addBorderWithExit();
    ASSERT_EQ(g_world.obstacleCount, 23);
    EXPECT_EQ(g_world.obstacles[0].kind, 23);
    EXPECT_EQ(g_world.obstacles[0].position.x, -10.0f);
    EXPECT_EQ(g_world.obstacles[0].position.z, 70.0f);
    EXPECT_EQ(g_world.obstacles[6].kind, 21);
    EXPECT_EQ(g_world.obstacles[6].position.x, -30.0f);
    EXPECT_EQ(g_world.obstacles[6].position.z, -70.0f);
    EXPECT_EQ(g_world.obstacles[11].kind, 22);
    EXPECT_EQ(g_world.obstacles[11].position.z, 50.0f);
    EXPECT_EQ(g_world.obstacles[22].kind, 24);
    EXPECT_EQ(g_world.obstacles[22].position.x, 70.0f);
    EXPECT_EQ(g_world.obstacles[22].position.z, -50.0f);

    g_world.clearWorld();
    g_world.addBorderOpenBottom();
    ASSERT_EQ(g_world.obstacleCount, 18);
    EXPECT_EQ(g_world.obstacles[5].kind, 23);
    EXPECT_EQ(g_world.obstacles[5].position.x, 50.0f);
    EXPECT_EQ(g_world.obstacles[5].position.z, 50.0f);
    EXPECT_EQ(g_world.obstacles[11].kind, 22);
    EXPECT_EQ(g_world.obstacles[11].position.z, -70.0f);
    EXPECT_EQ(g_world.obstacles[17].kind, 24);
    EXPECT_EQ(g_world.obstacles[17].position.z, -70.0f);
}

TEST_F(LevelSetUp, LevelTwoIsFixedAndDrawsNothing) {
    gameSrand(99);
    ReferenceRandom random{99};
    isNight = 0;
    g_world.setUpLevel(2);
    EXPECT_EQ(isNight, 1u);
    EXPECT_EQ(gameRand(), random.next());
    ASSERT_EQ(g_world.busCount, 7);
    ASSERT_EQ(g_world.obstacleCount, 4);
    const float expected[7][5] = {{-10, -10, 3.14f, 30, 4}, {-10, -50, 1.57f, 30, 4}, {20, -10, 1.57f, 20, 1},
                                  {60, -30, 1.57f, 20, 1},  {50, 10, 3.14f, 30, 4},   {30, -40, 3.14f, 20, 0},
                                  {30, -70, 1.57f, 30, 4}};
    for (int i = 0; i < 7; ++i) {
        const Bus& bus = g_world.buses[i];
        EXPECT_EQ(bus.position.x, expected[i][0]);
        EXPECT_EQ(bus.position.z, expected[i][1]);
        EXPECT_EQ(bus.heading, expected[i][2]);
        EXPECT_EQ(bus.type, static_cast<int32_t>(expected[i][4]));
        expectCorners(bus, expected[i][0], expected[i][1], expected[i][2], expected[i][3]);
    }
    const float barriers[4][2] = {{-10, 50}, {50, 50}, {-50, -50}, {-50, -70}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(g_world.obstacles[k].position.x, barriers[k][0]);
        EXPECT_EQ(g_world.obstacles[k].position.z, barriers[k][1]);
        EXPECT_EQ(g_world.obstacles[k].kind, 20);
    }
}

TEST_F(LevelSetUp, LevelSevenKeepsTheLightOfTheLevelBefore) {
    g_world.setUpLevel(6);
    EXPECT_EQ(isNight, 0u);
    g_world.setUpLevel(7);
    EXPECT_EQ(isNight, 0u);
    g_world.setUpLevel(5);
    EXPECT_EQ(isNight, 1u);
    g_world.setUpLevel(7);
    EXPECT_EQ(isNight, 1u);
}

TEST_F(LevelSetUp, ANumberOutsideTheLevelsLeavesTheWorldEmpty) {
    g_world.setUpLevel(3);
    g_world.selectedBus = 4;
    g_world.crashArmed = 1;
    g_world.markerPhase = 2.5f;
    isNight = 1;
    for (int level : {0, 26, -3}) {
        g_world.setUpLevel(level);
        EXPECT_EQ(g_world.busCount, 0);
        EXPECT_EQ(g_world.obstacleCount, 0);
        EXPECT_EQ(g_world.selectedBus, 0);
        EXPECT_EQ(g_world.trafficPhase, -200.0f);
    }
    // Clearing keeps the crash arming, the marker phase and the light.
    EXPECT_EQ(g_world.crashArmed, 1);
    EXPECT_EQ(g_world.markerPhase, 2.5f);
    EXPECT_EQ(isNight, 1u);
}

TEST_F(LevelSetUp, PlacingAnUnknownSizeStillDrawsTwoNumbers) {
    gameSrand(42);
    ReferenceRandom random{42};
    g_world.placeBus(0, 0, 2, 2);
    EXPECT_EQ(g_world.busCount, 0);
    random.next();
    random.next();
    EXPECT_EQ(gameRand(), random.next());
    // A three-cell bus draws no livery.
    g_world.placeBus(1, 1, 3, 1);
    random.next();
    random.next();
    EXPECT_EQ(gameRand(), random.next());
    EXPECT_EQ(g_world.buses[0].type, 4);
}

TEST_F(LevelSetUp, AnOddHeadingLeavesTheCornersAlone) {
    g_world.buses[0].corners[0] = MakeVector(1.0f, 2.0f, 3.0f);
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), 1.5707964f, 20.0f, 0);
    EXPECT_EQ(g_world.busCount, 1);
    EXPECT_EQ(g_world.buses[0].corners[0].x, 1.0f);
    EXPECT_EQ(g_world.buses[0].corners[0].z, 3.0f);
    // Heading 0 and -1.57, which no level uses, have their own footprints.
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), 0.0f, 20.0f, 0);
    EXPECT_EQ(g_world.buses[1].corners[0].z, 19.2f);
    EXPECT_EQ(g_world.buses[1].corners[0].x, -7.0f);
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), -1.57f, 20.0f, 0);
    EXPECT_EQ(g_world.buses[2].corners[0].x, -19.2f);
    EXPECT_EQ(g_world.buses[2].corners[0].z, 7.0f);
    EXPECT_EQ(g_world.buses[2].corners[3].x, 19.2f);
    EXPECT_EQ(g_world.buses[2].corners[3].z, -7.0f);
}

}  // namespace

TEST(Random, MatchesTheGeneratorAndBothEndsOccur) {
    gameSrand(0);
    // The first values from seed 0 and seed 1 of this generator.
    EXPECT_EQ(gameRand(), 38);
    EXPECT_EQ(gameRand(), 7719);
    gameSrand(1);
    EXPECT_EQ(gameRand(), 41);
    EXPECT_EQ(gameRand(), 18467);
    EXPECT_EQ(gameRand(), 6334);
}

// The seed whose first draw is r: invert one step of the generator.
uint32_t seedYielding(uint32_t r) {
    uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    return ((r << 16) - 2531011u) * inverse;
}

TEST(Random, BetweenReachesBothEnds) {
    gameSrand(seedYielding(0));
    EXPECT_EQ(randomBetween(-0.1f, 0.1f), -0.1f);
    gameSrand(seedYielding(32767));
    EXPECT_FLOAT_EQ(randomBetween(-0.1f, 0.1f), 0.1f);
    gameSrand(seedYielding(16384));
    EXPECT_NEAR(randomBetween(10.0f, 20.0f), 15.0f, 1e-3f);
}
