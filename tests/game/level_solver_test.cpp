// Every level can be won, by no fewer moves than recorded here and with as many positions nearer than
// that: a change to the level table or the level set-up that breaks a level, moves a bus or a barrier,
// overlaps its pieces or makes it trivial fails this test. The moves are found by a breadth-first search
// over whole-cell moves on the 8 x 8 grid (a move slides one bus any number of cells).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <queue>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "game/game_world.h"
#include "game/level_table.h"

namespace {

// A bus by the first (lowest) column and row of its cells, its length in cells, and whether it lies
// along z (front towards row 0) or along x.
struct GridBus {
    int column, row, length;
    bool alongZ;
};

struct LevelGrid {
    std::vector<GridBus> buses;
    bool blocked[8][8] = {};  // [column][row]: a barrier or a wall piece
    std::string problem;      // empty when the pieces are consistent
};

// Takes a cell, noting a piece off the grid or on a cell already taken.
void take(bool (&cells)[8][8], int c, int r, std::string& problem) {
    if (c < 0 || c > 7 || r < 0 || r > 7) return void(problem += "piece off the grid; ");
    if (cells[c][r]) problem += "two pieces on one cell; ";
    cells[c][r] = true;
}

// The pieces of level 1 to 25 on the grid, as the game sets the level up.
LevelGrid levelGrid(int level) {
    LevelGrid grid;
    const auto cellOf = [](float centre) { return static_cast<int>(std::lround((centre + 70.0f) / 20.0f)); };
    g_world.setUpLevel(level);
    for (int i = 0; i < g_world.busCount; ++i) {
        const Bus& b = g_world.buses[i];
        const bool alongZ = b.heading == kHeadingMinusZ;
        if (!alongZ && b.heading != kHeadingPlusX) grid.problem += "a bus turned otherwise; ";
        // The corners stand 0.8 in from the ends of its cells.
        const float half =
            (alongZ ? b.corners[2].z - b.corners[0].z : b.corners[0].x - b.corners[2].x) / 2 + 0.8f;
        const int length = static_cast<int>(std::lround(half / 10.0f));
        grid.buses.push_back({cellOf(alongZ ? b.position.x : b.position.x - 10.0f * (length - 1)),
                              cellOf(alongZ ? b.position.z - 10.0f * (length - 1) : b.position.z), length,
                              alongZ});
    }
    for (int k = 0; k < g_world.obstacleCount; ++k)
        take(grid.blocked, cellOf(g_world.obstacles[k].position.x), cellOf(g_world.obstacles[k].position.z),
             grid.problem);
    bool taken[8][8];
    std::memcpy(taken, grid.blocked, sizeof taken);
    for (const GridBus& b : grid.buses)
        for (int k = 0; k < b.length; ++k)
            take(taken, b.alongZ ? b.column : b.column + k, b.alongZ ? b.row + k : b.row, grid.problem);
    if (grid.buses.empty() || !grid.buses[0].alongZ || grid.buses[0].column != 3)
        grid.problem += "bus 0 is not lengthwise in column 3; ";
    if (grid.buses.size() > 21) grid.problem += "too many buses for the solver; ";
    return grid;
}

// Fewest moves until bus 0's front cell reaches row 0 (its front is then within 5 units of the lot's
// bottom edge), counting that last slide, or -1 when there is no way out; and how many positions lie
// fewer moves than that from the start, which changes when a bus or a barrier moves.
std::pair<int, long> solve(const LevelGrid& g) {
    if (!g.problem.empty()) return {-1, 0};
    using State = uint64_t;  // 3 bits a bus: its first row (along z) or first column (along x)
    const auto pos = [](State s, int i) { return static_cast<int>((s >> (3 * i)) & 7u); };
    const int n = static_cast<int>(g.buses.size());
    State start = 0;
    for (int i = 0; i < n; ++i)
        start |= State(g.buses[i].alongZ ? g.buses[i].row : g.buses[i].column) << (3 * i);
    std::unordered_map<State, int> depth{{start, 0}};
    std::queue<State> queue({start});
    while (!queue.empty()) {
        const State s = queue.front();
        queue.pop();
        const int d = depth[s];
        bool cell[8][8];
        std::memcpy(cell, g.blocked, sizeof cell);
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < g.buses[i].length; ++k)
                (g.buses[i].alongZ ? cell[g.buses[i].column][pos(s, i) + k]
                                   : cell[pos(s, i) + k][g.buses[i].row]) = true;
        for (int i = 0; i < n; ++i) {
            const GridBus& b = g.buses[i];
            for (int dir : {-1, 1})
                for (int p = pos(s, i) + dir; p >= 0 && p + b.length <= 8; p += dir) {
                    const int enter = dir > 0 ? p + b.length - 1 : p;  // the cell the leading end enters
                    if (b.alongZ ? cell[b.column][enter] : cell[enter][b.row]) break;
                    const State next = (s & ~(State{7} << (3 * i))) | State(p) << (3 * i);
                    if (i == 0 && p == 0)  // every position d moves away or nearer has been found by now
                        return {d + 1, std::count_if(depth.begin(), depth.end(),
                                                     [d](const auto& e) { return e.second <= d; })};
                    if (depth.emplace(next, d + 1).second) queue.push(next);
                }
        }
    }
    return {-1, 0};
}

TEST(LevelSolver, EveryLevelIsSolvableInItsRecordedFewestMoves) {
    // Fewest moves and the positions nearer than that, by level.
    constexpr std::pair<int, long> kRecorded[kLevelCount] = {
        {5, 661},     {12, 1238}, {11, 933},  {12, 4307}, {13, 18666}, {10, 40162}, {13, 2614},
        {14, 4505},   {15, 1803}, {14, 5375}, {25, 792},  {29, 2108},  {28, 4684},  {12, 1526},
        {21, 524800}, {28, 1828}, {31, 4315}, {32, 1151}, {37, 3874},  {37, 556},   {40, 3902},
        {43, 4340},   {43, 3932}, {44, 2543}, {47, 1941},
    };
    for (int level = 1; level <= kLevelCount; ++level) {
        const LevelGrid grid = levelGrid(level);
        EXPECT_EQ(solve(grid), kRecorded[level - 1]) << "level " << level << ": " << grid.problem;
    }
}

}  // namespace
