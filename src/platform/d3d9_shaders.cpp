#include "platform/d3d9_shaders.h"

#include <SDL.h>

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
    ivec4 uFlags1;
    ivec4 uStage0Color;
    ivec4 uStage0Alpha;
    ivec4 uStage1Color;
    ivec4 uStage1Alpha;
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
    if (uFlags1.x != 0) {
        // Pre-transformed: pixel coordinates, z in 0..1, rhw = 1 / w.
        float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2(aPosition.x / uMisc.x * 2.0 - 1.0, 1.0 - aPosition.y / uMisc.y * 2.0);
        gl_Position = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
    } else {
        vec4 clip = uWorldViewProjection * vec4(aPosition.xyz, 1.0);
        gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
        if (uFlags0.y != 0) {
            vec3 P = (uWorldView * vec4(aPosition.xyz, 1.0)).xyz;
            vec3 N = (uNormalMatrix * vec4(aNormal, 0.0)).xyz;
            if (uFlags0.w != 0) {
                float len = length(N);
                if (len > 0.0) N /= len;
            }
            vec3 V = -P;
            float vlen = length(V);
            V = vlen > 0.0 ? V / vlen : vec3(0.0, 0.0, -1.0);
            vec4 materialDiffuse = uFlags1.y != 0 ? aDiffuse : uMaterialDiffuse;
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
                    if (uFlags0.z != 0) {
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
    }
    vColor = color;
    vColorFlat = color;
    vSpecular = specular;
    vSpecularFlat = specular;
    vTex0 = uStage0Color.w == 1 ? aTex1 : aTex0;
    vTex1 = uStage1Color.w == 1 ? aTex1 : aTex0;
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

vec4 Stage(ivec4 color, ivec4 alpha, vec4 diffuse, vec4 current, vec4 texel) {
    vec4 result;
    result.rgb = Combine(color.x, Argument(color.y, diffuse, current, texel).rgb,
                         Argument(color.z, diffuse, current, texel).rgb);
    if (alpha.x == 1) {
        result.a = current.a;
    } else {
        result.a = CombineAlpha(alpha.x, Argument(alpha.y, diffuse, current, texel).a,
                                Argument(alpha.z, diffuse, current, texel).a);
    }
    return result;
}

void main() {
    bool flatShade = uFlags1.z != 0;
    vec4 diffuse = flatShade ? vColorFlat : vColor;
    vec4 current = diffuse;
    // A stage whose colour operation is DISABLE ends the cascade; a stage without a texture passes
    // the current colour on.
    if (uStage0Color.x != 1) {
        if (uStage0Alpha.w != 0) current = Stage(uStage0Color, uStage0Alpha, diffuse, current, texture(uTexture0, vTex0));
        if (uStage1Color.x != 1 && uStage1Alpha.w != 0)
            current = Stage(uStage1Color, uStage1Alpha, diffuse, current, texture(uTexture1, vTex1));
    }
    if (uFlags0.z != 0 && uFlags0.y != 0) current.rgb = clamp(current.rgb + (flatShade ? vSpecularFlat : vSpecular), 0.0, 1.0);
    int func = uFlags1.w;
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

GLuint Compile(GLenum type, const char* body) {
    const char* sources[3] = {"#version 330 core\n", kBlock, body};
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 3, sources, nullptr);
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

GLuint BuildFixedFunctionProgram() {
    GLuint vs = Compile(GL_VERTEX_SHADER, kVertex);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragment);
    if (!vs || !fs) {
        if (vs) glDeleteShader(vs);
        if (fs) glDeleteShader(fs);
        return 0;
    }
    GLuint program = glCreateProgram();
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
