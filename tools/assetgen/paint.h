// Drawing helpers shared by the painters: colours, shapes, text, colour-keyed grounds, surface noise.
#pragma once
#include <functional>
#include <string>

#include "image.h"

struct Colour {
    double r, g, b;
};

inline Colour Hex(unsigned v) {
    return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}
inline Colour Mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour Scale(Colour a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
Rgb ToRgb(Colour c);
Colour FromRgb(Rgb c);

void SetColour(cairo_t* cr, Colour c, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void VerticalGradient(cairo_t* cr, double x, double y, double w, double h, Colour top, Colour bottom);

// Text in Liberation Sans Bold (UTF-8). Returns the advance width. `x` is the left edge, `baseline` the
// baseline.
struct TextStyle {
    double size = 20;
    Colour fill{1, 1, 1};
    double outline = 0;  // stroke width around the letters, 0 for none
    Colour outlineColour{0, 0, 0};
    double shadow = 0;  // offset of a soft dark shadow, 0 for none
};
double TextWidth(cairo_t* cr, const std::string& text, double size);
void DrawText(cairo_t* cr, const std::string& text, double x, double baseline, const TextStyle& style);
// Centred horizontally on cx, vertically on cy (by the capital height).
void DrawTextCentred(cairo_t* cr, const std::string& text, double cx, double cy, const TextStyle& style);
// Largest size at most `size` at which the text fits `maxWidth`.
double FitTextSize(cairo_t* cr, const std::string& text, double size, double maxWidth);
void UseFont(cairo_t* cr, double size);

// Paints on a transparent layer, then lays the layer on the canvas over the key colour: pixels the
// layer covers by at least `threshold` become opaque (their soft edges darkened towards `edge`), all
// others the key colour exactly. No pixel but the keyed ground has the key colour.
void PaintKeyed(Canvas& canvas, Rgb key, const std::function<void(cairo_t*)>& paint, Colour edge,
                double threshold = 0.3);

// Adds per-pixel noise of amplitude `amount` (0..1 of full scale) in the rectangle, tile-seamless
// when the rectangle is the whole canvas.
void AddNoise(Canvas& canvas, double amount, int baseCells, int octaves, unsigned seed, int x0 = 0,
              int y0 = 0, int w = -1, int h = -1);
// Replaces every pixel near `from` (within tolerance) by `to`: cleans a key colour that drawing must not
// produce by accident, or makes sure it is exact.
void ReplaceNear(Canvas& canvas, Rgb from, Rgb to, int tolerance);
// Moves every pixel that is not exactly `key` but within `tolerance` of it away from it.
void ProtectKey(Canvas& canvas, Rgb key, int tolerance = 40);
