// Writes small scene files for the tests.
#pragma once
#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

struct GroupRecord {
    int index = 0;
    std::vector<int> textureIds{9001};  // no such bitmap: creation fails without touching the device
    float frameDuration = 0.0f;
    int blendMode = 0, textureMode = 0, materialKind = 0, specular = 0, smooth = 0;
};

struct FaceRecord {
    int index = 0, group = 0;
    float v[3][5] = {};  // x, y, z, u, v of the three corners in file order
};

inline std::string SceneText(int groupCount, int faceCount, const std::vector<GroupRecord>& groups,
                             const std::vector<FaceRecord>& faces) {
    auto n = [](auto v) { return (std::ostringstream() << std::setprecision(9) << v).str(); };
    std::string s = "MinPolygonsInNode 50\nNumGroups " + n(groupCount) + "\nNumFaces " + n(faceCount) + "\n";
    for (const auto& g : groups) {
        s += "Material\nIndex " + n(g.index) + "\nTextures " + n(g.textureIds.size()) + "\nDuration " +
             n(g.frameDuration) + "\n";
        for (int id : g.textureIds) s += "Texture 7 " + n(id) + "\n";
        s += "Blend " + n(g.blendMode) + "\nMode " + n(g.textureMode) + "\nKind " + n(g.materialKind) +
             "\nUnused 0\nSpecular " + n(g.specular) + "\nSmooth " + n(g.smooth) + "\n";
    }
    for (const auto& f : faces) {
        s += "Face\nIndex " + n(f.index) + "\nGroup " + n(f.group) + "\n";
        for (const auto& c : f.v)
            s += n(c[0]) + " " + n(c[1]) + " " + n(c[2]) + " " + n(c[3]) + " " + n(c[4]) + "\n";
    }
    return s;
}

inline FaceRecord Face(int index, int group, std::vector<float> corners) {
    FaceRecord f{index, group};
    std::copy_n(corners.begin(), 15, &f.v[0][0]);
    return f;
}
