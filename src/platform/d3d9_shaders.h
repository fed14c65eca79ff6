// The one shader program that emulates Direct3D's fixed-function pipeline.
#pragma once
#include <epoxy/gl.h>

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
    int32_t flags0[4];                          // light count, lighting, specular enable, normalize normals
    int32_t flags1[4];       // pre-transformed, vertex has diffuse, flat shading, alpha function
    int32_t stage0Color[4];  // op, arg1, arg2, texture coordinate index
    int32_t stage0Alpha[4];  // op, arg1, arg2, texture bound
    int32_t stage1Color[4];
    int32_t stage1Alpha[4];
    float misc[4];  // back-buffer width, height, alpha reference / 255, material power
};

// Compiles and links the program; 0 on failure. Binds the block to binding 0 and the samplers to
// units 0 and 1.
GLuint BuildFixedFunctionProgram();

}  // namespace platform
