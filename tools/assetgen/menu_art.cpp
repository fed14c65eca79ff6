// The menu artwork: title background, buttons, labels, dialogs, logos, cursor and icon.
#include <cmath>
#include <string>

#include "app_icon.h"
#include "noise.h"
#include "paint.h"
#include "painters.h"
#include "platform/cp1250.h"

namespace {

const Colour kInk = Hex(0x0B1020);        // dark outline of painted words
const Colour kGold = Hex(0xFFC83C);       // headings and the lit buttons
const Colour kCream = Hex(0xFFF4DC);      // values
const Colour kPanelEdge = Hex(0x6E83C8);  // frame of dark panels

// ---------------------------------------------------------------- shared pieces

// A bus seen from the side, front to the right, its lower left corner at (x, y + h).
void DrawSideBus(cairo_t* cr, double x, double y, double len, double h, Colour body, Colour stripe,
                 bool lit) {
    double wheelR = h * 0.17;
    // Shadow on the road.
    cairo_save(cr);
    cairo_translate(cr, x + len / 2, y + h + 2);
    cairo_scale(cr, len * 0.55, h * 0.06);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    // Body.
    RoundedRect(cr, x, y, len, h * 0.9, h * 0.12);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, body.r * 1.1, body.g * 1.1, body.b * 1.1);
    cairo_pattern_add_color_stop_rgb(p, 1, body.r * 0.7, body.g * 0.7, body.b * 0.7);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Stripe under the windows.
    SetColour(cr, stripe);
    cairo_rectangle(cr, x + 2, y + h * 0.58, len - 4, h * 0.08);
    cairo_fill(cr);
    // Windows.
    int n = int(len / (h * 0.55));
    double wx = x + h * 0.25, ww = (len - h * 0.9) / n;
    for (int i = 0; i < n; ++i) {
        RoundedRect(cr, wx + i * ww + 3, y + h * 0.14, ww - 6, h * 0.38, 4);
        if (lit) {
            cairo_pattern_t* g = cairo_pattern_create_linear(0, y + h * 0.14, 0, y + h * 0.52);
            cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.93, 0.62);
            cairo_pattern_add_color_stop_rgb(g, 1, 0.95, 0.72, 0.35);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
            // A passenger or two.
            if ((i * 7 + 3) % 3 != 0) {
                SetColour(cr, Hex(0x5A3A2A), 0.55);
                double px = wx + i * ww + ww * 0.5;
                cairo_arc(cr, px, y + h * 0.3, h * 0.05, 0, 2 * M_PI);
                cairo_fill(cr);
                cairo_rectangle(cr, px - h * 0.06, y + h * 0.36, h * 0.12, h * 0.16);
                cairo_fill(cr);
            }
        } else {
            SetColour(cr, Hex(0x2B3B5C));
            cairo_fill(cr);
        }
    }
    // Windscreen and the door at the front.
    RoundedRect(cr, x + len - h * 0.62, y + h * 0.1, h * 0.5, h * 0.45, 6);
    SetColour(cr, lit ? Hex(0xFFE8A0) : Hex(0x33456B));
    cairo_fill(cr);
    // Route sign.
    RoundedRect(cr, x + len - h * 0.55, y + h * 0.02, h * 0.4, h * 0.09, 2);
    SetColour(cr, Hex(0x1A1A1A));
    cairo_fill(cr);
    TextStyle sign;
    sign.size = h * 0.08;
    sign.fill = Hex(0xFFB020);
    DrawTextCentred(cr, "7", x + len - h * 0.35, y + h * 0.065, sign);
    // Head and tail lights.
    SetColour(cr, Hex(0xFFF6C8));
    cairo_arc(cr, x + len - 4, y + h * 0.72, h * 0.04, 0, 2 * M_PI);
    cairo_fill(cr);
    SetColour(cr, Hex(0xFF3020));
    cairo_rectangle(cr, x, y + h * 0.66, 5, h * 0.1);
    cairo_fill(cr);
    // Wheels.
    for (double wxc : {x + len * 0.2, x + len * 0.78}) {
        SetColour(cr, Hex(0x101010));
        cairo_arc(cr, wxc, y + h * 0.9, wheelR * 1.35, M_PI, 2 * M_PI);
        cairo_fill(cr);
        SetColour(cr, Hex(0x1C1C1C));
        cairo_arc(cr, wxc, y + h * 0.9, wheelR, 0, 2 * M_PI);
        cairo_fill(cr);
        SetColour(cr, Hex(0x9AA0A8));
        cairo_arc(cr, wxc, y + h * 0.9, wheelR * 0.5, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// A wheel, tyre and hub, centred at the origin with radius r.
void DrawWheel(cairo_t* cr, double r) {
    SetColour(cr, Hex(0x1B1B1E));
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_fill(cr);
    // Tread blocks.
    for (int i = 0; i < 24; ++i) {
        double a = i * 2 * M_PI / 24;
        cairo_save(cr);
        cairo_rotate(cr, a);
        cairo_rectangle(cr, r * 0.9, -r * 0.06, r * 0.1, r * 0.12);
        SetColour(cr, Hex(0x2E2E33));
        cairo_fill(cr);
        cairo_restore(cr);
    }
    // Sidewall shine.
    cairo_pattern_t* p = cairo_pattern_create_radial(-r * 0.2, -r * 0.25, r * 0.1, 0, 0, r * 0.86);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.3, 0.3, 0.33);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.1, 0.1, 0.11);
    cairo_arc(cr, 0, 0, r * 0.86, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Rim.
    p = cairo_pattern_create_radial(-r * 0.15, -r * 0.2, r * 0.05, 0, 0, r * 0.58);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.96, 0.98);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.58, 0.63);
    cairo_arc(cr, 0, 0, r * 0.58, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Holes and nuts.
    for (int i = 0; i < 8; ++i) {
        double a = i * 2 * M_PI / 8;
        SetColour(cr, Hex(0x3A3D44));
        cairo_arc(cr, std::cos(a) * r * 0.4, std::sin(a) * r * 0.4, r * 0.07, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    SetColour(cr, Hex(0x7C8089));
    cairo_arc(cr, 0, 0, r * 0.2, 0, 2 * M_PI);
    cairo_fill(cr);
    for (int i = 0; i < 6; ++i) {
        double a = i * 2 * M_PI / 6 + 0.3;
        SetColour(cr, Hex(0xD8DBE0));
        cairo_arc(cr, std::cos(a) * r * 0.13, std::sin(a) * r * 0.13, r * 0.03, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    // A red accent ring, for the toy look.
    SetColour(cr, Hex(0xE0402A));
    cairo_set_line_width(cr, r * 0.05);
    cairo_arc(cr, 0, 0, r * 0.6, 0, 2 * M_PI);
    cairo_stroke(cr);
}

// The VOLTRANA lettering: chunky gold letters with a dark outline and a wire over them.
void DrawTitleLettering(cairo_t* cr, double cx, double cy, double size) {
    TextStyle t;
    t.size = size;
    t.outline = size * 0.07;
    t.outlineColour = kInk;
    t.shadow = size * 0.05;
    UseFont(cr, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, "VOLTRANA", &ext);
    double x = cx - ext.x_advance / 2, base = cy + size * 0.729 / 2;
    // Shadow and outline first.
    t.fill = kInk;
    DrawText(cr, "VOLTRANA", x, base, t);
    // Gradient fill.
    cairo_save(cr);
    UseFont(cr, size);
    cairo_move_to(cr, x, base);
    cairo_text_path(cr, "VOLTRANA");
    cairo_pattern_t* p = cairo_pattern_create_linear(0, base - size * 0.73, 0, base);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.95, 0.55);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 1.0, 0.76, 0.18);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.93, 0.42, 0.10);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Glint along the top of the letters.
    cairo_move_to(cr, x, base);
    cairo_text_path(cr, "VOLTRANA");
    cairo_clip(cr);
    cairo_rectangle(cr, x, base - size * 0.73, ext.x_advance, size * 0.16);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_fill(cr);
    cairo_restore(cr);
    // Overhead wire with a spark, the trolleybus touch.
    double wy = base - size * 0.86;
    cairo_set_line_width(cr, std::max(1.5, size * 0.025));
    SetColour(cr, Hex(0x9AA6C0));
    cairo_move_to(cr, x - size * 0.2, wy);
    cairo_line_to(cr, x + ext.x_advance + size * 0.2, wy);
    cairo_stroke(cr);
    double sx = x + ext.x_advance * 0.78;
    cairo_pattern_t* g = cairo_pattern_create_radial(sx, wy, 0, sx, wy, size * 0.22);
    cairo_pattern_add_color_stop_rgba(g, 0, 0.8, 0.95, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgba(g, 0.3, 0.4, 0.7, 1.0, 0.6);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.2, 0.4, 1.0, 0.0);
    cairo_arc(cr, sx, wy, size * 0.22, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// ---------------------------------------------------------------- title background (160)

void PaintBackground(Canvas& c) {
    cairo_t* cr = c.cr();
    const double W = 1024, H = 768, horizon = 560;
    // Dusk sky.
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizon);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.07, 0.08, 0.22);
    cairo_pattern_add_color_stop_rgb(sky, 0.45, 0.22, 0.17, 0.42);
    cairo_pattern_add_color_stop_rgb(sky, 0.75, 0.72, 0.36, 0.42);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 1.0, 0.66, 0.38);
    cairo_rectangle(cr, 0, 0, W, horizon);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    // Setting sun.
    cairo_pattern_t* sun = cairo_pattern_create_radial(250, horizon - 30, 10, 250, horizon - 30, 320);
    cairo_pattern_add_color_stop_rgba(sun, 0, 1.0, 0.92, 0.7, 0.95);
    cairo_pattern_add_color_stop_rgba(sun, 0.15, 1.0, 0.75, 0.4, 0.55);
    cairo_pattern_add_color_stop_rgba(sun, 1, 1.0, 0.5, 0.3, 0.0);
    cairo_rectangle(cr, 0, 0, W, horizon);
    cairo_set_source(cr, sun);
    cairo_fill(cr);
    cairo_pattern_destroy(sun);
    // Stars in the upper sky.
    Random rnd(160);
    for (int i = 0; i < 90; ++i) {
        double x = rnd.Between(0, W), y = rnd.Between(0, 230), s = rnd.Between(0.6, 1.6);
        cairo_set_source_rgba(cr, 1, 1, 0.9, rnd.Between(0.3, 0.9) * (1 - y / 260));
        cairo_arc(cr, x, y, s, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    // Distant hills.
    cairo_move_to(cr, 0, horizon);
    for (int x = 0; x <= 1024; x += 8) {
        double y = horizon - 70 - 28 * std::sin(x * 0.006 + 1.3) - 16 * std::sin(x * 0.017);
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, W, horizon);
    cairo_close_path(cr);
    SetColour(cr, Hex(0x3A2E5A));
    cairo_fill(cr);
    // Two rows of town: far (hazy) and near (dark, lit windows).
    for (int row = 0; row < 2; ++row) {
        Random r(900 + row);
        double x = -20;
        Colour wall = row == 0 ? Hex(0x3E3663) : Hex(0x1E1B36);
        while (x < W) {
            double bw = r.Between(50, 120), bh = row == 0 ? r.Between(60, 150) : r.Between(80, 210);
            double top = horizon - bh + row * 10;
            SetColour(cr, wall);
            cairo_rectangle(cr, x, top, bw, bh + 20);
            cairo_fill(cr);
            if (r.Unit() < 0.3) {  // pitched roof
                cairo_move_to(cr, x - 3, top);
                cairo_line_to(cr, x + bw / 2, top - bw * 0.3);
                cairo_line_to(cr, x + bw + 3, top);
                cairo_close_path(cr);
                cairo_fill(cr);
            } else if (r.Unit() < 0.4) {  // antenna
                cairo_rectangle(cr, x + bw * 0.7, top - 25, 2, 25);
                cairo_fill(cr);
            }
            double step = row == 0 ? 11 : 16;
            for (double wy = top + 10; wy < horizon + row * 10 - 12; wy += step * 1.3) {
                for (double wx = x + 7; wx < x + bw - 10; wx += step) {
                    double u = r.Unit();
                    if (u < (row == 0 ? 0.25 : 0.42)) {
                        Colour lit = Mix(Hex(0xFFD27A), Hex(0xFFF2C0), r.Unit());
                        SetColour(cr, lit, row == 0 ? 0.55 : 0.95);
                        cairo_rectangle(cr, wx, wy, step * 0.5, step * 0.62);
                        cairo_fill(cr);
                    }
                }
            }
            x += bw + r.Between(-6, 14);
        }
    }
    // Pavement and road.
    VerticalGradient(cr, 0, horizon, W, 40, Hex(0x4A4458), Hex(0x3A3548));
    VerticalGradient(cr, 0, horizon + 40, W, H - horizon - 40, Hex(0x2C2A38), Hex(0x17161F));
    SetColour(cr, Hex(0x77738A));
    cairo_rectangle(cr, 0, horizon + 38, W, 4);
    cairo_fill(cr);
    SetColour(cr, Hex(0xE8E2C8), 0.8);
    for (double x = -30; x < W; x += 120) {
        cairo_rectangle(cr, x, horizon + 130, 70, 6);
        cairo_fill(cr);
    }
    // Overhead wires on poles.
    for (double px : {60.0, 400.0}) {
        SetColour(cr, Hex(0x16141E));
        cairo_rectangle(cr, px, horizon - 210, 7, 250);
        cairo_fill(cr);
        cairo_rectangle(cr, px, horizon - 205, 120, 5);
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, 2);
    SetColour(cr, Hex(0x1A1826));
    for (double wy : {horizon - 196.0, horizon - 182.0}) {
        cairo_move_to(cr, 0, wy);
        cairo_curve_to(cr, 300, wy + 10, 700, wy + 10, W, wy);
        cairo_stroke(cr);
    }
    // Street lamps with glows.
    for (double lx : {200.0, 560.0, 900.0}) {
        SetColour(cr, Hex(0x1A1824));
        cairo_rectangle(cr, lx, horizon - 150, 6, 190);
        cairo_fill(cr);
        cairo_rectangle(cr, lx - 24, horizon - 152, 30, 6);
        cairo_fill(cr);
        cairo_pattern_t* g =
            cairo_pattern_create_radial(lx - 20, horizon - 144, 2, lx - 20, horizon - 144, 90);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.95, 0.75, 1);
        cairo_pattern_add_color_stop_rgba(g, 0.12, 1, 0.85, 0.5, 0.6);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.6, 0.2, 0);
        cairo_arc(cr, lx - 20, horizon - 144, 90, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Pool of light on the pavement.
        cairo_save(cr);
        cairo_translate(cr, lx - 20, horizon + 30);
        cairo_scale(cr, 110, 22);
        g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.8, 0.45, 0.35);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.8, 0.45, 0);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
    // The trolleybus far behind, and the bus in front.
    DrawSideBus(cr, 300, horizon - 30, 250, 68, Hex(0xC23A2E), Hex(0xF2D34A), true);
    cairo_set_line_width(cr, 2.5);
    SetColour(cr, Hex(0x1A1826));
    cairo_move_to(cr, 340, horizon - 30);
    cairo_line_to(cr, 420, horizon - 190);
    cairo_move_to(cr, 356, horizon - 30);
    cairo_line_to(cr, 440, horizon - 180);
    cairo_stroke(cr);
    DrawSideBus(cr, 20, horizon + 60, 400, 118, Hex(0xF4E9D0), Hex(0xD8362A), true);
    // Headlight beams.
    cairo_move_to(cr, 420, horizon + 145);
    cairo_line_to(cr, 640, horizon + 115);
    cairo_line_to(cr, 640, horizon + 200);
    cairo_close_path(cr);
    cairo_pattern_t* beam = cairo_pattern_create_linear(420, 0, 640, 0);
    cairo_pattern_add_color_stop_rgba(beam, 0, 1, 0.95, 0.7, 0.35);
    cairo_pattern_add_color_stop_rgba(beam, 1, 1, 0.95, 0.7, 0);
    cairo_set_source(cr, beam);
    cairo_fill(cr);
    cairo_pattern_destroy(beam);
    // Title lettering.
    DrawTitleLettering(cr, 512, 100, 112);
    // The quiet band for the buttons and the screens' panels: one flat colour with a soft frame.
    const double px = 430, py = 172, pw = 530, ph = 510;
    RoundedRect(cr, px - 8, py - 8, pw + 16, ph + 16, 26);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    RoundedRect(cr, px - 3, py - 3, pw + 6, ph + 6, 22);
    SetColour(cr, kPanelEdge);
    cairo_fill(cr);
    RoundedRect(cr, px, py, pw, ph, 20);
    SetColour(cr, FromRgb(kMenuBand));
    cairo_fill(cr);
    AddNoise(c, 0.012, 8, 3, 77, 0, 0, 1024, int(py - 12));  // film grain on the sky only
}

// ---------------------------------------------------------------- buttons (137 to 151)

void PaintButton(Canvas& c, int id, const GameTexts& texts) {
    int k = (id - 137) / 3, phase = (id - 137) % 3;
    const std::string label = Cp1250ToUtf8(texts.menuButtons[k]);
    cairo_t* cr = c.cr();
    c.Fill(kMenuBand);
    const double x = 8, y = 7, w = 296, h = 56, r = 28;
    if (phase == 2) {
        // Dark: an outlined pill, quiet text.
        RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, r);
        SetColour(cr, Hex(0x2C3870));
        cairo_fill_preserve(cr);
        SetColour(cr, Hex(0x51619E));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        TextStyle t;
        t.size = FitTextSize(cr, label, 32, w - 40);
        t.fill = Hex(0xB9C4E8);
        t.outline = 1.5;
        t.outlineColour = Hex(0x141A33);
        DrawTextCentred(cr, label, 156, 35, t);
        return;
    }
    double glow = phase == 0 ? 0.55 : 1.0;
    // Glow around the pill (stays inside the rectangle, fading into the band).
    for (int i = 6; i >= 1; --i) {
        RoundedRect(cr, x - i + 1, y - i + 1, w + 2 * i - 2, h + 2 * i - 2, r + i);
        cairo_set_source_rgba(cr, 1.0, 0.75, 0.25, 0.06 * glow);
        cairo_fill(cr);
    }
    RoundedRect(cr, x, y, w, h, r);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    Colour top = phase == 0 ? Hex(0xFFD85A) : Hex(0xFFF09A);
    Colour mid = phase == 0 ? Hex(0xF3A22A) : Hex(0xFFBE3C);
    Colour bot = phase == 0 ? Hex(0xC0621A) : Hex(0xE07A22);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, mid.r, mid.g, mid.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bot.r, bot.g, bot.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, phase == 0 ? Hex(0xFFF0B0) : Hex(0xFFFFFF));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // Gloss on the upper half.
    RoundedRect(cr, x + 10, y + 4, w - 20, h * 0.42, r * 0.7);
    cairo_set_source_rgba(cr, 1, 1, 1, phase == 0 ? 0.25 : 0.4);
    cairo_fill(cr);
    TextStyle t;
    t.size = FitTextSize(cr, label, 33, w - 40);
    t.fill = Hex(0x2A1606);
    t.outline = 0;
    DrawTextCentred(cr, label, 156, 36, t);
    // Little bus-stop arrows beside the word on the brighter phase.
    if (phase == 1) {
        SetColour(cr, Hex(0x2A1606));
        for (double ax : {34.0, 278.0}) {
            double dir = ax < 156 ? 1 : -1;
            cairo_move_to(cr, ax - 7 * dir, 26);
            cairo_line_to(cr, ax + 7 * dir, 35);
            cairo_line_to(cr, ax - 7 * dir, 44);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
    }
}

// ---------------------------------------------------------------- labels (162 to 177)

void PaintLabel(Canvas& c, int id, const GameTexts& texts) {
    struct Label {
        int id;
        const char* text;
        int kind;  // 0 heading (left, gold), 1 value (centred, cream), 2 button (centred, white)
    };
    const Label labels[] = {
        {162, texts.soundValues[0], 1},  {176, texts.soundValues[1], 1},  {165, texts.detailLabel, 0},
        {166, texts.detailValues[0], 1}, {167, texts.detailValues[1], 1}, {168, texts.detailValues[2], 1},
        {169, texts.enterPassword, 0},   {170, texts.screenLabel, 0},     {171, texts.resolutions[0], 1},
        {172, texts.resolutions[1], 1},  {173, texts.resolutions[2], 1},  {174, texts.ok, 2},
        {175, texts.cancel, 2},          {177, texts.soundLabel, 0},
    };
    const Label* found = nullptr;
    for (const Label& l : labels)
        if (l.id == id) found = &l;
    if (!found) return;
    const std::string text = Cp1250ToUtf8(found->text);
    const int kind = found->kind;
    int w = c.width(), h = c.height();
    PaintKeyed(
        c, kMagenta,
        [&](cairo_t* cr) {
            TextStyle t;
            t.outline = 2.2;
            t.outlineColour = kInk;
            double size = h * 0.8;
            size = FitTextSize(cr, text, size, w - 8);
            t.size = size;
            double base = h / 2.0 + size * 0.729 / 2;
            if (kind == 0) {
                t.fill = kGold;
                DrawText(cr, text, 4, base, t);
            } else {
                if (kind == 2) {
                    // A small framed button, so that the two buttons read as clickable.
                    RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, h * 0.35);
                    SetColour(cr, Hex(0x2E3C78));
                    cairo_fill_preserve(cr);
                    SetColour(cr, Hex(0xE8ECFF));
                    cairo_set_line_width(cr, 2);
                    cairo_stroke(cr);
                    t.size = FitTextSize(cr, text, h * 0.68, w - 14);
                    t.outline = 1.2;
                    t.fill = Hex(0xFFFFFF);
                    base = h / 2.0 + t.size * 0.729 / 2;
                } else {
                    t.fill = kCream;
                }
                DrawText(cr, text, (w - TextWidth(cr, text, t.size)) / 2, base, t);
            }
        },
        kInk, 0.35);
}

// ---------------------------------------------------------------- frames and dialogs

void DarkPanel(cairo_t* cr, double x, double y, double w, double h, double r) {
    RoundedRect(cr, x, y, w, h, r);
    SetColour(cr, Hex(0xDDE4FF));
    cairo_fill(cr);
    RoundedRect(cr, x + 3, y + 3, w - 6, h - 6, r - 2);
    SetColour(cr, Hex(0x3A4A8C));
    cairo_fill(cr);
    RoundedRect(cr, x + 6, y + 6, w - 12, h - 12, r - 4);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.13, 0.16, 0.32);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.06, 0.07, 0.16);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// The game writes its notices almost from edge to edge of this box, so its sides are a hairline and
// the frame's weight sits in the top and bottom bands instead.
void PaintMessageBox(Canvas& c) {
    PaintKeyed(
        c, kMagenta,
        [](cairo_t* cr) {
            RoundedRect(cr, 0.5, 0.5, 511, 127, 18);
            SetColour(cr, Hex(0xDDE4FF));
            cairo_fill(cr);
            RoundedRect(cr, 1.5, 1.5, 509, 125, 17);
            cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 128);
            cairo_pattern_add_color_stop_rgb(p, 0, 0.13, 0.16, 0.32);
            cairo_pattern_add_color_stop_rgb(p, 1, 0.06, 0.07, 0.16);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
            for (double y : {8.0, 117.0}) {
                RoundedRect(cr, 24, y, 464, 3, 1.5);
                SetColour(cr, Hex(0x3A4A8C));
                cairo_fill(cr);
            }
        },
        kInk, 0.5);
}

void PaintLevelDialog(Canvas& c) {
    // The bitmap's 512 pixels are shown over 513: a screen offset s from the centre is bitmap x
    // (s + 256.5) * 512 / 513.
    auto bx = [](double s) { return (s + 256.5) * 512.0 / 513.0; };
    auto by = [](double s) { return s + 175.0; };
    PaintKeyed(
        c, kMagenta,
        [&](cairo_t* cr) {
            DarkPanel(cr, 1, 1, 510, 348, 26);
            // Header band with a bus-stop sign and the game's name.
            RoundedRect(cr, 14, 14, 484, 60, 16);
            SetColour(cr, Hex(0x2A3770));
            cairo_fill(cr);
            TextStyle small;
            small.size = 24;
            small.fill = kGold;
            small.outline = 1.5;
            small.outlineColour = kInk;
            DrawTextCentred(cr, "VOLTRANA", 256, 44, small);
            for (double sx : {60.0, 452.0}) {
                SetColour(cr, Hex(0xF2F2F2));
                cairo_arc(cr, sx, 44, 20, 0, 2 * M_PI);
                cairo_fill(cr);
                SetColour(cr, Hex(0x1E7A3C));
                cairo_arc(cr, sx, 44, 16, 0, 2 * M_PI);
                cairo_fill(cr);
                TextStyle bus;
                bus.size = 20;
                bus.fill = Hex(0xFFD23C);
                DrawTextCentred(cr, "A", sx, 44, bus);
            }
            // A faint divider under the password line.
            SetColour(cr, Hex(0x5466B0), 0.6);
            cairo_rectangle(cr, 40, by(70), 432, 2);
            cairo_fill(cr);
            // The three buttons exactly over their click rectangles.
            struct B {
                double x0, x1;
                const char* text;
                Colour fill;
            } buttons[3] = {{-230, -100, "RESTART", Hex(0xC8412E)},
                            {-73, 73, "EXIT", Hex(0x4A5878)},
                            {100, 230, "OK", Hex(0x2E9A4A)}};
            for (const B& b : buttons) {
                double x0 = bx(b.x0), x1 = bx(b.x1), y0 = by(108), y1 = by(148);
                RoundedRect(cr, x0, y0, x1 - x0, y1 - y0, 12);
                cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
                Colour top = Mix(b.fill, Hex(0xFFFFFF), 0.35);
                cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
                cairo_pattern_add_color_stop_rgb(p, 1, b.fill.r * 0.75, b.fill.g * 0.75, b.fill.b * 0.75);
                cairo_set_source(cr, p);
                cairo_fill_preserve(cr);
                cairo_pattern_destroy(p);
                SetColour(cr, Hex(0xF4F6FF));
                cairo_set_line_width(cr, 2);
                cairo_stroke(cr);
                TextStyle t;
                t.size = FitTextSize(cr, b.text, 22, x1 - x0 - 16);
                t.fill = Hex(0xFFFFFF);
                t.outline = 1.3;
                t.outlineColour = kInk;
                DrawTextCentred(cr, b.text, (x0 + x1) / 2, (y0 + y1) / 2, t);
            }
        },
        kInk, 0.5);
}

void PaintCredits(Canvas& c, const GameTexts& texts) {
    PaintKeyed(
        c, kMagenta,
        [&](cairo_t* cr) {
            DarkPanel(cr, 1, 1, 253, 362, 20);
            // Three headed sections: the lines of the texts at these places are headings.
            const bool heading[10] = {true, false, false, false, true, false, false, true, false, false};
            double y = 40;
            for (int i = 0; i < 10; ++i) {
                const std::string line = Cp1250ToUtf8(texts.credits[i]);
                TextStyle t;
                t.outline = heading[i] ? 1.6 : 1.0;
                t.outlineColour = kInk;
                if (heading[i]) {
                    y += 8;
                    t.size = 25;
                    t.fill = kGold;
                    DrawText(cr, line, 20, y, t);
                    y += 27;
                } else {
                    t.size = FitTextSize(cr, line, 18, 205);
                    t.fill = kCream;
                    DrawText(cr, line, 30, y, t);
                    y += 22;
                }
            }
            // A tiny bus at the bottom.
            cairo_save(cr);
            DrawSideBus(cr, 70, 322, 115, 28, Hex(0xD8362A), Hex(0xF2D34A), true);
            cairo_restore(cr);
        },
        kInk, 0.5);
}

// ---------------------------------------------------------------- logos, title, wheel, the end

void PaintLogoStudio(Canvas& c) {
    // "Žltá zastávka": a bus-stop sign and the studio's name.
    cairo_t* cr = c.cr();
    c.Fill({0, 0, 0});
    SetColour(cr, Hex(0xFFD23C));
    RoundedRect(cr, 6, 4, 51, 51, 10);
    cairo_fill(cr);
    SetColour(cr, Hex(0x1E7A3C));
    RoundedRect(cr, 11, 9, 41, 41, 7);
    cairo_fill(cr);
    TextStyle a;
    a.size = 34;
    a.fill = Hex(0xFFD23C);
    DrawTextCentred(cr, "Z", 31.5, 29.5, a);
    TextStyle t;
    t.size = 30;
    t.fill = Hex(0xFFD23C);
    DrawText(cr, "ŽLTÁ", 70, 27, t);
    t.size = 24;
    t.fill = Hex(0xF2F2F2);
    DrawText(cr, "ZASTÁVKA studio", 70, 52, t);
}

void PaintLogoEngine(Canvas& c) {
    // The engine's mark: a cog-like wheel and "ZRM7 engine".
    cairo_t* cr = c.cr();
    c.Fill({0, 0, 0});
    cairo_save(cr);
    cairo_translate(cr, 30, 29.5);
    DrawWheel(cr, 25);
    cairo_restore(cr);
    TextStyle t;
    t.size = 38;
    t.fill = Hex(0x7FD4FF);
    DrawText(cr, "ZRM7", 64, 36, t);
    t.size = 16;
    t.fill = Hex(0xC8D0E0);
    DrawText(cr, "3D  ENGINE", 66, 54, t);
    SetColour(cr, Hex(0x7FD4FF));
    cairo_rectangle(cr, 170, 16, 76, 3);
    cairo_fill(cr);
    cairo_rectangle(cr, 170, 26, 56, 3);
    cairo_fill(cr);
}

void PaintLogoPartner(Canvas& c) {
    // A fictitious town transport company of the game's own town.
    cairo_t* cr = c.cr();
    c.Fill({0, 0, 0});
    SetColour(cr, Hex(0xD8362A));
    RoundedRect(cr, 8, 8, 75, 75, 16);
    cairo_fill(cr);
    SetColour(cr, Hex(0xFFFFFF));
    cairo_set_line_width(cr, 5);
    // A stylised bus front.
    RoundedRect(cr, 22, 20, 47, 44, 8);
    cairo_stroke(cr);
    cairo_rectangle(cr, 26, 26, 39, 16);
    cairo_fill(cr);
    cairo_arc(cr, 31, 55, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 60, 55, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    TextStyle t;
    t.size = 40;
    t.fill = Hex(0xFFFFFF);
    DrawText(cr, "DPMV", 100, 46, t);
    t.size = FitTextSize(cr, "Dopravný podnik mesta Voltrana", 19, 300);
    t.fill = Hex(0xFF8C7A);
    DrawText(cr, "Dopravný podnik mesta Voltrana", 100, 74, t);
}

void PaintTitle(Canvas& c) {
    c.Fill({0, 0, 0});
    DrawTitleLettering(c.cr(), 256, 72, 80);
}

void PaintTheEnd(Canvas& c, const GameTexts& texts) {
    c.Fill({0, 0, 0});
    const std::string words = Cp1250ToUtf8(texts.theEnd);
    TextStyle t;
    t.size = FitTextSize(c.cr(), words, 36, 137);
    t.fill = Hex(0xE82A1E);
    DrawTextCentred(c.cr(), words, 73.5, 21, t);
}

void PaintWheelBitmap(Canvas& c) {
    PaintKeyed(
        c, kMagenta,
        [](cairo_t* cr) {
            cairo_translate(cr, 100, 102.5);
            DrawWheel(cr, 97);
        },
        Hex(0x101012), 0.5);
}

// ---------------------------------------------------------------- cursor and icon

void PaintCursor(Canvas& c) {
    PaintKeyed(
        c, kMagenta,
        [](cairo_t* cr) {
            cairo_move_to(cr, 0.5, 0.5);
            cairo_line_to(cr, 0.5, 24);
            cairo_line_to(cr, 6.5, 18.5);
            cairo_line_to(cr, 11, 28.5);
            cairo_line_to(cr, 15, 26.5);
            cairo_line_to(cr, 10.5, 17);
            cairo_line_to(cr, 18.5, 17);
            cairo_close_path(cr);
            cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 12, 24);
            cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
            cairo_pattern_add_color_stop_rgb(p, 1, 1, 0.85, 0.35);
            cairo_set_source(cr, p);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(p);
            SetColour(cr, kInk);
            cairo_set_line_width(cr, 1.6);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
            cairo_stroke(cr);
        },
        kInk, 0.4);
    // The tip is the top-left pixel itself.
    c.Flush();
    c.Set(0, 0, ToRgb(kInk));
    c.MarkDirty();
}

void PaintIcon(Canvas& c) {
    PaintAppIconSquare(c.cr(), c.width());
}

}  // namespace

bool PaintMenuBitmap(const BitmapSpec& spec, const GameTexts& texts, Canvas& canvas) {
    std::string p = spec.painter;
    if (p == "menu_background")
        PaintBackground(canvas);
    else if (p == "button")
        PaintButton(canvas, spec.id, texts);
    else if (p == "label")
        PaintLabel(canvas, spec.id, texts);
    else if (p == "message_box")
        PaintMessageBox(canvas);
    else if (p == "level_dialog")
        PaintLevelDialog(canvas);
    else if (p == "credits")
        PaintCredits(canvas, texts);
    else if (p == "logo_studio")
        PaintLogoStudio(canvas);
    else if (p == "logo_engine")
        PaintLogoEngine(canvas);
    else if (p == "logo_partner")
        PaintLogoPartner(canvas);
    else if (p == "title")
        PaintTitle(canvas);
    else if (p == "the_end")
        PaintTheEnd(canvas, texts);
    else if (p == "wheel")
        PaintWheelBitmap(canvas);
    else if (p == "cursor")
        PaintCursor(canvas);
    else if (p == "icon")
        PaintIcon(canvas);
    else if (p == "black")
        canvas.Fill({0, 0, 0});
    else
        return false;
    canvas.Flush();
    return true;
}
