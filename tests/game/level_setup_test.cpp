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
std::vector<ExpectedBus> replayLevel(const LevelLayout& layout, ReferenceRandom& random) {
    std::vector<ExpectedBus> out;
    for (int i = 0; i < layout.busCount; ++i) {
        const BusPlacement& p = layout.buses[i];
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

TEST_F(LevelSetUp, LevelsHaveTheirPiecesTheirLightAndNothingOutsideTheTwentyFive) {
    // Level, buses, barriers and wall pieces, and the light: level 7 keeps the light of the level before.
    const struct {
        int level, buses, obstacles, night;
    } rows[] = {{1, 6, 2, 0},   {4, 10, 18, 0}, {15, 18, 0, 1}, {2, 7, 4, 1},  {7, 9, 6, 1},
                {6, 14, 12, 0}, {7, 9, 6, 0},   {0, 0, 0, 0},   {26, 0, 0, 0}, {-3, 0, 0, 0}};
    for (const auto& r : rows) {
        gameSrand(99);
        g_world.selectedBus = 4;
        g_world.setUpLevel(r.level);
        EXPECT_EQ(g_world.busCount, r.buses) << r.level;
        EXPECT_EQ(g_world.obstacleCount, r.obstacles) << r.level;
        if (r.buses) EXPECT_EQ(isNight, uint32_t(r.night)) << r.level;
        EXPECT_EQ(g_world.selectedBus, 0);
        EXPECT_EQ(g_world.trafficPhase, -200.0f);
    }
    // Level 2 stands exactly where it is written, without a draw from the generator.
    gameSrand(99);
    ReferenceRandom random{99};
    g_world.setUpLevel(2);
    EXPECT_EQ(gameRand(), random.next());
    EXPECT_EQ(g_world.buses[0].position.x, -10.0f);
    // A wall with an exit: 23 pieces after the barriers, the exit cell (3, 0) left open.
    for (int level = 1; level <= kLevelCount; ++level) {
        if (kLevels[level - 1].wall != LevelWall::ExitGap) continue;
        g_world.setUpLevel(level);
        const int barriers = kLevels[level - 1].barrierCount;
        EXPECT_EQ(g_world.obstacleCount, barriers + 23) << "level " << level;
        for (int k = 0; k < g_world.obstacleCount; ++k) {
            const Obstacle& o = g_world.obstacles[k];
            EXPECT_FALSE(o.position.x == -10.0f && o.position.z == -70.0f);
            EXPECT_TRUE(o.index == k && o.minCorner.x == o.position.x - 10.0f &&
                        o.maxCorner.z == o.position.z + 10.0f);
            if (k >= barriers) EXPECT_TRUE(o.kind >= 21 && o.kind <= 24);
        }
    }
}

TEST_F(LevelSetUp, OddPlacementsAreSafeAndKeepTheDrawsInStep) {
    gameSrand(42);
    ReferenceRandom random{42};
    g_world.placeBus(0, 0, 2, 2);  // no such size: nothing, yet both jitters are drawn
    g_world.placeBus(1, 1, 3, 1);  // a three-cell bus draws no livery
    for (int i = 0; i < 4; ++i) random.next();
    EXPECT_EQ(gameRand(), random.next());
    EXPECT_EQ(g_world.busCount, 1);
    EXPECT_EQ(g_world.buses[0].type, 4);
    // A full world takes no more pieces, but placing still draws its numbers.
    for (int i = 0; i < kMaxBuses + 5; ++i)
        g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), kHeadingMinusZ, 20.0f, 0);
    for (int i = 0; i < kMaxObstacles + 5; ++i) g_world.addObstacle(MakeVector(0.0f, 0.0f, 0.0f), 10.0f, 20);
    EXPECT_EQ(g_world.busCount, kMaxBuses);
    EXPECT_EQ(g_world.obstacleCount, kMaxObstacles);
    g_world.placeBus(1, 1, 1, 2);
    for (int i = 0; i < 3; ++i) random.next();
    EXPECT_EQ(gameRand(), random.next());
    // A heading no level uses leaves the corners as they were; 0 and -1.57 have their own footprints.
    g_world.clearWorld();
    g_world.buses[0].corners[0] = MakeVector(1.0f, 2.0f, 3.0f);
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), 1.5707964f, 20.0f, 0);
    EXPECT_TRUE(g_world.buses[0].corners[0].x == 1.0f && g_world.buses[0].corners[0].z == 3.0f);
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), 0.0f, 20.0f, 0);
    EXPECT_TRUE(g_world.buses[1].corners[0].x == -7.0f && g_world.buses[1].corners[0].z == 19.2f);
    g_world.addBus(MakeVector(0.0f, 0.0f, 0.0f), -1.57f, 20.0f, 0);
    EXPECT_TRUE(g_world.buses[2].corners[0].x == -19.2f && g_world.buses[2].corners[0].z == 7.0f);
    EXPECT_TRUE(g_world.buses[2].corners[3].x == 19.2f && g_world.buses[2].corners[3].z == -7.0f);
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
