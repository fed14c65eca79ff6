// The resource set: which model slot is shiny, unlit, enlarged, and with which material.
#include "menu/resource_set.h"

#include <gtest/gtest.h>

#include "engine/config.h"

namespace {

TEST(ResourceSetTest, SlotsGetTheirSwitchesScaleAndMaterial) {
    SoundEnabled = 0;  // no WAV file is opened
    ResourceSet set;
    set.Load();

    const int specularOn[] = {0, 1, 2, 3, 6, 8, 12};
    for (int slot : specularOn) EXPECT_EQ(set.models[slot].specular, 1) << slot;
    for (int slot : {4, 5, 7, 9, 10, 11, 13, 14, 15}) EXPECT_EQ(set.models[slot].specular, 0) << slot;
    for (int slot = 0; slot < 16; ++slot)
        EXPECT_EQ(set.models[slot].lighting, slot == 4 || slot == 7 ? 0 : 1) << slot;

    for (int slot = 0; slot < 16; ++slot) {
        const Vector3 s = set.models[slot].scale;
        if (slot == 12) {
            EXPECT_EQ(s.x, 1.0f);
            EXPECT_EQ(s.y, 1.0f);
        } else if (slot == 13) {
            EXPECT_FLOAT_EQ(s.x, 1.1f);
            EXPECT_FLOAT_EQ(s.y, 1.1f);
            EXPECT_FLOAT_EQ(s.z, 1.1f);
        } else {
            EXPECT_FLOAT_EQ(s.y, 1.21f) << slot;
            EXPECT_EQ(s.x, 1.0f) << slot;
        }
    }

    // The selection marker keeps the all-zero material; the exit marker glows less than a body.
    EXPECT_EQ(set.models[12].material.Power, 0.0f);
    EXPECT_EQ(set.models[12].material.Diffuse.r, 0.0f);
    for (int slot = 0; slot < 16; ++slot) {
        if (slot == 12) continue;
        const D3DMATERIAL9& m = set.models[slot].material;
        EXPECT_FLOAT_EQ(m.Diffuse.r, 1.0f);
        EXPECT_FLOAT_EQ(m.Diffuse.a, 0.0f);
        EXPECT_FLOAT_EQ(m.Specular.g, 1.0f);
        EXPECT_FLOAT_EQ(m.Power, 15.0f);
        EXPECT_FLOAT_EQ(m.Ambient.r, slot == 13 ? 0.5f : 0.4f) << slot;
        EXPECT_FLOAT_EQ(m.Emissive.b, slot == 13 ? 0.3f : 0.5f) << slot;
    }
    for (const Sound& sound : set.sounds) EXPECT_EQ(sound.loaded, 0);
}

}  // namespace
