// Which meshes may lose their back faces: only where none can show from the eye.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/automation.h"
#include "platform/hidden_faces.h"
#include "render_helpers.h"

namespace {

using Mesh = std::vector<float>;  // x, y, z per corner, three corners per triangle

// A 2 × 2 × 2 box at the origin, each face two triangles with its front side outwards; `skip` leaves
// out the face of that index (3 is the bottom), `inside` turns every face inside out.
Mesh Box(int skip = -1, bool inside = false) {
    const float c[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                           {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const int faces[6][4] = {{1, 2, 6, 5}, {0, 4, 7, 3}, {3, 7, 6, 2},
                             {0, 1, 5, 4}, {4, 5, 6, 7}, {0, 3, 2, 1}};
    Mesh m;
    for (int f = 0; f < 6; ++f) {
        if (f == skip) continue;
        const int* q = faces[f];
        for (int i : {0, 1, 2, 0, 2, 3}) {
            const int corner = q[inside ? (4 - i) % 4 : i];
            m.insert(m.end(), c[corner], c[corner] + 3);
        }
    }
    return m;
}

platform::MeshShape Shape(const Mesh& m) {
    return platform::AnalyseMeshShape(reinterpret_cast<const uint8_t*>(m.data()), 12, m.size() / 9);
}

TEST(HiddenFaces, BackFacesHideOnlyWhereNothingLetsTheEyeIn) {
    Mesh quad = Box();
    quad.resize(18);     // the +x face alone
    Mesh high = Box(2);  // open at the top, far above the origin: its opening's cover holds most volume
    for (size_t i = 1; i < high.size(); i += 3) high[i] += 10;
    Mesh notched = Box();  // the last triangle of the back (-z) face missing: a three-cornered opening
    notched.resize(notched.size() - 9);
    struct Case {
        const char* what;
        Mesh mesh;
        float eye[3];
        bool hidden;
    } cases[] = {
        {"closed box", Box(), {5, 4, 3}, true},
        {"closed box from below", Box(), {0, -6, 0}, true},
        {"three-cornered opening, eye in front", notched, {5, 4, 3}, true},
        {"three-cornered opening, eye behind", notched, {0, 0, -6}, false},
        {"three-cornered opening, eye behind and aside", notched, {-3, -3, -3}, false},
        {"box inside out", Box(-1, true), {5, 4, 3}, false},
        {"open bottom, eye above", Box(3), {2, 6, 1}, true},
        {"open bottom, eye below", Box(3), {0, -6, 0}, false},
        {"open bottom, eye level with it", Box(3), {6, -1, 0}, false},
        {"open top far above the origin, eye below", high, {0, 4, 0}, true},
        {"lone face seen from the front", quad, {6, 0, 0}, true},
        {"lone face seen from behind", quad, {-6, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::BackFacesHiddenFrom(Shape(c.mesh), c.eye), c.hidden) << c.what;
    Mesh twice = Box();  // two triangles on one directed edge are no surface
    twice.insert(twice.end(), twice.begin(), twice.begin() + 9);
    EXPECT_FALSE(Shape(twice).closed);
}

// Drawn by the device, the box seen from (5, 4, 3) shows the same picture with and without the lever
// wherever a back face can show: no depth test, no depth writes, a depth test that always passes,
// blending, an alpha test that fails on the faces towards the eye. Depth tested and written, the back
// faces may be dropped unseen.
TEST(HiddenFaces, TheDeviceDropsBackFacesOnlyWhereTheyCannotShow) {
    ASSERT_TRUE(CreateTestDevice(64, 48));
    const Mesh box = Box();
    // Faces towards the eye (+x, +y, +z: the even ones) half transparent; the last face first, so that
    // each back face is drawn before the front face that hides it and shows in the fragment count.
    std::vector<ColoredVertex> v;
    for (uint32_t face = 6; face-- > 0;)
        for (uint32_t i = face * 6; i < face * 6 + 6; ++i)
            v.push_back({box[3 * i], box[3 * i + 1], box[3 * i + 2], 0, 0, 0,
                         (face % 2 ? 0xFF000000u : 0x80000000u) | (0x3F2A55u * (face + 1) & 0xFFFFFFu)});
    IDirect3DVertexBuffer9* buffer = nullptr;
    void* data = nullptr;
    const UINT bytes = UINT(v.size() * sizeof v[0]);
    ASSERT_EQ(g_pDevice->CreateVertexBuffer(bytes, 0, 0x152, D3DPOOL_MANAGED, &buffer, nullptr), S_OK);
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
    std::memcpy(data, v.data(), bytes), buffer->Unlock();
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye{5, 4, 3}, at{0, 0, 0}, up{0, 1, 0};
    D3DXMatrixLookAtLH(&view, &eye, &at, &up), D3DXMatrixPerspectiveFovLH(&projection, 0.8f, 4.0f / 3, 1, 20);
    g_pDevice->SetTransform(D3DTS_VIEW, &view), g_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
    g_pDevice->SetStreamSource(0, buffer, 0, sizeof v[0]), g_pDevice->SetFVF(0x152);
    g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE), g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER),
        g_pDevice->SetRenderState(D3DRS_ALPHAREF, 0xA0);
    // Depth test, depth writes, blending, alpha test, a mirroring world (front faces wound as back), and
    // a depth test that always passes.
    const DWORD cases[][6] = {{0, 1, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0}, {1, 1, 0, 1, 0, 0},
                              {1, 1, 0, 0, 0, 0}, {1, 1, 0, 0, 1, 0}, {1, 1, 0, 0, 0, 1}};
    for (const auto& c : cases) {
        D3DXMATRIX world;
        g_pDevice->SetTransform(D3DTS_WORLD, D3DXMatrixScaling(&world, c[4] ? -1.0f : 1.0f, 1.0f, 1.0f));
        g_pDevice->SetRenderState(D3DRS_ZENABLE, c[0]), g_pDevice->SetRenderState(D3DRS_ZWRITEENABLE, c[1]);
        g_pDevice->SetRenderState(D3DRS_ZFUNC, c[5] ? D3DCMP_ALWAYS : D3DCMP_LESSEQUAL);
        Blend(c[2], D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, c[3]);
        Screen pictures[2];
        uint64_t fragments[2];
        for (bool lever : {true, false}) {
            SetSpeedLever("hiddenBackFaces", lever), SetFrameWorkCounting(true), ClearTo(0xFF000000u);
            g_pDevice->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 12), pictures[lever] = ReadScreen();
            g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
            fragments[lever] = LastFrameWork().fragmentsDrawn;
        }
        EXPECT_TRUE(pictures[0].argb == pictures[1].argb) << c[0] << c[1] << c[2] << c[3] << c[4] << c[5];
        // Only the plainly depth-tested box loses its back faces, and the fragments they drew.
        const bool dropped = c[0] && c[1] && !c[2] && !c[3] && !c[4] && !c[5];
        EXPECT_TRUE(dropped ? fragments[1] < fragments[0] : fragments[1] == fragments[0]) << &c - cases;
    }
    g_pDevice->SetStreamSource(0, nullptr, 0, 0), buffer->Release();
    DestroyTestDevice(), SetFrameWorkCounting(false);
}

}  // namespace
