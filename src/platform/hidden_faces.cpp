#include "platform/hidden_faces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace platform {
namespace {

struct Vec {
    double x, y, z;
};

Vec Minus(const Vec& a, const Vec& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec Cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

void ReadPosition(const uint8_t* positions, size_t stride, size_t vertex, float out[3]) {
    std::memcpy(out, positions + vertex * stride, 3 * sizeof(float));
}

struct PositionHash {
    size_t operator()(const std::array<uint32_t, 3>& p) const {
        return (static_cast<size_t>(p[0]) * 0x9E3779B97F4A7C15ull) ^
               (static_cast<size_t>(p[1]) * 0xC2B2AE3D27D4EB4Full) ^ p[2];
    }
};

int Find(std::vector<int>& parent, int i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
}

}  // namespace

MeshShape AnalyseMeshShape(const uint8_t* positions, size_t stride, size_t triangles) {
    MeshShape shape;
    if (triangles == 0) return shape;

    // One id per distinct position (bit for bit: the triangles of a surface share exact corners).
    std::unordered_map<std::array<uint32_t, 3>, uint32_t, PositionHash> ids;
    std::vector<Vec> points;
    std::vector<uint32_t> corners(triangles * 3);
    for (int k = 0; k < 3; ++k) shape.low[k] = shape.high[k] = 0;
    for (size_t v = 0; v < corners.size(); ++v) {
        float p[3];
        ReadPosition(positions, stride, v, p);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) return shape;
        std::array<uint32_t, 3> bits;
        std::memcpy(bits.data(), p, sizeof bits);
        auto [it, added] = ids.emplace(bits, static_cast<uint32_t>(points.size()));
        if (added) points.push_back({p[0], p[1], p[2]});
        corners[v] = it->second;
        for (int k = 0; k < 3; ++k) {
            shape.low[k] = v == 0 ? p[k] : std::min(shape.low[k], p[k]);
            shape.high[k] = v == 0 ? p[k] : std::max(shape.high[k], p[k]);
        }
    }

    // Each directed edge once; its reverse, when present, belongs to the neighbouring triangle.
    std::unordered_map<uint64_t, uint32_t> edges;
    edges.reserve(corners.size() * 2);
    const auto key = [](uint32_t a, uint32_t b) { return (static_cast<uint64_t>(a) << 32) | b; };
    for (size_t t = 0; t < triangles; ++t) {
        for (int k = 0; k < 3; ++k) {
            const uint32_t a = corners[3 * t + k], b = corners[3 * t + (k + 1) % 3];
            if (a == b || !edges.emplace(key(a, b), static_cast<uint32_t>(t)).second) return shape;
        }
    }

    // Pieces: triangles joined by an edge.
    std::vector<int> parent(triangles);
    std::iota(parent.begin(), parent.end(), 0);
    // The openings: each edge without a reverse gives the missing face the reverse edge.
    std::unordered_map<uint32_t, uint32_t> missingNext;   // start vertex -> end vertex
    std::unordered_map<uint32_t, uint32_t> missingPiece;  // start vertex -> a triangle of its piece
    for (const auto& [edge, t] : edges) {
        const uint32_t a = static_cast<uint32_t>(edge >> 32), b = static_cast<uint32_t>(edge);
        auto reverse = edges.find(key(b, a));
        if (reverse != edges.end()) {
            parent[Find(parent, static_cast<int>(t))] = Find(parent, static_cast<int>(reverse->second));
        } else {
            if (!missingNext.emplace(b, a).second) return shape;  // two openings touch at a corner
            missingPiece[b] = t;
        }
    }

    std::vector<double> volume(triangles, 0.0);  // per piece, at its root
    const auto det = [&](uint32_t a, uint32_t b, uint32_t c) {
        return Dot(points[a], Cross(points[b], points[c]));
    };
    for (size_t t = 0; t < triangles; ++t)
        volume[Find(parent, static_cast<int>(t))] +=
            det(corners[3 * t], corners[3 * t + 1], corners[3 * t + 2]);

    double size = 0.0;
    for (int k = 0; k < 3; ++k) size = std::max(size, static_cast<double>(shape.high[k]) - shape.low[k]);
    const double margin = 1e-6 * std::max(size, 1e-3);

    // Close each opening with a fan from its first corner; the fan must turn one way (a flat convex
    // face) and give each of its triangles a plane.
    std::unordered_map<uint32_t, bool> visited;
    for (const auto& [start, next] : missingNext) {
        if (visited[start]) continue;
        std::vector<uint32_t> loop;
        for (uint32_t v = start;;) {
            if (visited[v]) return shape;  // a path that does not come back to its start
            visited[v] = true;
            loop.push_back(v);
            auto it = missingNext.find(v);
            if (it == missingNext.end()) return shape;
            v = it->second;
            if (v == start) break;
        }
        if (loop.size() < 3) return shape;
        Vec normal{0, 0, 0};
        for (size_t i = 0; i < loop.size(); ++i) {
            const Vec& p = points[loop[i]];
            const Vec& q = points[loop[(i + 1) % loop.size()]];
            normal = {normal.x + (p.y - q.y) * (p.z + q.z), normal.y + (p.z - q.z) * (p.x + q.x),
                      normal.z + (p.x - q.x) * (p.y + q.y)};
        }
        const int piece = Find(parent, static_cast<int>(missingPiece[start]));
        const Vec& origin = points[loop[0]];
        for (size_t i = 1; i + 1 < loop.size(); ++i) {
            const Vec n = Cross(Minus(points[loop[i]], origin), Minus(points[loop[i + 1]], origin));
            volume[piece] += det(loop[0], loop[i], loop[i + 1]);
            const double length = std::sqrt(Dot(n, n));
            if (length <= 1e-12 * std::max(size * size, 1e-12)) continue;  // a sliver adds no face
            // A fan triangle turning against the whole loop: the face is not convex.
            if (Dot(normal, n) <= 0.0) return shape;
            const double d = -Dot(n, origin) / length;
            shape.openings.insert(shape.openings.end(),
                                  {static_cast<float>(n.x / length), static_cast<float>(n.y / length),
                                   static_cast<float>(n.z / length), static_cast<float>(d + margin)});
        }
    }

    // Front sides outwards: a piece's closed volume is not negative (a flat piece gives 0).
    const double tolerance = 1e-6 * std::max(size * size * size, 1e-9);
    for (size_t t = 0; t < triangles; ++t) {
        if (Find(parent, static_cast<int>(t)) == static_cast<int>(t) && volume[t] < -tolerance) return shape;
    }
    shape.closed = true;
    return shape;
}

bool BackFacesHiddenFrom(const MeshShape& shape, const float eye[3]) {
    if (!shape.closed) return false;
    for (size_t i = 0; i + 3 < shape.openings.size(); i += 4) {
        const float* p = &shape.openings[i];
        if (p[0] * eye[0] + p[1] * eye[1] + p[2] * eye[2] + p[3] >= 0.0f) return false;
    }
    return true;
}

uint64_t HashMeshPositions(const uint8_t* positions, size_t stride, size_t triangles) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ triangles;
    for (size_t v = 0; v < triangles * 3; ++v) {
        uint32_t bits[3];
        std::memcpy(bits, positions + v * stride, sizeof bits);
        for (uint32_t b : bits) {
            h ^= b;
            h *= 0xFF51AFD7ED558CCDull;
            h ^= h >> 29;
        }
    }
    return h;
}

}  // namespace platform
