// Textures of the models. Pure green (0, 255, 0) is transparent: the buses' windows and wheel arches.
#include <algorithm>
#include <cmath>
#include <string>

#include "layout.h"
#include "noise.h"
#include "paint.h"
#include "painters.h"

namespace {

const Colour kKey = {0, 1, 0};

struct Livery {
    Colour body, accent, roof, skirt;
};

Livery LiveryFor(int id) {
    switch (id) {
        case 190:
            return {Hex(0xF3E7CC), Hex(0xD23A2C), Hex(0xF7F2E6), Hex(0x3A3A40)};  // cream and red
        case 185:
            return {Hex(0x2F6FD0), Hex(0xF4F4F4), Hex(0xE8EEF6), Hex(0x22304A)};  // blue and white
        case 186:
            return {Hex(0xFFC928), Hex(0x1F6E8C), Hex(0xFFF1C2), Hex(0x3A3A40)};  // yellow and petrol
        case 187:
            return {Hex(0xF07A22), Hex(0x3C3F48), Hex(0xF4EEE6), Hex(0x2E2E34)};  // orange and graphite
        case 183:
            return {Hex(0x1E9C8A), Hex(0xF6F2E2), Hex(0xEFF5F2), Hex(0x24343A)};  // teal and cream
        case 181:
            return {Hex(0xC8302A), Hex(0xFFD23C), Hex(0xF2EDE4), Hex(0x30262A)};  // trolleybus
        default:
            return {Hex(0xCCCCCC), Hex(0x333333), Hex(0xEEEEEE), Hex(0x333333)};
    }
}

// After anti-aliased drawing and noise, pixels between the key green and its surroundings become either
// the key exactly or the dark window frame, so that no green fringe shows around windows.
void SnapKey(Canvas& c) {
    c.Flush();
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            Rgb p = c.Get(x, y);
            int g = p.g, other = std::max(p.r, p.b);
            if (g - other > 60) c.Set(x, y, g > 150 && other < 70 ? kKeyGreen : Rgb{28, 31, 38});
        }
    c.MarkDirty();
}

void Rect(cairo_t* cr, double x, double y, double w, double h, Colour c) {
    SetColour(cr, c);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

// Bus sides: `length` model units along the picture, `frontRight` places the front at the right.
struct SideSpec {
    float zBack, zFront;
    std::vector<float> axles;
    std::vector<std::pair<float, float>> doors;  // z ranges (door side only)
    float jointBack = 0, jointFront = 0;         // gap of the articulated bus (none when equal)
    bool keyedWindows = true;                    // traffic vehicles have dark glass instead
};

void PaintBusSide(cairo_t* cr, const PixRect& r, bool frontRight, bool doorSide, const SideSpec& s,
                  const Livery& l) {
    const float y1 = 10.9f, y0 = 1.35f;
    auto X = [&](float z) {
        double t = (z - s.zBack) / (s.zFront - s.zBack);
        return r.x + (frontRight ? t : 1 - t) * r.w;
    };
    auto Y = [&](float y) { return r.y + (y1 - y) / (y1 - y0) * r.h; };
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_clip(cr);
    VerticalGradient(cr, r.x, r.y, r.w, r.h, Mix(l.body, Hex(0xFFFFFF), 0.15), Scale(l.body, 0.85));
    // Skirt and accent stripes.
    Rect(cr, r.x, Y(2.1f), r.w, Y(y0) - Y(2.1f) + 1, l.skirt);
    Rect(cr, r.x, Y(5.25f), r.w, Y(4.35f) - Y(5.25f), l.accent);
    Rect(cr, r.x, Y(2.8f), r.w, Y(2.4f) - Y(2.8f), l.accent);
    // Window band: a dark frame with the glass inside.
    double wy0 = Y(y1 - 0.10f * (y1 - y0)), wy1 = Y(y1 - 0.55f * (y1 - y0));
    Rect(cr, r.x, wy0 - 3, r.w, wy1 - wy0 + 6, Hex(0x1C1F26));
    float pitch = 4.6f;
    for (float z = s.zBack + 0.8f; z < s.zFront - 1.0f; z += pitch) {
        float z1 = std::min(z + pitch - 0.6f, s.zFront - 0.9f);
        if (s.jointFront > s.jointBack && z1 > s.jointBack - 0.4f && z < s.jointFront + 0.4f) continue;
        double x0 = std::min(X(z), X(z1)), x1 = std::max(X(z), X(z1));
        RoundedRect(cr, x0, wy0 + 1, x1 - x0, wy1 - wy0 - 2, 4);
        SetColour(cr, s.keyedWindows ? kKey : Hex(0x2A4060));
        cairo_fill(cr);
        if (!s.keyedWindows) {
            // Reflection and a passenger or two in the dark glass.
            cairo_move_to(cr, x0 + 6, wy1 - 2);
            cairo_line_to(cr, x0 + 18, wy0 + 1);
            cairo_line_to(cr, x0 + 26, wy0 + 1);
            cairo_line_to(cr, x0 + 14, wy1 - 2);
            cairo_close_path(cr);
            SetColour(cr, Hex(0x6F8FB8), 0.6);
            cairo_fill(cr);
        }
        // Sliding top lights.
        Rect(cr, x0, wy0 + 1, x1 - x0, 3, Hex(0x1C1F26));
    }
    // Doors.
    if (doorSide) {
        for (auto [d0, d1] : s.doors) {
            double x0 = std::min(X(d0), X(d1)), x1 = std::max(X(d0), X(d1));
            Rect(cr, x0 - 3, wy0 - 3, x1 - x0 + 6, Y(y0) - wy0 + 3, Hex(0x30343C));
            double mid = (x0 + x1) / 2;
            for (double dx : {x0, mid + 2}) {
                double w = mid - x0 - 2;
                RoundedRect(cr, dx + 1, wy0, w - 2, Y(3.0f) - wy0, 3);
                SetColour(cr, s.keyedWindows ? kKey : Hex(0x2A4060));
                cairo_fill(cr);
                Rect(cr, dx + 1, Y(3.0f) + 2, w - 2, Y(y0) - Y(3.0f) - 4, Hex(0x485060));
            }
        }
    }
    // Joint gap of the articulated bus: black.
    if (s.jointFront > s.jointBack) {
        double x0 = std::min(X(s.jointBack), X(s.jointFront)), x1 = std::max(X(s.jointBack), X(s.jointFront));
        Rect(cr, x0, r.y, x1 - x0, r.h, Hex(0x202020));
    }
    // Wheel arches (transparent, the wheels show through) with a dark rim.
    for (float az : s.axles) {
        double cx = X(az), cy = Y(1.98f);
        double rx = 2.95 * r.w / (s.zFront - s.zBack), ry = (2.95 / 1.21) * r.h / (y1 - y0);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1.12, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, Hex(0x202226));
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1.0, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, kKey);
        cairo_fill(cr);
    }
    // Town company mark on the lower panel, and the route number at the front.
    double mz = frontRight ? 0.3 : 0.7;
    double mx = r.x + mz * r.w;
    if (s.jointFront > s.jointBack) mx = X(frontRight ? 16.0f : 16.0f);
    TextStyle t;
    t.size = 15;
    t.fill = l.accent;
    t.outline = 1.2;
    t.outlineColour = Hex(0xFFFFFF);
    DrawTextCentred(cr, "DPMV", mx, Y(3.5f), t);
    double fx = X(s.zFront - 3.0f);
    RoundedRect(cr, fx - 16, wy0 + 4, 32, 18, 2);
    SetColour(cr, Hex(0x111111));
    cairo_fill(cr);
    TextStyle num;
    num.size = 15;
    num.fill = Hex(0xFFA820);
    DrawTextCentred(cr, "7", fx, wy0 + 13, num);
    // End markers: amber at the front, red at the back.
    Rect(cr, X(s.zFront) - (frontRight ? 6 : 0), Y(3.4f), 6, 6, Hex(0xFFB020));
    Rect(cr, X(s.zBack) - (frontRight ? 0 : 6), Y(3.4f), 6, 6, Hex(0xE02018));
    cairo_restore(cr);
}

void PaintBusRoof(cairo_t* cr, const PixRect& r, const Livery& l, const SideSpec& s, unsigned seed) {
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_clip(cr);
    VerticalGradient(cr, r.x, r.y, r.w, r.h, l.roof, Scale(l.roof, 0.9));
    // Bevel edges in the body colour.
    double bevel = r.h * 0.8 / 13.4;
    Rect(cr, r.x, r.y, r.w, bevel, Scale(l.body, 0.95));
    Rect(cr, r.x, r.y + r.h - bevel, r.w, bevel, Scale(l.body, 0.95));
    Rect(cr, r.x, r.y + bevel, r.w, 2, l.accent);
    Rect(cr, r.x, r.y + r.h - bevel - 2, r.w, 2, l.accent);
    auto X = [&](float z) { return r.x + (z - s.zBack) / (s.zFront - s.zBack) * r.w; };
    // Hatches and vents.
    Random rnd(seed);
    for (float z = s.zBack + 4; z < s.zFront - 4; z += 9.5f) {
        double x = X(z);
        RoundedRect(cr, x - 14, r.y + r.h / 2 - 14, 28, 28, 3);
        SetColour(cr, Hex(0x5C6470));
        cairo_fill(cr);
        RoundedRect(cr, x - 11, r.y + r.h / 2 - 11, 22, 22, 2);
        SetColour(cr, Hex(0x8A96A6));
        cairo_fill(cr);
    }
    if (s.jointFront > s.jointBack)
        Rect(cr, X(s.jointBack), r.y, X(s.jointFront) - X(s.jointBack), r.h, Hex(0x222222));
    // Route number painted large on the roof, readable from above.
    TextStyle t;
    t.size = 40;
    t.fill = l.accent;
    t.outline = 2;
    t.outlineColour = Hex(0xFFFFFF);
    DrawTextCentred(cr, "7", X(s.zFront - 6.5f), r.y + r.h / 2, t);
    cairo_restore(cr);
    (void)rnd;
}

void PaintBusEnd(cairo_t* cr, const PixRect& r, const Livery& l, bool front, bool keyed) {
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_clip(cr);
    VerticalGradient(cr, r.x, r.y, r.w, r.h, Mix(l.body, Hex(0xFFFFFF), 0.15), Scale(l.body, 0.85));
    // v runs from the roof (0) to the bottom (1) over 10.1 units.
    auto Y = [&](double y) { return r.y + (11.45 - y) / (11.45 - 1.35) * r.h; };
    Rect(cr, r.x, Y(2.1), r.w, r.h, l.skirt);
    Rect(cr, r.x, Y(5.25), r.w, Y(4.35) - Y(5.25), l.accent);
    if (front) {
        Rect(cr, r.x + 6, Y(10.9), r.w - 12, Y(10.0) - Y(10.9), Hex(0x111111));
        TextStyle t;
        t.size = 11;
        t.fill = Hex(0xFFA820);
        DrawTextCentred(cr, "7  VOLTRANA", r.x + r.w / 2, (Y(10.9) + Y(10.0)) / 2, t);
        RoundedRect(cr, r.x + 8, Y(9.8), r.w - 16, Y(5.6) - Y(9.8), 8);
        SetColour(cr, Hex(0x1C1F26));
        cairo_fill(cr);
        RoundedRect(cr, r.x + 11, Y(9.6), r.w - 22, Y(5.8) - Y(9.6), 6);
        SetColour(cr, keyed ? kKey : Hex(0x2A4060));
        cairo_fill(cr);
        // Headlights.
        for (double hx : {r.x + 24.0, r.x + r.w - 24.0}) {
            RoundedRect(cr, hx - 16, Y(3.7), 32, Y(2.7) - Y(3.7), 4);
            SetColour(cr, Hex(0xFFF8D8));
            cairo_fill(cr);
        }
        Rect(cr, r.x + r.w / 2 - 20, Y(4.0), 40, Y(2.6) - Y(4.0), Hex(0x2A2C34));
    } else {
        RoundedRect(cr, r.x + 26, Y(9.6), r.w - 52, Y(7.0) - Y(9.6), 6);
        SetColour(cr, keyed ? kKey : Hex(0x2A4060));
        cairo_fill(cr);
        for (int i = 0; i < 6; ++i) Rect(cr, r.x + 40, Y(6.4) + i * 5, r.w - 80, 2.5, Scale(l.body, 0.6));
        for (double hx : {r.x + 16.0, r.x + r.w - 16.0}) {
            RoundedRect(cr, hx - 10, Y(4.6), 20, Y(2.6) - Y(4.6), 3);
            SetColour(cr, Hex(0xE0281E));
            cairo_fill(cr);
        }
        Rect(cr, r.x + r.w / 2 - 22, Y(3.6), 44, Y(2.5) - Y(3.6), Hex(0xF4F4F4));
    }
    cairo_restore(cr);
}

void PaintSwatchGrid(cairo_t* cr, const PixRect& grid, int columns, const std::vector<Colour>& colours) {
    int cell = grid.w / columns;
    for (size_t i = 0; i < colours.size(); ++i) {
        Rect(cr, grid.x + (i % columns) * cell, grid.y + (i / columns) * cell, cell, cell, colours[i]);
    }
}

void PaintBusTexture(Canvas& c, int id) {
    using namespace bus_tex;
    cairo_t* cr = c.cr();
    Livery l = LiveryFor(id);
    SideSpec s;
    if (id == 183) {
        s.zBack = -28.8f;
        s.zFront = 28.8f;
        s.axles = {20.0f, 7.6f, -19.5f};
        s.doors = {{23.3f, 27.3f}, {9.8f, 13.8f}, {-12.5f, -8.5f}};
        s.jointBack = 1.0f;
        s.jointFront = 4.2f;
    } else {
        s.zBack = -19.0f;
        s.zFront = 19.0f;
        s.axles = {11.3f, -10.4f};
        s.doors = {{13.9f, 17.9f}, {-2.0f, 2.0f}};
    }
    s.keyedWindows = id != 181;
    c.Fill(ToRgb(l.body));
    PaintBusSide(cr, kSideRight, true, true, s, l);
    PaintBusSide(cr, kSideLeft, false, false, s, l);
    PaintBusRoof(cr, kRoof, l, s, unsigned(id));
    PaintBusEnd(cr, kFront, l, true, s.keyedWindows);
    PaintBusEnd(cr, kBack, l, false, s.keyedWindows);
    PaintSwatchGrid(cr, kMisc, 4,
                    {Hex(0x2A2A2E), Hex(0x2C2C30), Hex(0x8A9098), Hex(0x121214), l.body, Hex(0xB8C0C8),
                     l.accent, Hex(0x2A4060), Hex(0x2A2A2E), Hex(0x2A2A2E), Hex(0x2A2A2E), Hex(0x2A2A2E),
                     Hex(0x2A2A2E), Hex(0x2A2A2E), Hex(0x2A2A2E), Hex(0x2A2A2E)});
    // Accordion ribs on the bellows swatch.
    for (int i = 0; i < 32; i += 4) Rect(cr, kMisc.x + 32 + i, kMisc.y, 2, 32, Hex(0x101012));
    c.Flush();
    AddNoise(c, 0.015, 16, 3, unsigned(id));
    SnapKey(c);
}

// ---------------------------------------------------------------- interiors and wheels

void DrawWheelFace(cairo_t* cr, double cx, double cy, double r) {
    SetColour(cr, Hex(0x1A1A1C));
    cairo_rectangle(cr, cx - r, cy - r, 2 * r, 2 * r);
    cairo_fill(cr);
    SetColour(cr, Hex(0x26262A));
    cairo_arc(cr, cx, cy, r * 0.92, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.15, cy - r * 0.2, r * 0.05, cx, cy, r * 0.62);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.96, 0.98);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.58, 0.63);
    cairo_arc(cr, cx, cy, r * 0.62, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        SetColour(cr, Hex(0x30333A));
        cairo_arc(cr, cx + std::cos(a) * r * 0.42, cy + std::sin(a) * r * 0.42, r * 0.08, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    SetColour(cr, Hex(0xD23A2C));
    cairo_arc(cr, cx, cy, r * 0.2, 0, 2 * M_PI);
    cairo_fill(cr);
    SetColour(cr, Hex(0xE8E8EC));
    cairo_arc(cr, cx, cy, r * 0.08, 0, 2 * M_PI);
    cairo_fill(cr);
}

void PaintInterior(Canvas& c, int id) {
    using namespace interior_tex;
    cairo_t* cr = c.cr();
    c.Fill({40, 40, 46});
    // Seat fabric: deep blue with a confetti pattern.
    Rect(cr, kFabric.x, kFabric.y, kFabric.w, kFabric.h, id == 184 ? Hex(0x7A2230) : Hex(0x22306E));
    Random rnd{unsigned(id)};
    Colour confetti[] = {Hex(0xFFC83C), Hex(0xE85A4A), Hex(0x5AC8E8), Hex(0xF2F2F2)};
    for (int i = 0; i < 160; ++i) {
        SetColour(cr, confetti[rnd.Below(4)]);
        double x = kFabric.x + rnd.Between(0, kFabric.w - 6), y = kFabric.y + rnd.Between(0, kFabric.h - 6);
        cairo_rectangle(cr, x, y, rnd.Between(2, 6), 2);
        cairo_fill(cr);
    }
    // Floor: grey with non-slip dots.
    Rect(cr, kFloor.x, kFloor.y, kFloor.w, kFloor.h, Hex(0x5A6068));
    for (int y = 4; y < kFloor.h; y += 8)
        for (int x = 4; x < kFloor.w; x += 8) {
            SetColour(cr, Hex(0x4A4F56));
            cairo_arc(cr, kFloor.x + x + (y / 8 % 2) * 4, kFloor.y + y, 1.5, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    PaintSwatchGrid(cr, kSwatches, 4,
                    {Hex(0x5A6068), Hex(0xF2C21E), Hex(0xF0C8A0), Hex(0x6A4226), Hex(0x2C5AA8), Hex(0xD8403A),
                     Hex(0x3C9A4E), Hex(0xF0C83C), Hex(0x2A2C30), Hex(0x303848), Hex(0xE8E0CC), Hex(0xE8C878),
                     Hex(0x1E1A18), Hex(0xF4F4F4), Hex(0x7A8088), Hex(0xFFF6D8)});
    DrawWheelFace(cr, kWheel.x + 64, kWheel.y + 64, 64);
    c.Flush();
    AddNoise(c, 0.02, 8, 3, unsigned(id) + 5);
    ProtectKey(c, kKeyGreen, 20);
}

void PaintWheelTexture(Canvas& c) {
    DrawWheelFace(c.cr(), 64, 64, 64);
    c.Flush();
    AddNoise(c, 0.015, 8, 2, 189);
}

// ---------------------------------------------------------------- car

void PaintCarTexture(Canvas& c, int id) {
    using namespace car_tex;
    cairo_t* cr = c.cr();
    Colour body = id == 192 ? Hex(0xD8262A) : id == 193 ? Hex(0x3A8EE0) : Hex(0xF2F0EA);
    c.Fill(ToRgb(body));
    const float y1 = 3.1f / 1.21f, y0 = 0.7f / 1.21f;
    auto SideX = [&](float z) { return kSide.x + (z + 8.2) / 16.4 * kSide.w; };
    auto SideY = [&](float y) { return kSide.y + (y1 - y) / (y1 - y0) * kSide.h; };
    VerticalGradient(cr, kSide.x, kSide.y, kSide.w, kSide.h, Mix(body, Hex(0xFFFFFF), 0.2), Scale(body, 0.8));
    Rect(cr, kSide.x, SideY(1.0f), kSide.w, kSide.h, Hex(0x2A2A2E));
    Rect(cr, kSide.x, kSide.y + 2, kSide.w, 2, Hex(0xD0D4DA));
    for (float z : {5.4f, -5.2f}) {
        SetColour(cr, Hex(0x1A1A1C));
        cairo_save(cr);
        cairo_translate(cr, SideX(z), SideY(1.45f / 1.21f));
        cairo_scale(cr, 1.75 * kSide.w / 16.4, 1.75 / 1.21 * kSide.h / (y1 - y0));
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    for (float z : {-0.9f, 2.9f}) Rect(cr, SideX(z), kSide.y + 4, 1.5, kSide.h * 0.55, Scale(body, 0.55));
    Rect(cr, SideX(1.6f), kSide.y + 12, 10, 3, Hex(0xD0D4DA));
    Rect(cr, SideX(-2.2f), kSide.y + 12, 10, 3, Hex(0xD0D4DA));
    // Top: boot (left), cabin roof, bonnet (right).
    VerticalGradient(cr, kTop.x, kTop.y, kTop.w, kTop.h, Mix(body, Hex(0xFFFFFF), 0.15), Scale(body, 0.88));
    auto TopX = [&](float z) { return kTop.x + (z + 8.2) / 16.4 * kTop.w; };
    Rect(cr, TopX(-5.4f), kTop.y, 2, kTop.h, Scale(body, 0.6));
    Rect(cr, TopX(3.6f), kTop.y, 2, kTop.h, Scale(body, 0.6));
    Rect(cr, TopX(-4.8f), kTop.y + 6, TopX(2.9f) - TopX(-4.8f), kTop.h - 12, Mix(body, Hex(0xFFFFFF), 0.25));
    if (id == 191) {  // a taxi sign on the roof of the light car
        RoundedRect(cr, TopX(-1.8f), kTop.y + kTop.h / 2 - 9, 34, 18, 3);
        SetColour(cr, Hex(0xFFD23C));
        cairo_fill(cr);
    }
    // Front and back.
    Rect(cr, kFront.x, kFront.y, kFront.w, kFront.h, Scale(body, 0.9));
    Rect(cr, kFront.x + 30, kFront.y + 18, kFront.w - 60, 16, Hex(0x222226));
    for (double hx : {kFront.x + 16.0, kFront.x + kFront.w - 16.0}) {
        RoundedRect(cr, hx - 12, kFront.y + 14, 24, 16, 4);
        SetColour(cr, Hex(0xFFF8D8));
        cairo_fill(cr);
    }
    Rect(cr, kFront.x, kFront.y + 44, kFront.w, 20, Hex(0x2A2A2E));
    Rect(cr, kBack.x, kBack.y, kBack.w, kBack.h, Scale(body, 0.9));
    for (double hx : {kBack.x + 14.0, kBack.x + kBack.w - 14.0}) {
        RoundedRect(cr, hx - 10, kBack.y + 12, 20, 14, 3);
        SetColour(cr, Hex(0xE0281E));
        cairo_fill(cr);
    }
    Rect(cr, kBack.x + 44, kBack.y + 26, 40, 12, Hex(0xF4F4F4));
    Rect(cr, kBack.x, kBack.y + 44, kBack.w, 20, Hex(0x2A2A2E));
    // Cabin side: windows in a body-coloured frame.
    Rect(cr, kCabinSide.x, kCabinSide.y, kCabinSide.w, kCabinSide.h, body);
    RoundedRect(cr, kCabinSide.x + 18, kCabinSide.y + 6, 50, kCabinSide.h - 10, 5);
    RoundedRect(cr, kCabinSide.x + 72, kCabinSide.y + 6, 40, kCabinSide.h - 10, 5);
    SetColour(cr, Hex(0x2A4060));
    cairo_fill(cr);
    PaintSwatchGrid(cr, kSwatches, 4,
                    {Hex(0x1A1A1C), Hex(0xB8BEC6), Hex(0x2A4060), Hex(0xD8DCE2), body, Hex(0x2A2A2E),
                     Hex(0xFFF8D8), Hex(0xE0281E)});
    c.Flush();
    AddNoise(c, 0.012, 8, 2, unsigned(id));
    ProtectKey(c, kKeyGreen, 20);
}

// ---------------------------------------------------------------- barrier, wall, markers

void PaintBarrierTexture(Canvas& c) {
    using namespace barrier_tex;
    cairo_t* cr = c.cr();
    c.Fill({128, 128, 128});
    // Red and white diagonal stripes.
    cairo_save(cr);
    cairo_rectangle(cr, kStripes.x, kStripes.y, kStripes.w, kStripes.h);
    cairo_clip(cr);
    Rect(cr, kStripes.x, kStripes.y, kStripes.w, kStripes.h, Hex(0xF4F4F0));
    SetColour(cr, Hex(0xD8281E));
    for (int i = -4; i < 12; ++i) {
        double x = kStripes.x + i * 32;
        cairo_move_to(cr, x, kStripes.y + kStripes.h);
        cairo_line_to(cr, x + 16, kStripes.y + kStripes.h);
        cairo_line_to(cr, x + 16 + 64, kStripes.y);
        cairo_line_to(cr, x + 64, kStripes.y);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // Concrete wall face: panels with joints and a yellow and black band along the bottom.
    Rect(cr, kWallFace.x, kWallFace.y, kWallFace.w, kWallFace.h, Hex(0xB4B0A8));
    for (int x = 0; x < 256; x += 64) Rect(cr, kWallFace.x + x, kWallFace.y, 2, kWallFace.h, Hex(0x8A8680));
    Rect(cr, kWallFace.x, kWallFace.y + 6, kWallFace.w, 2, Hex(0x9A968E));
    cairo_save(cr);
    cairo_rectangle(cr, kWallFace.x, kWallFace.y + 50, kWallFace.w, 14);
    cairo_clip(cr);
    Rect(cr, kWallFace.x, kWallFace.y + 50, kWallFace.w, 14, Hex(0xF2C21E));
    SetColour(cr, Hex(0x1E1E20));
    for (int x = -16; x < 272; x += 16) {
        cairo_move_to(cr, kWallFace.x + x, kWallFace.y + 64);
        cairo_line_to(cr, kWallFace.x + x + 8, kWallFace.y + 64);
        cairo_line_to(cr, kWallFace.x + x + 22, kWallFace.y + 50);
        cairo_line_to(cr, kWallFace.x + x + 14, kWallFace.y + 50);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    Rect(cr, kConcrete.x, kConcrete.y, kConcrete.w, kConcrete.h, Hex(0xA8A49C));
    // Hedge: leaves in several greens (never the key green).
    Rect(cr, kHedge.x, kHedge.y, kHedge.w, kHedge.h, Hex(0x2E6A2A));
    Random rnd(178);
    for (int i = 0; i < 500; ++i) {
        Colour leaf = Mix(Hex(0x24561E), Hex(0x6AAA3C), rnd.Unit());
        SetColour(cr, leaf);
        cairo_arc(cr, kHedge.x + rnd.Between(0, kHedge.w), kHedge.y + rnd.Between(0, kHedge.h),
                  rnd.Between(1.5, 4), 0, 2 * M_PI);
        cairo_fill(cr);
    }
    PaintSwatchGrid(cr, kSwatches, 4,
                    {Hex(0x9098A2), Hex(0xF2C21E), Hex(0x2A2A2E), Hex(0xE8501E), Hex(0x5A3E28), Hex(0xF4F4F0),
                     Hex(0xFFB020), Hex(0x7A7E84)});
    c.Flush();
    AddNoise(c, 0.03, 8, 4, 178);
    ProtectKey(c, kKeyGreen, 30);
}

void PaintMarkerTexture(Canvas& c, int id) {
    using namespace marker_tex;
    cairo_t* cr = c.cr();
    Colour top = id == 179 ? Hex(0xFFF07A) : Hex(0x9CF0A8);
    Colour bot = id == 179 ? Hex(0xF08A1E) : Hex(0x1E9A4A);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, kSize, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, bot.r, bot.g, bot.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bot.r, bot.g, bot.b);
    cairo_rectangle(cr, 0, 0, kSize, kSize);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // White chevrons along the shaft.
    SetColour(cr, Hex(0xFFFFFF), 0.85);
    for (int i = 0; i < 3; ++i) {
        double y = kShaft.y + 8 + i * 20;
        cairo_move_to(cr, 20, y);
        cairo_line_to(cr, 64, y + 12);
        cairo_line_to(cr, 108, y);
        cairo_line_to(cr, 108, y + 6);
        cairo_line_to(cr, 64, y + 18);
        cairo_line_to(cr, 20, y + 6);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    Rect(cr, 0, 0, kSize, 3, Hex(0xFFFFFF));
    c.Flush();
    ProtectKey(c, kKeyGreen, 30);
}

}  // namespace

bool PaintModelTexture(const BitmapSpec& spec, Canvas& canvas) {
    std::string p = spec.painter;
    if (p == "tex_bus" || p == "tex_articulated" || p == "tex_trolleybus")
        PaintBusTexture(canvas, spec.id);
    else if (p == "tex_interior")
        PaintInterior(canvas, spec.id);
    else if (p == "tex_wheel")
        PaintWheelTexture(canvas);
    else if (p == "tex_car")
        PaintCarTexture(canvas, spec.id);
    else if (p == "tex_barrier")
        PaintBarrierTexture(canvas);
    else if (p == "tex_marker")
        PaintMarkerTexture(canvas, spec.id);
    else
        return false;
    canvas.Flush();
    return true;
}
