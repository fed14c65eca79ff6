#include "level_solver.h"

#include <cmath>
#include <queue>
#include <sstream>
#include <unordered_map>

#include "game/level_table.h"

namespace {

int cellOf(float centre) {
    return static_cast<int>(std::lround((centre + 70.0f) / 20.0f));
}

void block(LevelGrid& grid, float x, float z) {
    const int c = cellOf(x), r = cellOf(z);
    if (c < 0 || c > 7 || r < 0 || r > 7) {
        grid.problem += "obstacle off the grid; ";
        return;
    }
    if (grid.blocked[c][r]) grid.problem += "two obstacles on one cell; ";
    grid.blocked[c][r] = true;
}

using State = uint64_t;  // 3 bits per bus: its first row (along z) or first column (along x)

int posOf(State s, int i) {
    return static_cast<int>((s >> (3 * i)) & 7u);
}
State withPos(State s, int i, int p) {
    return (s & ~(State{7} << (3 * i))) | (static_cast<State>(p) << (3 * i));
}

struct Occupancy {
    bool cell[8][8] = {};
};

Occupancy occupancy(const LevelGrid& g, State s) {
    Occupancy o;
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r) o.cell[c][r] = g.blocked[c][r];
    for (size_t i = 0; i < g.buses.size(); ++i) {
        const GridBus& b = g.buses[i];
        for (int k = 0; k < b.length; ++k) {
            if (b.alongZ)
                o.cell[b.column][posOf(s, static_cast<int>(i)) + k] = true;
            else
                o.cell[posOf(s, static_cast<int>(i)) + k][b.row] = true;
        }
    }
    return o;
}

}  // namespace

LevelGrid levelGrid(int level) {
    LevelGrid grid;
    const LevelSpec& spec = kLevels[level - 1];
    if (spec.exactPieces) {
        for (const ExactBus& b : kExactLevelBuses) {
            const int length = static_cast<int>(std::lround(b.halfLength / 10.0f));
            GridBus bus{};
            bus.length = length;
            bus.alongZ = b.heading == 3.14f;
            if (bus.alongZ) {
                bus.column = cellOf(b.x);
                bus.row = cellOf(b.z - 10.0f * (length - 1));
            } else {
                bus.row = cellOf(b.z);
                bus.column = cellOf(b.x - 10.0f * (length - 1));
            }
            grid.buses.push_back(bus);
        }
        for (const ExactBarrier& b : kExactLevelBarriers) block(grid, b.x, b.z);
    } else {
        for (int i = 0; i < spec.busCount; ++i) {
            const BusPlacement& p = spec.buses[i];
            GridBus bus{p.column, p.row, p.width * p.height, p.width == 1};
            if (!((p.width == 1 && (p.height == 2 || p.height == 3)) ||
                  (p.height == 1 && (p.width == 2 || p.width == 3))))
                grid.problem += "a bus of unknown size; ";
            grid.buses.push_back(bus);
        }
        for (int i = 0; i < spec.barrierCount; ++i)
            block(grid, spec.barriers[i].column * 20.0f - 70.0f, spec.barriers[i].row * 20.0f - 70.0f);
    }
    if (spec.wall == LevelWall::ExitGap)
        for (const WallPiece& w : kWallWithExit) block(grid, w.x, w.z);
    if (spec.wall == LevelWall::OpenBottom)
        for (const WallPiece& w : kWallOpenBottom) block(grid, w.x, w.z);

    // Every bus on the grid, no two pieces on one cell, bus 0 lengthwise in column 3.
    bool taken[8][8] = {};
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r) taken[c][r] = grid.blocked[c][r];
    for (const GridBus& b : grid.buses) {
        for (int k = 0; k < b.length; ++k) {
            const int c = b.alongZ ? b.column : b.column + k;
            const int r = b.alongZ ? b.row + k : b.row;
            if (c < 0 || c > 7 || r < 0 || r > 7) {
                grid.problem += "bus off the grid; ";
                continue;
            }
            if (taken[c][r]) grid.problem += "two pieces on one cell; ";
            taken[c][r] = true;
        }
    }
    if (grid.buses.empty() || !grid.buses[0].alongZ || grid.buses[0].column != 3)
        grid.problem += "bus 0 is not lengthwise in column 3; ";
    if (grid.buses.size() > 21) grid.problem += "too many buses for the solver; ";
    return grid;
}

SolverResult solveLevel(const LevelGrid& grid) {
    SolverResult result;
    if (!grid.problem.empty()) return result;
    const int n = static_cast<int>(grid.buses.size());
    State start = 0;
    for (int i = 0; i < n; ++i)
        start = withPos(start, i, grid.buses[i].alongZ ? grid.buses[i].row : grid.buses[i].column);

    struct Seen {
        State parent;
        SolverMove move;
        int depth;
    };
    std::unordered_map<State, Seen> seen;
    seen.emplace(start, Seen{start, {-1, 0, false}, 0});
    std::queue<State> queue;
    queue.push(start);
    State goal = 0;
    bool found = posOf(start, 0) == 0;
    if (found) goal = start;

    while (!found && !queue.empty()) {
        const State s = queue.front();
        queue.pop();
        const int depth = seen[s].depth;
        const Occupancy o = occupancy(grid, s);
        for (int i = 0; i < n && !found; ++i) {
            const GridBus& b = grid.buses[i];
            const int pos = posOf(s, i);
            // Backwards is towards higher rows or lower columns; forwards the other way.
            for (int dir : {-1, 1}) {
                for (int step = 1; step < 8; ++step) {
                    const int np = pos + dir * step;
                    if (np < 0 || np + b.length > 8) break;
                    // The cell the bus's leading end enters.
                    const int enter = dir > 0 ? np + b.length - 1 : np;
                    const bool free = b.alongZ ? !o.cell[b.column][enter] : !o.cell[enter][b.row];
                    if (!free) break;
                    const State next = withPos(s, i, np);
                    if (seen.count(next) != 0) continue;
                    const bool forward = b.alongZ ? dir < 0 : dir > 0;
                    seen.emplace(next, Seen{s, {i, step, forward}, depth + 1});
                    if (i == 0 && np == 0) {
                        found = true;
                        goal = next;
                        break;
                    }
                    queue.push(next);
                }
                if (found) break;
            }
        }
    }
    result.statesSeen = seen.size();
    if (!found) return result;
    result.solved = true;
    for (State s = goal; s != start; s = seen[s].parent)
        result.solution.insert(result.solution.begin(), seen[s].move);
    result.moves = static_cast<int>(result.solution.size());
    return result;
}

std::string describeMove(const LevelGrid& grid, const SolverMove& move) {
    const GridBus& b = grid.buses[move.bus];
    std::ostringstream out;
    out << "bus " << move.bus << " " << (move.forward ? "forward" : "backward") << " " << move.cells
        << (move.cells == 1 ? " cell" : " cells") << " ("
        << (b.alongZ ? (move.forward ? "-z" : "+z") : (move.forward ? "+x" : "-x")) << ")";
    return out.str();
}
