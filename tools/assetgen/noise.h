// Deterministic randomness for the generator: a small PRNG and smooth value noise.
#pragma once
#include <cmath>
#include <cstdint>

class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t Next() {
        // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // Uniform in [0, 1).
    double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    int Below(int n) { return int(Next() % uint32_t(n)); }

private:
    uint32_t state_;
};

inline uint32_t HashInts(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

inline double Lattice(int x, int y, uint32_t seed) {
    return (HashInts(x, y, seed) & 0xFFFFFF) / 16777215.0;
}

// Smooth value noise in [0, 1], repeating every `period` lattice cells in x and y (period > 0).
inline double ValueNoise(double x, double y, int period, uint32_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int a, int b) {
        a = ((a % period) + period) % period;
        b = ((b % period) + period) % period;
        return Lattice(a, b, seed);
    };
    double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Fractal sum of octaves, in [0, 1]; u and v in [0, 1) map once over the repeating tile.
inline double TileNoise(double u, double v, int baseCells, int octaves, uint32_t seed) {
    double sum = 0, amp = 1, norm = 0;
    int cells = baseCells;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * ValueNoise(u * cells, v * cells, cells, seed + uint32_t(o) * 101u);
        norm += amp;
        amp *= 0.5;
        cells *= 2;
    }
    return sum / norm;
}
