// Every level can be won, and by no fewer moves than recorded here: a change to the level table
// that breaks a level or makes it trivial fails this test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/level_table.h"
#include "level_solver.h"

namespace {

// Fewest moves for levels 1 to 25, counting the final slide of bus 0 to the exit.
constexpr int kMinimumMoves[kLevelCount] = {
    5,  12, 11, 12, 13, 10, 13, 14, 15, 14, 25, 29, 28,  // levels 1 to 13
    12, 21, 28, 31, 32, 37, 37, 40, 43, 43, 44, 47,      // levels 14 to 25
};

TEST(LevelSolver, EveryLevelIsSolvableInItsRecordedFewestMoves) {
    for (int level = 1; level <= kLevelCount; ++level) {
        const LevelGrid grid = levelGrid(level);
        EXPECT_EQ(grid.problem, "") << "level " << level;
        const SolverResult result = solveLevel(grid);
        EXPECT_TRUE(result.solved) << "level " << level;
        EXPECT_EQ(result.moves, kMinimumMoves[level - 1]) << "level " << level;
    }
}

TEST(LevelSolver, LevelOneSolution) {
    const LevelGrid grid = levelGrid(1);
    const SolverResult result = solveLevel(grid);
    ASSERT_TRUE(result.solved);
    std::vector<std::string> moves;
    for (const SolverMove& move : result.solution) moves.push_back(describeMove(grid, move));
    const std::vector<std::string> expected = {
        "bus 3 backward 1 cell (+z)", "bus 2 backward 1 cell (-x)", "bus 4 forward 2 cells (-z)",
        "bus 1 forward 1 cell (+x)",  "bus 0 forward 3 cells (-z)",
    };
    EXPECT_EQ(moves, expected);
}

TEST(LevelSolver, SpotsBrokenAndTrivialLevels) {
    // Bus 1 across the exit column with nothing to move it: no solution.
    LevelGrid blocked;
    blocked.buses = {{3, 3, 2, true}, {0, 1, 8, false}};
    EXPECT_FALSE(solveLevel(blocked).solved);
    // A clear column: one move.
    LevelGrid open;
    open.buses = {{3, 5, 2, true}};
    const SolverResult result = solveLevel(open);
    EXPECT_TRUE(result.solved);
    EXPECT_EQ(result.moves, 1);
}

}  // namespace
