// Pictures as cairo surfaces, and their BMP files (24-bit, or 8-bit with a palette chosen for the picture).
#pragma once
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kKeyGreen{0, 255, 0};

// An RGB picture with a cairo context over it (cairo's RGB24 surface: one 32-bit word per pixel).
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }

    Rgb Get(int x, int y) const;
    void Set(int x, int y, Rgb c);
    void Fill(Rgb c);
    // Flushes drawing so that Get and Set see it; call before pixel work and after it (MarkDirty).
    void Flush();
    void MarkDirty();

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// The bytes of a BMP file of the canvas: 24-bit, or 8-bit with a palette of at most 256 colours
// (reserved colours come first and are matched exactly; the rest is dithered).
std::vector<uint8_t> EncodeBmp24(const Canvas& canvas);
std::vector<uint8_t> EncodeBmp8(const Canvas& canvas, const std::vector<Rgb>& reserved);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteTextFile(const std::string& path, const std::string& text);
