// The device draws what Direct3D 9 would: pixels read back from llvmpipe.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/platform_internal.h"
#include "render_helpers.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u, kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kWhite = 0xFFFFFFFFu;

// Resident kilobytes of a library's code (its executable mappings), as the kernel counts.
int CodeResidentKb(const char* library) {
    std::ifstream smaps("/proc/self/smaps");
    int kb = 0, rss = 0;
    bool code = false;
    for (std::string line; std::getline(smaps, line);) {
        if (!std::isupper(static_cast<unsigned char>(line[0])))  // a mapping's first line, not a figure
            code = line.find(" r-xp ") != std::string::npos && line.find(library) != std::string::npos;
        else if (code && std::sscanf(line.c_str(), "Rss: %d", &rss) == 1) kb += rss;
    }
    return kb;
}

// Whether the mapping holding `address` is the heap, and whether it is advised for large pages.
std::pair<bool, bool> HeapAndLargePages(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<uintptr_t>(address);
    bool holds = false, heap = false;
    for (std::string line; std::getline(smaps, line);) {
        unsigned long start = 0, end = 0;
        if (!std::isupper(static_cast<unsigned char>(line[0])) &&
            std::sscanf(line.c_str(), "%lx-%lx", &start, &end) == 2) {
            holds = start <= at && at < end;
            heap = line.find("[heap]") != std::string::npos;
        } else if (holds && line.rfind("VmFlags:", 0) == 0) {
            return {heap, line.find(" hg") != std::string::npos};
        }
    }
    return {false, false};
}

class DeviceRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTestDevice(64, 48));
        ClearTo(kBlack), g_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
        g_pDevice->SetTexture(0, nullptr);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        for (auto t : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) g_pDevice->SetTransform(t, &identity);
    }
    void TearDown() override { DestroyTestDevice(); }
};

// Under the default culling too: the panel's fan order is clockwise on screen.
TEST_F(DeviceRender, PretransformedQuadsLandOnExactPixelsKeepTheNearerSurfaceAndBlend) {
    DrawScreenQuad(10, 10, 20, 20, kRed);
    const uint32_t pixels[][3] = {{10, 10, kRed},  {19, 19, kRed},   {9, 10, kBlack},
                                  {10, 9, kBlack}, {20, 15, kBlack}, {15, 20, kBlack}};
    for (auto [x, y, color] : pixels) EXPECT_EQ(ReadPixel(x, y), color) << x << "," << y;
    DrawScreenQuad(0, 0, 64, 48, kGreen);  // the whole target, edge pixels included
    for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}}) EXPECT_EQ(ReadPixel(x, y), kGreen);

    g_pDevice->SetRenderState(D3DRS_ZENABLE, TRUE), ClearTo(kBlack), DrawScreenQuad(0, 0, 64, 48, kRed, 0.2f);
    DrawScreenQuad(0, 0, 64, 48, kGreen, 0.6f);
    EXPECT_EQ(ReadPixel(30, 30), kRed);
    g_pDevice->SetRenderState(D3DRS_ZENABLE, FALSE), DrawScreenQuad(0, 0, 64, 48, kGreen, 0.6f);
    EXPECT_EQ(ReadPixel(30, 30), kGreen);

    // A frame's end lets go of the compiler's code; the new states below are compiled all the same.
    // Only the compiler's: the window library's code stays.
    const int compiling = CodeResidentKb("libLLVM"), windowing = CodeResidentKb("libSDL2");
    g_pDevice->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_LT(CodeResidentKb("libLLVM") * 4, compiling);  // the page holding the headers is read again
    EXPECT_GE(CodeResidentKb("libSDL2"), windowing);

    // A clear fills every channel from its own; alpha blending mixes, additive blending adds.
    ClearTo(0xFF204080u);
    EXPECT_EQ(ReadPixel(63, 47), 0xFF204080u);
    ClearTo(0xFF0000FFu), Blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    DrawScreenQuad(0, 0, 32, 48, 0x80FF0000u);
    EXPECT_NEAR(Red(ReadPixel(5, 5)), 128, 2);
    EXPECT_NEAR(Blue(ReadPixel(5, 5)), 127, 2);
    Blend(TRUE, D3DBLEND_ONE, D3DBLEND_ONE), DrawScreenQuad(32, 0, 64, 48, kGreen);
    EXPECT_EQ(ReadPixel(40, 5), 0xFF00FFFFu);
    Blend(FALSE, D3DBLEND_ZERO, D3DBLEND_ZERO);  // the game's "blend off" simply replaces
    DrawScreenQuad(0, 0, 8, 8, 0x10FFFFFFu);
    EXPECT_EQ(ReadPixel(2, 2), kWhite);
}

// The OpenGL context lives while the Direct3D object or a device holds it, and not after; its swaps
// never wait for the display's retrace (the game keeps its own frame cap).
TEST_F(DeviceRender, TheContextOutlivesTheDeviceWhileDirect3DHoldsItAndNeverWaitsForTheRetrace) {
    EXPECT_EQ(platform::GlSwapInterval(), 0);
    const uint32_t generation = platform::GlContextGeneration();
    g_pDevice->Release(), g_pDevice = nullptr;
    EXPECT_TRUE(platform::GlContextAlive(generation));
    g_pD3D->Release(), g_pD3D = nullptr;
    EXPECT_FALSE(platform::GlContextAlive(generation));
}

// Made after the first device, a texture-sized block comes from the heap, in pages advised to be large.
TEST_F(DeviceRender, BlocksAfterTheFirstDeviceComeFromTheHeapInLargePages) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator has no heap of the C library's";
#endif
    if (!std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled")) GTEST_SKIP() << "no large pages";
    // A block freed into the heap's top must not give the region back (volatile: kept by the compiler).
    void* volatile freed = std::malloc(8 << 20);
    std::free(freed);
    std::vector<uint32_t> texels(1024 * 1024);
    for (const uint32_t* at : {&texels.front(), &texels.back()})
        EXPECT_EQ(HeapAndLargePages(at), std::pair(true, true));
    // The block that grew the heap went back to it: far less than its 30 MiB is in use.
    EXPECT_LT(mallinfo2().uordblks, size_t{30} << 20);
}

TEST_F(DeviceRender, CullingRemovesTheSideDirect3DRemoves) {
    g_pDevice->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    const DWORD cases[][3] = {{D3DCULL_CCW, 1, 1},
                              {D3DCULL_CCW, 0, 0},
                              {D3DCULL_CW, 1, 0},
                              {D3DCULL_CW, 0, 1},
                              {D3DCULL_NONE, 1, 1}};
    for (auto [cull, clockwise, drawn] : cases) {
        ClearTo(kBlack), g_pDevice->SetRenderState(D3DRS_CULLMODE, cull);
        // Bottom left, top, bottom right in normalised device coordinates: clockwise as seen.
        ColoredVertex v[3] = {{-0.5f, -0.5f, 0.5f, 0, 0, -1, kRed},
                              {0, 0.5f, 0.5f, 0, 0, -1, kRed},
                              {0.5f, -0.5f, 0.5f, 0, 0, -1, kRed}};
        if (!clockwise) std::swap(v[0], v[2]);
        g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(ColoredVertex));
        EXPECT_EQ(ReadPixel(32, 24), drawn ? kRed : kBlack) << "cull " << cull << " clockwise " << clockwise;
    }
}

struct LitVertex {  // format 0x212: no colour of its own
    float x, y, z, nx, ny, nz, u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

// Lighting: a square of corners ±s facing the camera (normal towards -z) at depth z, seen through a
// perspective projection from the origin. Lighting is computed per vertex: the corners decide the colour.
class DeviceLighting : public DeviceRender {
protected:
    void SetUp() override {
        DeviceRender::SetUp();
        D3DXMATRIX projection;
        D3DXMatrixPerspectiveFovLH(&projection, 0.7479983f, 1.0f, 10.0f, 800.0f);
        g_pDevice->SetTransform(D3DTS_PROJECTION, &projection);
        for (auto state : {D3DRS_LIGHTING, D3DRS_NORMALIZENORMALS}) g_pDevice->SetRenderState(state, TRUE);
        g_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }
    // The normals are half as long as they should be: the device normalises them, as asked above.
    template <typename Vertex = LitVertex>
    void DrawFacingSquare(float z, float s, DWORD fvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2,
                          Vertex corner = {0, 0, 0, 0, 0, -0.5f}) {
        Vertex v[4] = {corner, corner, corner, corner};
        const float xy[4][2] = {{-s, s}, {s, s}, {s, -s}, {-s, -s}};
        for (int i = 0; i < 4; ++i) v[i].x = xy[i][0], v[i].y = xy[i][1], v[i].z = z;
        g_pDevice->SetFVF(fvf), g_pDevice->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(Vertex));
    }
};

// Direct3D's lighting equations, read at the centre of the square.
TEST_F(DeviceLighting, LightsShadeAsDirect3DDoes) {
    auto sun = [](D3DVECTOR direction, D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient = {},
                  D3DCOLORVALUE specular = {}) {
        return D3DLIGHT9{
            D3DLIGHT_DIRECTIONAL, diffuse, specular, ambient, {}, direction, 10, 0, 0, 0, 0, 0, 0};
    };
    // Range 60, attenuation 2.
    const D3DLIGHT9 lamp{D3DLIGHT_POINT, {4, 4, 1, 2}, {}, {}, {}, {}, 60, 0, 2, 0, 0, 0, 0};
    const D3DCOLORVALUE blueish{0.5f, 0.25f, 1, 1}, one{1, 1, 1, 1}, grey{0.2f, 0.2f, 0.2f, 0.2f};
    // Diffuse, ambient, specular, emissive, power.
    const D3DMATERIAL9 white{one, {}, {}, {}, 0}, shiny{{}, {}, one, {}, 5},
        ambient{one, one, {}, {0.3f, 0, 0, 0}, 0};
    const struct {
        const char* what;
        D3DLIGHT9 light;
        D3DMATERIAL9 material;
        float z, size;
        DWORD ambientState;
        bool specular;
        int red, green, blue;  // -1: not checked
    } cases[] = {
        {"straight on", sun({0, 0, 1}, blueish), white, 50, 40, 0, false, 128, 64, 255},
        {"tilted 60: half", sun({0, std::sqrt(3.0f), 1}, blueish), white, 50, 40, 0, false, -1, -1, 128},
        {"from behind: nothing", sun({0, 0, -1}, one), white, 50, 40, 0, false, 0, 0, 0},
        // Light ambient 0.2, material emissive 0.3 red, the ambient state 0x20 (0.125).
        {"ambient and emissive", sun({0, 0, -1}, {}, grey), ambient, 50, 40, 0xFF202020u, false, 160, 83, -1},
        // Corners about 52 away at cos 0.96: blue 1 / attenuation 2 * 0.96; red saturates.
        {"lamp in range", lamp, white, 50, 10, 0, false, 255, -1, 123},
        {"lamp out of range", lamp, white, 70, 10, 0, false, 0, 0, 0},
        {"specular off", sun({0, 0, 1}, {}, {}, one), shiny, 50, 40, 0, false, 0, 0, 0},
        {"specular: faces the eye", sun({0, 0, 1}, {}, {}, one), shiny, 50, 10, 0, true, 243, -1, -1},
    };
    for (const auto& c : cases) {
        ClearTo(kBlack), g_pDevice->SetLight(0, &c.light), g_pDevice->LightEnable(0, TRUE);
        g_pDevice->SetMaterial(&c.material), g_pDevice->SetRenderState(D3DRS_AMBIENT, c.ambientState);
        g_pDevice->SetRenderState(D3DRS_SPECULARENABLE, c.specular), DrawFacingSquare(c.z, c.size);
        const uint32_t pixel = ReadPixel(32, 24);
        const int seen[3] = {Red(pixel), Green(pixel), Blue(pixel)}, want[3] = {c.red, c.green, c.blue};
        for (int i = 0; i < 3; ++i)  // an unchecked channel is compared with itself
            EXPECT_NEAR(seen[i], want[i] < 0 ? seen[i] : want[i], want[i] % 255 ? 3 : 0)
                << c.what << " " << i;
    }
    g_pDevice->LightEnable(0, FALSE), DrawFacingSquare(50, 10);
    EXPECT_EQ(ReadPixel(32, 24), kBlack) << "no light enabled";

    // A model's material has diffuse alpha 0, but its vertices are opaque white: Direct3D takes the
    // diffuse colour from the vertex, so the model survives an alpha test with reference 1.
    const D3DMATERIAL9 material{{1, 1, 1, 0}, {}, {}, {0.5f, 0.5f, 0.5f, 0}, 0};
    g_pDevice->SetMaterial(&material);
    g_pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE), g_pDevice->SetRenderState(D3DRS_ALPHAREF, 1);
    g_pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    DrawFacingSquare(50, 40, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                     ColoredVertex{0, 0, 0, 0, 0, -1, kWhite});
    EXPECT_NEAR(Red(ReadPixel(32, 24)), 128, 2);
}

}  // namespace
