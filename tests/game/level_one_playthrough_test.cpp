// Level 1 played with the keyboard alone, as a player (or a demo script) would: Space to pick the
// next bus, the up or down arrow held until the bus rests against what stops it. The solver's
// five moves, taken in an order that needs few presses of Space.
#include <vector>

#include "world_test_support.h"

namespace {

struct KeyboardMove {
    int spaces;  // taps of Space first, one every other frame
    int key;     // +1 up arrow (forward), -1 down arrow (backward)
};

// Bus 3 back into row 2, bus 4 down to the bottom edge, bus 1 right to the edge, bus 2 left to the
// edge, then bus 0 out through the bottom.
constexpr KeyboardMove kLevelOne[] = {{3, -1}, {1, +1}, {3, +1}, {1, -1}, {4, +1}};
constexpr int kIdleFrames = 30;

class LevelOnePlaythrough : public WorldTest {
protected:
    static void frame(bool space, int key) {
        if (key > 0) holdUp();
        if (key < 0) holdDown();
        if (space) g_world.selectNextBus();
        g_world.updateWorld();
    }
};

TEST_F(LevelOnePlaythrough, TheKeyboardSolutionCompletesTheLevel) {
    // The timing is not critical: any hold from a second and a bit to two seconds does it.
    for (uint32_t seed : {1u, 2u, 77u, 4096u})
        for (int holdFrames : {35, 45, 60}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " hold " << holdFrames);
            gameSrand(seed);
            g_world.setUpLevel(1);
            g_menu.fadingToNextLevel = 0;
            const std::vector<int> expectedSelection = {3, 4, 1, 2, 0};
            int frames = 0;
            for (size_t m = 0; m < std::size(kLevelOne); ++m) {
                const KeyboardMove& move = kLevelOne[m];
                for (int s = 0; s < move.spaces; ++s) {
                    frame(true, 0);
                    frame(false, 0);
                    frames += 2;
                }
                EXPECT_EQ(g_world.selectedBus, expectedSelection[m]);
                for (int f = 0; f < holdFrames; ++f) frame(false, move.key);
                for (int f = 0; f < kIdleFrames; ++f) frame(false, 0);
                frames += holdFrames + kIdleFrames;
                if (m + 1 < std::size(kLevelOne)) {
                    EXPECT_EQ(g_menu.fadingToNextLevel, 0) << "after move " << m;
                }
            }
            EXPECT_EQ(g_menu.fadingToNextLevel, 1);
            EXPECT_LT(g_world.buses[0].corners[2].z, -80.0f);
            EXPECT_EQ(frames, 24 + 5 * (holdFrames + kIdleFrames));
        }
}

}  // namespace
