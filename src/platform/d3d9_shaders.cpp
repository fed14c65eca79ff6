#include "platform/d3d9_shaders.h"

#include <SDL.h>

#include <string>

#include "platform/program_cache.h"

namespace platform {
namespace {

const char* const kBlock = R"(
layout(std140) uniform FixedFunction {
    mat4 uWorldViewProjection;
    mat4 uWorldView;
    mat4 uNormalMatrix;
    vec4 uMaterialDiffuse;
    vec4 uMaterialAmbient;
    vec4 uMaterialSpecular;
    vec4 uMaterialEmissive;
    vec4 uGlobalAmbient;
    vec4 uLightDiffuse[8];
    vec4 uLightSpecular[8];
    vec4 uLightAmbient[8];
    vec4 uLightPosition[8];
    vec4 uLightDirection[8];
    vec4 uLightParams[8];
    ivec4 uFlags0;
    vec4 uMisc;
};
)";

const char* const kVertex = R"(
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec2 aTex0;
layout(location = 4) in vec2 aTex1;

out vec4 vColor;
flat out vec4 vColorFlat;
out vec3 vSpecular;
flat out vec3 vSpecularFlat;
out vec2 vTex0;
out vec2 vTex1;

void main() {
    vec4 color = aDiffuse;
    vec3 specular = vec3(0.0);
    #if PRETRANSFORMED
    {
        // Pre-transformed: pixel coordinates, z in 0..1, rhw = 1 / w.
        float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2(aPosition.x / uMisc.x * 2.0 - 1.0, 1.0 - aPosition.y / uMisc.y * 2.0);
        gl_Position = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
    }
#else
    {
        vec4 clip = uWorldViewProjection * vec4(aPosition.xyz, 1.0);
        gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
        #if LIGHTING
        {
            vec3 P = (uWorldView * vec4(aPosition.xyz, 1.0)).xyz;
            vec3 N = (uNormalMatrix * vec4(aNormal, 0.0)).xyz;
            if (NORMALIZE != 0) {
                float len = length(N);
                if (len > 0.0) N /= len;
            }
            vec3 V = -P;
            float vlen = length(V);
            V = vlen > 0.0 ? V / vlen : vec3(0.0, 0.0, -1.0);
            vec4 materialDiffuse = DIFFUSE_FROM_VERTEX != 0 ? aDiffuse : uMaterialDiffuse;
            vec3 ambient = vec3(0.0);
            vec3 diffuse = vec3(0.0);
            vec3 highlight = vec3(0.0);
            for (int i = 0; i < uFlags0.x; ++i) {
                vec3 L;
                float attenuation = 1.0;
                if (uLightPosition[i].w != 0.0) {
                    vec3 d = uLightPosition[i].xyz - P;
                    float dist = length(d);
                    if (dist > uLightParams[i].x) continue;
                    L = dist > 0.0 ? d / dist : vec3(0.0, 0.0, -1.0);
                    float denominator = uLightParams[i].y + uLightParams[i].z * dist + uLightParams[i].w * dist * dist;
                    attenuation = denominator > 0.0 ? 1.0 / denominator : 1.0;
                } else {
                    L = uLightDirection[i].xyz;
                }
                ambient += uLightAmbient[i].rgb * attenuation;
                float ndl = dot(N, L);
                if (ndl > 0.0) {
                    diffuse += uLightDiffuse[i].rgb * ndl * attenuation;
                    if (SPECULAR != 0) {
                        vec3 H = normalize(L + V);
                        float ndh = max(dot(N, H), 0.0);
                        float power = uMisc.w > 0.0 ? pow(ndh, uMisc.w) : 1.0;
                        highlight += uLightSpecular[i].rgb * power * attenuation;
                    }
                }
            }
            color.rgb = uMaterialEmissive.rgb + uMaterialAmbient.rgb * (uGlobalAmbient.rgb + ambient) +
                        materialDiffuse.rgb * diffuse;
            color.a = materialDiffuse.a;
            color = clamp(color, 0.0, 1.0);
            specular = clamp(uMaterialSpecular.rgb * highlight, 0.0, 1.0);
        }
#endif
    }
#endif
    vColor = color;
    vColorFlat = color;
    vSpecular = specular;
    vSpecularFlat = specular;
    vTex0 = TEX0_INDEX == 1 ? aTex1 : aTex0;
    vTex1 = TEX1_INDEX == 1 ? aTex1 : aTex0;
}
)";

const char* const kFragment = R"(
in vec4 vColor;
flat in vec4 vColorFlat;
in vec3 vSpecular;
flat in vec3 vSpecularFlat;
in vec2 vTex0;
in vec2 vTex1;
uniform sampler2D uTexture0;
uniform sampler2D uTexture1;
out vec4 fragColor;

// Arguments: 0 diffuse, 1 current, 2 texture.
vec4 Argument(int which, vec4 diffuse, vec4 current, vec4 texel) {
    int a = which & 7;
    if (a == 0) return diffuse;
    if (a == 2) return texel;
    return current;
}

vec3 Combine(int op, vec3 a, vec3 b) {
    if (op == 2) return a;
    if (op == 3) return b;
    if (op == 4) return a * b;
    if (op == 7) return clamp(a + b, 0.0, 1.0);
    if (op == 8) return clamp(a + b - 0.5, 0.0, 1.0);
    return a * b;
}

float CombineAlpha(int op, float a, float b) {
    if (op == 2) return a;
    if (op == 3) return b;
    if (op == 4) return a * b;
    if (op == 7) return clamp(a + b, 0.0, 1.0);
    if (op == 8) return clamp(a + b - 0.5, 0.0, 1.0);
    return a * b;
}

vec4 Stage(int cop, int ca1, int ca2, int aop, int aa1, int aa2, vec4 diffuse, vec4 current, vec4 texel) {
    vec4 result;
    result.rgb = Combine(cop, Argument(ca1, diffuse, current, texel).rgb, Argument(ca2, diffuse, current, texel).rgb);
    if (aop == 1) {
        result.a = current.a;
    } else {
        result.a = CombineAlpha(aop, Argument(aa1, diffuse, current, texel).a, Argument(aa2, diffuse, current, texel).a);
    }
    return result;
}

void main() {
#if FLAT
    vec4 diffuse = vColorFlat;
#else
    vec4 diffuse = vColor;
#endif
    vec4 current = diffuse;
    // A stage whose colour operation is DISABLE ends the cascade; a stage without a texture passes
    // the current colour on (such stages are compiled out).
#if STAGE0
    current = Stage(S0_COP, S0_CA1, S0_CA2, S0_AOP, S0_AA1, S0_AA2, diffuse, current, texture(uTexture0, vTex0));
#endif
#if STAGE1
    current = Stage(S1_COP, S1_CA1, S1_CA2, S1_AOP, S1_AA1, S1_AA2, diffuse, current, texture(uTexture1, vTex1));
#endif
#if SPECULAR_ADD
#if FLAT
    current.rgb = clamp(current.rgb + vSpecularFlat, 0.0, 1.0);
#else
    current.rgb = clamp(current.rgb + vSpecular, 0.0, 1.0);
#endif
#endif
    const int func = ALPHA_FUNC;
    if (func != 8) {
        float a = floor(current.a * 255.0 + 0.5);
        float ref = uMisc.z;
        bool pass;
        if (func == 1) pass = false;
        else if (func == 2) pass = a < ref;
        else if (func == 3) pass = a == ref;
        else if (func == 4) pass = a <= ref;
        else if (func == 5) pass = a > ref;
        else if (func == 6) pass = a != ref;
        else if (func == 7) pass = a >= ref;
        else pass = true;
        if (!pass) discard;
    }
    fragColor = current;
}
)";

GLuint Compile(GLenum type, const std::string& defines, const char* body) {
    const char* sources[4] = {"#version 330 core\n", defines.c_str(), kBlock, body};
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 4, sources, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        SDL_Log("shader compile failed: %s", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool FragmentAlphaIsOne(const ProgramKey& key, bool diffuseOpaque, const bool textureOpaque[2]) {
    bool current = diffuseOpaque;
    for (int s = 0; s < 2; ++s) {
        const int16_t* k = &key[10 + 7 * s];  // on, colour op, args, alpha op, args
        if (!k[0]) continue;
        const auto one = [&](int16_t arg) {
            if (arg == D3DTA_DIFFUSE) return diffuseOpaque;
            if (arg == D3DTA_TEXTURE) return textureOpaque[s];
            return current;
        };
        const bool a = one(k[5]), b = one(k[6]);
        switch (k[4]) {
            case D3DTOP_DISABLE:
                break;  // the stage passes the current alpha on
            case D3DTOP_SELECTARG1:
                current = a;
                break;
            case D3DTOP_SELECTARG2:
                current = b;
                break;
            case D3DTOP_ADD:
                current = a || b;  // clamped: 1 plus anything not negative
                break;
            default:
                current = a && b;  // modulate, and 1 + 1 - 0.5 for the signed add
                break;
        }
    }
    return current;
}

bool AlphaTestPasses(int func, int ref, int alpha) {
    switch (func) {
        case D3DCMP_NEVER:
            return false;
        case D3DCMP_LESS:
            return alpha < ref;
        case D3DCMP_EQUAL:
            return alpha == ref;
        case D3DCMP_LESSEQUAL:
            return alpha <= ref;
        case D3DCMP_GREATER:
            return alpha > ref;
        case D3DCMP_NOTEQUAL:
            return alpha != ref;
        case D3DCMP_GREATEREQUAL:
            return alpha >= ref;
        default:
            return true;
    }
}

GLuint BuildFixedFunctionProgram(const ProgramKey& key) {
    std::string defines;
    const char* names[] = {"PRETRANSFORMED", "LIGHTING",   "SPECULAR", "NORMALIZE",    "DIFFUSE_FROM_VERTEX",
                           "TEX0_INDEX",     "TEX1_INDEX", "FLAT",     "SPECULAR_ADD", "ALPHA_FUNC",
                           "STAGE0",         "S0_COP",     "S0_CA1",   "S0_CA2",       "S0_AOP",
                           "S0_AA1",         "S0_AA2",     "STAGE1",   "S1_COP",       "S1_CA1",
                           "S1_CA2",         "S1_AOP",     "S1_AA1",   "S1_AA2"};
    static_assert(sizeof(names) / sizeof(names[0]) == kProgramKeySize);
    for (size_t i = 0; i < kProgramKeySize; ++i)
        defines += "#define " + std::string(names[i]) + " " + std::to_string(key[i]) + "\n";
    const std::string sources = defines + kBlock + kVertex + kFragment;
    GLuint program = LoadCachedProgram(sources);
    if (!program) {
        GLuint vs = Compile(GL_VERTEX_SHADER, defines, kVertex);
        GLuint fs = Compile(GL_FRAGMENT_SHADER, defines, kFragment);
        if (!vs || !fs) {
            if (vs) glDeleteShader(vs);
            if (fs) glDeleteShader(fs);
            return 0;
        }
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        glDeleteShader(vs);
        glDeleteShader(fs);
        GLint ok = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            char log[2048] = {};
            glGetProgramInfoLog(program, sizeof(log), nullptr, log);
            SDL_Log("shader link failed: %s", log);
            glDeleteProgram(program);
            return 0;
        }
        SaveCachedProgram(program, sources);
    }
    GLuint blockIndex = glGetUniformBlockIndex(program, "FixedFunction");
    if (blockIndex == GL_INVALID_INDEX) {
        glDeleteProgram(program);
        return 0;
    }
    glUniformBlockBinding(program, blockIndex, 0);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "uTexture0"), 0);
    glUniform1i(glGetUniformLocation(program, "uTexture1"), 1);
    return program;
}

}  // namespace platform
