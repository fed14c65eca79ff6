// Writes small scene files for the tests.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct GroupRecord {
    int index = 0;
    std::vector<int> textureIds{9001};  // no such bitmap: creation fails without touching the device
    float frameDuration = 0.0f;
    int blendMode = 0;
    int textureMode = 0;
    int materialKind = 0;
    int specular = 0;
    int smooth = 0;
};

struct FaceRecord {
    int index = 0;
    int group = 0;
    float v[3][5] = {};  // x, y, z, u, v of the three corners in file order
};

inline std::string SceneText(int groupCount, int faceCount, const std::vector<GroupRecord>& groups,
                             const std::vector<FaceRecord>& faces) {
    std::string s = "MinPolygonsInNode 50\nNumGroups " + std::to_string(groupCount) + "\nNumFaces " +
                    std::to_string(faceCount) + "\n";
    char line[256];
    for (const auto& g : groups) {
        s += "Material\nIndex " + std::to_string(g.index) + "\nTextures " +
             std::to_string(g.textureIds.size()) + "\n";
        std::snprintf(line, sizeof line, "Duration %.9g\n", g.frameDuration);
        s += line;
        for (int id : g.textureIds) s += "Texture 7 " + std::to_string(id) + "\n";
        s += "Blend " + std::to_string(g.blendMode) + "\nMode " + std::to_string(g.textureMode) + "\nKind " +
             std::to_string(g.materialKind) + "\nUnused 0\nSpecular " + std::to_string(g.specular) +
             "\nSmooth " + std::to_string(g.smooth) + "\n";
    }
    for (const auto& f : faces) {
        s += "Face\nIndex " + std::to_string(f.index) + "\nGroup " + std::to_string(f.group) + "\n";
        for (const auto& c : f.v) {
            std::snprintf(line, sizeof line, "%.9g %.9g %.9g %.9g %.9g\n", c[0], c[1], c[2], c[3], c[4]);
            s += line;
        }
    }
    return s;
}

inline FaceRecord Face(int index, int group, std::vector<float> corners) {
    FaceRecord f;
    f.index = index;
    f.group = group;
    for (int n = 0; n < 3; ++n) {
        for (int i = 0; i < 5; ++i) f.v[n][i] = corners[5 * n + i];
    }
    return f;
}
