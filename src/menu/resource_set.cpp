// Every animated model and sound of the game, loaded once at start-up into fixed slots.
#include "menu/resource_set.h"

#include "render/helpers.h"

namespace {

// A slot of the common kind: switches before the file is read; scale, texture and material after.
enum Switches { kNoSwitches, kSpecularOn, kSpecularOff, kLightingOff };

void LoadBodySlot(Model& model, const char* path, int32_t texture, Switches switches,
                  const D3DMATERIAL9& material) {
    if (switches == kSpecularOn) model.specular = 1;
    if (switches == kSpecularOff) model.specular = 0;
    if (switches == kLightingOff) model.lighting = 0;
    model.Load(path);
    model.scale = MakeVector(1.0f, 1.21f, 1.0f);
    model.LoadTexture(texture);
    model.SetMaterial(material);
}

}  // namespace

void ResourceSet::Load() {
    // MakeMaterial takes the ambient colour first, then diffuse, specular, emissive and the power.
    const D3DMATERIAL9 body =
        MakeMaterial(Color4{0.4f, 0.4f, 0.4f, 0.0f}, Color4{1.0f, 1.0f, 1.0f, 0.0f},
                     Color4{1.0f, 1.0f, 1.0f, 0.0f}, Color4{0.5f, 0.5f, 0.5f, 0.0f}, 15.0f);

    // The selection marker keeps the default scale and the all-zero material.
    models[12].specular = 1;
    models[12].Load("models/arrow.shd");
    models[12].LoadTexture(179);

    // The exit marker: the same arrow, larger, with its own material.
    models[13].specular = 0;
    models[13].Load("models/arrow.shd");
    models[13].LoadTexture(182);
    models[13].scale = MakeVector(1.1f, 1.1f, 1.1f);
    models[13].SetMaterial(MakeMaterial(Color4{0.5f, 0.5f, 0.5f, 0.0f}, Color4{1.0f, 1.0f, 1.0f, 0.0f},
                                        Color4{1.0f, 1.0f, 1.0f, 0.0f}, Color4{0.3f, 0.3f, 0.3f, 0.0f},
                                        15.0f));

    // The two-cell bus in its four liveries, its interior and wheels, the articulated bus, the
    // trolleybus, three cars, the barrier and the wall piece.
    LoadBodySlot(models[0], "models/karosa.shd", 190, kSpecularOn, body);
    LoadBodySlot(models[2], "models/karosa.shd", 186, kSpecularOn, body);
    LoadBodySlot(models[1], "models/karosa.shd", 185, kSpecularOn, body);
    LoadBodySlot(models[3], "models/karosa.shd", 187, kSpecularOn, body);
    LoadBodySlot(models[4], "models/karosaint.shd", 188, kLightingOff, body);
    LoadBodySlot(models[5], "models/karosakol.shd", 189, kNoSwitches, body);
    LoadBodySlot(models[6], "models/ikarus.shd", 183, kSpecularOn, body);
    LoadBodySlot(models[7], "models/ikarusint.shd", 184, kLightingOff, body);
    LoadBodySlot(models[8], "models/elektr.shd", 181, kSpecularOn, body);
    LoadBodySlot(models[9], "models/Skoda.shd", 192, kSpecularOff, body);
    LoadBodySlot(models[10], "models/Skoda.shd", 193, kSpecularOff, body);
    LoadBodySlot(models[11], "models/Skoda.shd", 191, kSpecularOff, body);
    LoadBodySlot(models[14], "models/zabrana1.shd", 178, kNoSwitches, body);
    LoadBodySlot(models[15], "models/zabrana2.shd", 178, kNoSwitches, body);

    // Sound::Load does nothing while sound is switched off.
    sounds[kSoundClick].Load("sounds/klik.wav");
    sounds[kSoundCrash1].Load("sounds/naraz1.wav");
    sounds[kSoundCrash2].Load("sounds/naraz2.wav");
    sounds[kSoundComplete].Load("sounds/konec.wav");
    sounds[kSoundStart].Load("sounds/start.wav");
    sounds[kSoundOutro].Load("sounds/outro.wav");
    sounds[kSoundNightLoop].Load("sounds/noc.wav");
    sounds[kSoundDayLoop].Load("sounds/den.wav");
}
