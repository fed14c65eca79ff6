// The resource set: which model slot is shiny, unlit, enlarged, and with which material.
#include "menu/resource_set.h"

#include <gtest/gtest.h>

#include "engine/config.h"

TEST(ResourceSet, SlotsGetTheirSwitchesScaleAndMaterial) {
    SoundEnabled = 0;  // no WAV file is opened
    ResourceSet set;
    set.Load();
    for (int slot = 0; slot < 16; ++slot) {
        const Model& m = set.models[slot];
        SCOPED_TRACE(slot);
        EXPECT_EQ(m.specular, slot <= 3 || slot == 6 || slot == 8 || slot == 12 ? 1 : 0);
        EXPECT_EQ(m.lighting, slot == 4 || slot == 7 ? 0 : 1);
        // Bodies stand 1.21 high; the exit marker is 1.1 larger all round; the selection marker as made.
        const float y = slot == 12 ? 1.0f : slot == 13 ? 1.1f : 1.21f;
        EXPECT_FLOAT_EQ(m.scale.y, y);
        EXPECT_FLOAT_EQ(m.scale.x, slot == 13 ? 1.1f : 1.0f);
        // The selection marker keeps the all-zero material; the exit marker glows less than a body.
        EXPECT_FLOAT_EQ(m.material.Diffuse.r, slot == 12 ? 0.0f : 1.0f);
        EXPECT_FLOAT_EQ(m.material.Power, slot == 12 ? 0.0f : 15.0f);
        EXPECT_FLOAT_EQ(m.material.Ambient.r, slot == 12 ? 0.0f : slot == 13 ? 0.5f : 0.4f);
        EXPECT_FLOAT_EQ(m.material.Emissive.b, slot == 12 ? 0.0f : slot == 13 ? 0.3f : 0.5f);
    }
    for (const Sound& sound : set.sounds) EXPECT_EQ(sound.loaded, 0);
}
