// A breadth-first solver over whole-cell moves of the buses on the 8 x 8 grid: it proves a level
// solvable and finds its fewest moves (a move is one bus slid any number of cells).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GridBus {
    int column;  // first (lowest) column and row of its cells
    int row;
    int length;   // in cells
    bool alongZ;  // lengthwise along z (heading 3.14, front towards row 0); else along x (front +x)
};

struct LevelGrid {
    std::vector<GridBus> buses;
    bool blocked[8][8] = {};  // [column][row]: a barrier or a wall piece
    std::string problem;      // empty when the pieces are consistent
};

struct SolverMove {
    int bus;
    int cells;
    bool forward;  // along the bus's heading: towards row 0 for a bus along z, towards +x otherwise
};

struct SolverResult {
    bool solved = false;
    int moves = -1;
    std::vector<SolverMove> solution;
    size_t statesSeen = 0;
};

// The level's pieces on the grid, derived from the level table (1 to 25).
LevelGrid levelGrid(int level);
// Bus 0 counts as out once its front cell reaches row 0: its front is then within 5 units of the
// lot's bottom edge. The final slide into row 0 is a move.
SolverResult solveLevel(const LevelGrid& grid);
std::string describeMove(const LevelGrid& grid, const SolverMove& move);
