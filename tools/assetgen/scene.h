// The town scenes.
#pragma once
#include <vector>

#include "mesh.h"

struct Scene {
    std::vector<SceneGroup> groups;
    Mesh mesh;
};

// detail 0 high (scenehi.geo), 1 medium (sceneme.geo), 2 low (scenelo.geo).
Scene BuildScene(int detail);
