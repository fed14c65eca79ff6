// Which back faces of a mesh can never be seen, so that drawing can leave them out.
//
// A mesh whose triangles join edge to edge into surfaces with their front sides outwards hides its
// back faces behind its front faces, as long as the eye is outside it and cannot look in through an
// opening. An opening (a loop of edges that belong to one triangle only) is closed by a "missing
// face"; the eye cannot look in through it while it is behind the missing face's plane (a box
// without a bottom, seen from above). The device culls the back faces of an opaque draw whose shape
// passes these tests for the eye of that draw: the picture stays the same.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct MeshShape {
    // Every edge joins two triangles that agree on their winding, or lies on an opening that a flat
    // convex missing face closes; every piece has its front sides outwards.
    bool closed = false;
    float low[3] = {0, 0, 0};  // bounding box
    float high[3] = {0, 0, 0};
    // The missing faces' planes: a, b, c, d with (a, b, c) towards the face's front side.
    std::vector<float> openings;
};

// Analyses `triangles` triangles, three vertices each, whose positions (three floats) start at
// `positions` and lie `stride` bytes apart.
MeshShape AnalyseMeshShape(const uint8_t* positions, size_t stride, size_t triangles);

// Whether no back face of a closed shape can show to an eye at `eye` (model space).
bool BackFacesHiddenFrom(const MeshShape& shape, const float eye[3]);

// A hash of the positions AnalyseMeshShape would read, to find a shape analysed before.
uint64_t HashMeshPositions(const uint8_t* positions, size_t stride, size_t triangles);

}  // namespace platform
