// Fonts: fontconfig finds the face, FreeType renders every code page 1250 glyph once into an atlas,
// and DrawTextA lays text out from that atlas as GDI would (cell height, top-left origin).
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "platform/d3d9_internal.h"
#include "platform/d3dx9.h"
#include "platform/gdi_font.h"

namespace platform {
namespace {

constexpr DWORD kDtNoClip = 0x00000100u;
constexpr DWORD kDtCalcRect = 0x00000400u;
constexpr int kDefaultHeight = 16;

struct Glyph {
    int advance = 0;
    int left = 0;  // bitmap offset from the pen
    int top = 0;   // bitmap top above the baseline
    int width = 0;
    int height = 0;
    int atlasX = 0;
    int atlasY = 0;
};

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return library;
}

// The file of the face that stands for "Arial" (Liberation Sans on Debian) in the given weight.
bool FindFontFile(bool bold, bool italic, std::string& path, int& index) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Arial"));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        path = reinterpret_cast<const char*>(file);
        int i = 0;
        index = FcPatternGetInteger(match, FC_INDEX, 0, &i) == FcResultMatch ? i : 0;
    }
    FcPatternDestroy(match);
    return ok;
}

int Round26(FT_Pos v) {
    return static_cast<int>((v + 32) >> 6);
}

class AtlasFont final : public ID3DXFont {
public:
    static AtlasFont* Create(IDirect3DDevice9* device, const GdiFontDescription& description);

    int DrawTextA(void* sprite, LPCSTR text, int count, RECT* rect, DWORD format, D3DCOLOR color) override;
    unsigned long Release() override {
        const unsigned long left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    AtlasFont() = default;
    ~AtlasFont() override {
        if (atlas_) atlas_->Release();
    }
    bool Build(FT_Face face);

    unsigned long references_ = 1;
    IDirect3DDevice9* device_ = nullptr;
    GlTexture* atlas_ = nullptr;
    int atlasWidth_ = 0;
    int atlasHeight_ = 0;
    int ascent_ = 0;
    int lineHeight_ = 0;
    Glyph glyphs_[256];
    std::vector<TextVertex> vertices_;
};

AtlasFont* AtlasFont::Create(IDirect3DDevice9* device, const GdiFontDescription& description) {
    FT_Library library = Library();
    if (!library) return nullptr;
    std::string path;
    int index = 0;
    if (!FindFontFile(description.weight >= 600, description.italic, path, index)) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), index, &face) != 0) return nullptr;
    FT_Size_RequestRec request{};
    int height = description.height == 0 ? kDefaultHeight : description.height;
    // A positive GDI height is the cell height (ascent + descent); a negative one the em height.
    request.type = height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
    height = std::min(std::abs(height), 512);
    request.height = static_cast<FT_Long>(height) << 6;
    request.width = 0;
    AtlasFont* font = nullptr;
    if (FT_Request_Size(face, &request) == 0) {
        font = new AtlasFont();
        font->device_ = device;
        if (!font->Build(face)) {
            delete font;
            font = nullptr;
        }
    }
    FT_Done_Face(face);
    return font;
}

bool AtlasFont::Build(FT_Face face) {
    ascent_ = Round26(face->size->metrics.ascender);
    lineHeight_ = ascent_ - Round26(face->size->metrics.descender);
    if (lineHeight_ <= 0) lineHeight_ = Round26(face->size->metrics.height);

    // Render every glyph of the code page, then pack them in rows.
    struct Rendered {
        std::vector<uint8_t> coverage;
    };
    std::vector<Rendered> rendered(256);
    int totalArea = 0;
    int tallest = 0;
    for (int byte = 0x20; byte < 256; ++byte) {
        const char32_t cp = Cp1250ToCodePoint(static_cast<unsigned char>(byte));
        if (cp == 0xFFFD) continue;
        const FT_UInt glyphIndex = FT_Get_Char_Index(face, cp);
        if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_DEFAULT) != 0) continue;
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        Glyph& g = glyphs_[byte];
        g.advance = Round26(slot->advance.x);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(slot->bitmap.width);
        g.height = static_cast<int>(slot->bitmap.rows);
        if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) g.width = g.height = 0;
        auto& cov = rendered[byte].coverage;
        cov.resize(static_cast<size_t>(g.width) * g.height);
        for (int y = 0; y < g.height; ++y)
            std::memcpy(cov.data() + static_cast<size_t>(y) * g.width,
                        slot->bitmap.buffer + y * slot->bitmap.pitch, g.width);
        totalArea += (g.width + 1) * (g.height + 1);
        tallest = std::max(tallest, g.height);
    }
    atlasWidth_ = 256;
    while (atlasWidth_ * atlasWidth_ < totalArea * 2 && atlasWidth_ < 4096) atlasWidth_ *= 2;
    int x = 1, y = 1, rowHeight = 0;
    for (int byte = 0x20; byte < 256; ++byte) {
        Glyph& g = glyphs_[byte];
        if (g.width == 0 || g.height == 0) continue;
        if (x + g.width + 1 > atlasWidth_) {
            x = 1;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        g.atlasX = x;
        g.atlasY = y;
        x += g.width + 1;
        rowHeight = std::max(rowHeight, g.height);
    }
    atlasHeight_ = std::max(1, y + rowHeight + 1);
    if (atlasHeight_ > 4096 || tallest > 4096) return false;
    // White texels whose alpha is the glyph's coverage.
    std::vector<uint32_t> texels(static_cast<size_t>(atlasWidth_) * atlasHeight_, 0x00FFFFFFu);
    for (int byte = 0x20; byte < 256; ++byte) {
        const Glyph& g = glyphs_[byte];
        const auto& cov = rendered[byte].coverage;
        for (int gy = 0; gy < g.height; ++gy)
            for (int gx = 0; gx < g.width; ++gx)
                texels[static_cast<size_t>(g.atlasY + gy) * atlasWidth_ + g.atlasX + gx] =
                    (static_cast<uint32_t>(cov[static_cast<size_t>(gy) * g.width + gx]) << 24) | 0x00FFFFFFu;
    }
    atlas_ = GlTexture::Create(atlasWidth_, atlasHeight_, texels.data(), D3DFMT_A8R8G8B8, 1);
    return atlas_ != nullptr;
}

int AtlasFont::DrawTextA(void*, LPCSTR text, int count, RECT* rect, DWORD format, D3DCOLOR color) {
    if (!text || !rect) return 0;
    size_t length = count < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(count));
    vertices_.clear();
    const float u = 1.0f / atlasWidth_;
    const float v = 1.0f / atlasHeight_;
    int penX = rect->left;
    int lineTop = rect->top;
    int lines = length > 0 ? 1 : 0;
    int widest = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            widest = std::max(widest, penX - static_cast<int>(rect->left));
            penX = rect->left;
            lineTop += lineHeight_;
            ++lines;
            continue;
        }
        if (byte == '\r') continue;
        const Glyph& g = glyphs_[byte];
        if (g.width > 0 && g.height > 0) {
            const float x0 = static_cast<float>(penX + g.left);
            const float y0 = static_cast<float>(lineTop + ascent_ - g.top);
            const float x1 = x0 + g.width;
            const float y1 = y0 + g.height;
            const float u0 = g.atlasX * u, v0 = g.atlasY * v;
            const float u1 = (g.atlasX + g.width) * u, v1 = (g.atlasY + g.height) * v;
            const TextVertex a{x0, y0, 0, 1, color, u0, v0}, b{x1, y0, 0, 1, color, u1, v0};
            const TextVertex c{x1, y1, 0, 1, color, u1, v1}, d{x0, y1, 0, 1, color, u0, v1};
            vertices_.insert(vertices_.end(), {a, b, c, a, c, d});
        }
        penX += g.advance;
    }
    widest = std::max(widest, penX - static_cast<int>(rect->left));
    const int drawnHeight = lines * lineHeight_;
    if (format & kDtCalcRect) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + drawnHeight;
        return drawnHeight;
    }
    if (!vertices_.empty() && atlas_ && atlas_->Usable()) {
        RECT clip = *rect;
        if (format & kDtNoClip) clip = RECT{-0x40000000, -0x40000000, 0x40000000, 0x40000000};
        DrawTextTriangles(device_, atlas_, vertices_.data(), static_cast<UINT>(vertices_.size()), clip);
    }
    return drawnHeight;
}

}  // namespace
}  // namespace platform

HRESULT D3DXCreateFont(IDirect3DDevice9* device, HFONT font, ID3DXFont** out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    platform::GdiFontDescription description;
    if (!device || !platform::IsPlatformDevice(device) || !platform::LookUpGdiFont(font, description))
        return D3DERR_INVALIDCALL;
    ID3DXFont* created = platform::AtlasFont::Create(device, description);
    if (!created) return E_FAIL;
    *out = created;
    return S_OK;
}
