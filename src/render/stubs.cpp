// Placeholder bodies until the asset readers land; this file is deleted then.
#include "engine/sound.h"
#include "render/helpers.h"
#include "render/model.h"
#include "render/panel.h"
#include "render/scene.h"
#include "render/text_font.h"

Vector3 VecSubtract(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 VecAdd(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 VecCross(Vector3 a, Vector3) { return a; }
float VecDot(Vector3, Vector3) { return 0; }
float VecLength(Vector3) { return 0; }
void VecNormalize(Vector3*) {}
float Distance(Vector3, Vector3) { return 0; }
float AngleBetween(Vector3, Vector3, Vector3) { return 0; }
Plane PlaneFromPoints(Vector3, Vector3, Vector3) { return {}; }
D3DXMATRIX BuildWorldMatrix(Vector3, Vector3, Vector3) { return {}; }
Vector3 UnprojectScreenPoint(float, float) { return {}; }
D3DMATERIAL9 MakeMaterial(Color4, Color4, Color4, Color4, float) { return {}; }
D3DCOLOR ToD3DColor(Color4) { return 0; }
float VirtualToScreenX(float x) { return x; }
float VirtualToScreenY(float y) { return y; }

Panel::~Panel() {}
void Panel::Create(float, float, int32_t) {}
void Panel::AddFrame(int32_t, Color4) {}
void Panel::SetPosition(Vector3) {}
void Panel::Rebuild() {}
uint8_t Panel::Contains(Vector3) { return 0; }
void Panel::Draw() {}
void Panel::Release() {}

TextFont::~TextFont() {}
void TextFont::Create(int32_t, int32_t, const char*) {}
void TextFont::Draw(int32_t, int32_t, Color4, const char*) {}
void TextFont::Release() {}

Model::~Model() {}
void Model::Load(const char*) {}
void Model::LoadTexture(int32_t) {}
void Model::SetMaterial(D3DMATERIAL9 m) { material = m; }
void Model::Draw() {}
void Model::Release() {}

void Scene::Load(const char*) {}
void Scene::Release() {}
void Scene::Draw() {}
void Scene::DrawGroup(int32_t) {}
void Scene::SetMaterial(int32_t) {}
void Scene::SetBlend(int32_t) {}

SoundObserver g_soundObserver;
Sound::~Sound() {}
void Sound::Load(const char* path) { file = path; }
void Sound::Play(uint8_t) {}
void Sound::Stop() {}
void SoundStartup() {}
void SoundShutdown() {}
