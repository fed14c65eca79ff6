// Which meshes may lose their back faces: only where none can show from the eye.
#include <gtest/gtest.h>

#include <vector>

#include "platform/hidden_faces.h"

namespace {

using Mesh = std::vector<float>;  // x, y, z per corner, three corners per triangle

// A 2 × 2 × 2 box at the origin, each face two triangles with its front side outwards; `skip` leaves
// out the face of that index (3 is the bottom), `inside` turns every face inside out.
Mesh Box(int skip = -1, bool inside = false) {
    const float c[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                           {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const int faces[6][4] = {{1, 2, 6, 5}, {0, 4, 7, 3}, {3, 7, 6, 2},
                             {0, 1, 5, 4}, {4, 5, 6, 7}, {0, 3, 2, 1}};
    Mesh m;
    for (int f = 0; f < 6; ++f) {
        if (f == skip) continue;
        const int* q = faces[f];
        for (int i : {0, 1, 2, 0, 2, 3}) {
            const int corner = q[inside ? (4 - i) % 4 : i];
            m.insert(m.end(), c[corner], c[corner] + 3);
        }
    }
    return m;
}

platform::MeshShape Shape(const Mesh& m) {
    return platform::AnalyseMeshShape(reinterpret_cast<const uint8_t*>(m.data()), 12, m.size() / 9);
}

TEST(HiddenFaces, BackFacesHideOnlyWhereNothingLetsTheEyeIn) {
    Mesh quad = Box();
    quad.resize(18);  // the +x face alone
    struct Case {
        const char* what;
        Mesh mesh;
        float eye[3];
        bool hidden;
    } cases[] = {
        {"closed box", Box(), {5, 4, 3}, true},
        {"closed box from below", Box(), {0, -6, 0}, true},
        {"box inside out", Box(-1, true), {5, 4, 3}, false},
        {"open bottom, eye above", Box(3), {2, 6, 1}, true},
        {"open bottom, eye below", Box(3), {0, -6, 0}, false},
        {"open bottom, eye level with it", Box(3), {6, -1, 0}, false},
        {"lone face seen from the front", quad, {6, 0, 0}, true},
        {"lone face seen from behind", quad, {-6, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::BackFacesHiddenFrom(Shape(c.mesh), c.eye), c.hidden) << c.what;
    Mesh twice = Box();  // two triangles on one directed edge are no surface
    twice.insert(twice.end(), twice.begin(), twice.begin() + 9);
    EXPECT_FALSE(Shape(twice).closed);
}

}  // namespace
