// The one shader program that emulates Direct3D's fixed-function pipeline.
#pragma once
#include <epoxy/gl.h>

#include <array>
#include <cstdint>

#include "platform/d3d9.h"

namespace platform {

constexpr int kMaxActiveLights = 8;

// Mirrors the std140 uniform block "FixedFunction" of the shaders.
struct FixedFunctionBlock {
    float worldViewProjection[16];  // Direct3D row-vector matrices, uploaded as they are
    float worldView[16];
    float normalMatrix[16];  // inverse transpose of worldView
    float materialDiffuse[4];
    float materialAmbient[4];
    float materialSpecular[4];
    float materialEmissive[4];
    float globalAmbient[4];
    float lightDiffuse[kMaxActiveLights][4];
    float lightSpecular[kMaxActiveLights][4];
    float lightAmbient[kMaxActiveLights][4];
    float lightPosition[kMaxActiveLights][4];   // view space; w: 1 point, 0 directional
    float lightDirection[kMaxActiveLights][4];  // view space, towards the light
    float lightParams[kMaxActiveLights][4];     // range, attenuation 0, 1, 2
    int32_t flags0[4];  // light count; the other switches are compiled into the program (ProgramKey)
    float misc[4];      // back-buffer width, height, alpha reference / 255, material power
};

// The switches compiled into one variant of the program (see BuildFixedFunctionProgram for their
// names): the state that decides which code a pixel runs, so that llvmpipe never runs code a state
// has switched off. Everything else travels in the uniform block.
constexpr size_t kProgramKeySize = 24;
using ProgramKey = std::array<int16_t, kProgramKeySize>;

// Whether every fragment of a draw certainly leaves the stages with alpha 1: the diffuse alpha and
// each bound texture's alpha are 1 where the stages' alpha operations read them, and the operations
// keep 1 (selecting, multiplying, adding). Reads the stage switches of `key`.
bool FragmentAlphaIsOne(const ProgramKey& key, bool diffuseOpaque, const bool textureOpaque[2]);

// Whether Direct3D's alpha test `func` (D3DCMP_*) against `ref` (0 to 255) passes an alpha of `alpha`.
bool AlphaTestPasses(int func, int ref, int alpha);

// Compiles and links the variant; 0 on failure. Binds the block to binding 0 and the samplers to
// units 0 and 1.
GLuint BuildFixedFunctionProgram(const ProgramKey& key);

}  // namespace platform
