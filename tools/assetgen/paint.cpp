#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "noise.h"

Rgb ToRgb(Colour c) {
    auto ch = [](double v) { return uint8_t(std::clamp(int(std::lround(v * 255.0)), 0, 255)); };
    return {ch(c.r), ch(c.g), ch(c.b)};
}

Colour FromRgb(Rgb c) {
    return {c.r / 255.0, c.g / 255.0, c.b / 255.0};
}

void SetColour(cairo_t* cr, Colour c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void VerticalGradient(cairo_t* cr, double x, double y, double w, double h, Colour top, Colour bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void UseFont(cairo_t* cr, double size) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

double TextWidth(cairo_t* cr, const std::string& text, double size) {
    UseFont(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    return ext.x_advance;
}

double FitTextSize(cairo_t* cr, const std::string& text, double size, double maxWidth) {
    double w = TextWidth(cr, text, size);
    return w > maxWidth ? size * maxWidth / w : size;
}

void DrawText(cairo_t* cr, const std::string& text, double x, double baseline, const TextStyle& style) {
    cairo_save(cr);
    UseFont(cr, style.size);
    if (style.shadow > 0) {
        for (int i = 3; i >= 1; --i) {
            cairo_new_path(cr);
            cairo_move_to(cr, x + style.shadow, baseline + style.shadow);
            cairo_text_path(cr, text.c_str());
            cairo_set_source_rgba(cr, 0, 0, 0, 0.22);
            cairo_set_line_width(cr, style.outline + i * style.shadow * 0.7);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
        }
    }
    cairo_new_path(cr);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text.c_str());
    if (style.outline > 0) {
        SetColour(cr, style.outlineColour);
        cairo_set_line_width(cr, style.outline * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetColour(cr, style.fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawTextCentred(cairo_t* cr, const std::string& text, double cx, double cy, const TextStyle& style) {
    UseFont(cr, style.size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    // Capital height of Liberation Sans is about 0.73 em.
    double capital = style.size * 0.729;
    DrawText(cr, text, cx - ext.x_advance / 2, cy + capital / 2, style);
}

void PaintKeyed(Canvas& canvas, Rgb key, const std::function<void(cairo_t*)>& paint, Colour edge,
                double threshold) {
    int w = canvas.width(), h = canvas.height();
    cairo_surface_t* layer = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(layer);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(layer);
    canvas.Flush();
    const uint8_t* data = cairo_image_surface_get_data(layer);
    int stride = cairo_image_surface_get_stride(layer);
    Rgb edgeRgb = ToRgb(edge);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p;
            std::memcpy(&p, data + y * stride + x * 4, 4);
            int a = p >> 24;
            if (a < threshold * 255) {
                canvas.Set(x, y, key);
                continue;
            }
            // Premultiplied colour over the edge colour.
            int inv = 255 - a;
            Rgb c{uint8_t(std::min(255, int((p >> 16) & 255) + edgeRgb.r * inv / 255)),
                  uint8_t(std::min(255, int((p >> 8) & 255) + edgeRgb.g * inv / 255)),
                  uint8_t(std::min(255, int(p & 255) + edgeRgb.b * inv / 255))};
            if (c == key) c.g = uint8_t(c.g + 1);
            canvas.Set(x, y, c);
        }
    }
    canvas.MarkDirty();
    cairo_surface_destroy(layer);
}

void AddNoise(Canvas& canvas, double amount, int baseCells, int octaves, unsigned seed, int x0, int y0, int w,
              int h) {
    if (w < 0) w = canvas.width();
    if (h < 0) h = canvas.height();
    canvas.Flush();
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            double n = TileNoise(double(x - x0) / w, double(y - y0) / h, baseCells, octaves, seed) - 0.5;
            n += (Lattice(x, y, seed ^ 0x5555u) - 0.5) * 0.35;  // fine grain
            int d = int(std::lround(n * amount * 255 * 2));
            Rgb c = canvas.Get(x, y);
            canvas.Set(x, y,
                       {uint8_t(std::clamp(c.r + d, 0, 255)), uint8_t(std::clamp(c.g + d, 0, 255)),
                        uint8_t(std::clamp(c.b + d, 0, 255))});
        }
    }
    canvas.MarkDirty();
}

void ReplaceNear(Canvas& canvas, Rgb from, Rgb to, int tolerance) {
    canvas.Flush();
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            Rgb c = canvas.Get(x, y);
            if (std::abs(c.r - from.r) <= tolerance && std::abs(c.g - from.g) <= tolerance &&
                std::abs(c.b - from.b) <= tolerance) {
                canvas.Set(x, y, to);
            }
        }
    }
    canvas.MarkDirty();
}

void ProtectKey(Canvas& canvas, Rgb key, int tolerance) {
    canvas.Flush();
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            Rgb c = canvas.Get(x, y);
            int d = std::abs(c.r - key.r) + std::abs(c.g - key.g) + std::abs(c.b - key.b);
            if (d <= tolerance) {
                // Pull it towards grey so that it cannot read as the key.
                Rgb n{uint8_t((c.r + 128) / 2), uint8_t((c.g + 128) / 2), uint8_t((c.b + 128) / 2)};
                canvas.Set(x, y, n);
            }
        }
    }
    canvas.MarkDirty();
}
