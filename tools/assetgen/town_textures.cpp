// Textures of the town. Magenta (255, 0, 255) is transparent: tree and hedge cut-outs.
#include <algorithm>
#include <cmath>
#include <string>

#include "noise.h"
#include "paint.h"
#include "painters.h"
#include "platform/cp1250.h"

namespace {

void Rect(cairo_t* cr, double x, double y, double w, double h, Colour c, double a = 1) {
    SetColour(cr, c, a);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

// A tileable surface: base colour, large blotches of a second colour, grain.
void Surface(Canvas& c, Colour base, Colour blotch, double blotchAmount, double grain, unsigned seed) {
    c.Flush();
    int w = c.width(), h = c.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double n = TileNoise(double(x) / w, double(y) / h, 4, 4, seed);
            double t = std::clamp((n - 0.5) * 2.5 * blotchAmount + 0.5 * blotchAmount, 0.0, 1.0);
            c.Set(x, y, ToRgb(Mix(base, blotch, t)));
        }
    c.MarkDirty();
    AddNoise(c, grain, 16, 3, seed + 7);
}

void PaintGrass(Canvas& c) {
    Surface(c, Hex(0x5E9A3A), Hex(0x86B04A), 0.8, 0.04, 194);
    // Small flowers and clover.
    cairo_t* cr = c.cr();
    Random r(1940);
    for (int i = 0; i < 140; ++i) {
        double x = r.Between(4, 252), y = r.Between(4, 252);
        Colour col = r.Unit() < 0.5 ? Hex(0x4C8430) : Hex(0x79A844);
        SetColour(cr, col);
        cairo_arc(cr, x, y, r.Between(1, 2.5), 0, 2 * M_PI);
        cairo_fill(cr);
    }
    for (int i = 0; i < 18; ++i) {
        double x = r.Between(4, 252), y = r.Between(4, 252);
        SetColour(cr, r.Unit() < 0.5 ? Hex(0xF4F0D8) : Hex(0xF2D23C));
        cairo_arc(cr, x, y, 1.3, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// Detail textures sit on mid-grey: they are added with a bias of one half.
void PaintDetail(Canvas& c, int id) {
    c.Fill({128, 128, 128});
    AddNoise(c, id == 156 ? 0.08 : 0.05, 8, 5, unsigned(id));
}

void Asphalt(Canvas& c, unsigned seed, Colour base = Hex(0x4A4C52)) {
    Surface(c, base, Scale(base, 0.82), 0.6, 0.035, seed);
}

void LotCell(Canvas& c, bool exit, const GameTexts& texts) {
    Asphalt(c, exit ? 196 : 195, Hex(0x50535A));
    cairo_t* cr = c.cr();
    // Half of each painted line lies on this cell, half on its neighbour.
    Colour paint = Hex(0xF2F0E6);
    const double lw = 5;
    if (!exit) {
        Rect(cr, 0, 0, 256, lw, paint);
        Rect(cr, 0, 256 - lw, 256, lw, paint);
        Rect(cr, 0, 0, lw, 256, paint);
        Rect(cr, 256 - lw, 0, lw, 256, paint);
        // A faint oil stain.
        cairo_pattern_t* p = cairo_pattern_create_radial(128, 140, 5, 128, 140, 60);
        cairo_pattern_add_color_stop_rgba(p, 0, 0.1, 0.1, 0.12, 0.35);
        cairo_pattern_add_color_stop_rgba(p, 1, 0.1, 0.1, 0.12, 0);
        cairo_set_source(cr, p);
        cairo_paint(cr);
        cairo_pattern_destroy(p);
    } else {
        Rect(cr, 0, 0, 256, lw, paint);
        Rect(cr, 0, 0, lw, 256, Hex(0xF2C21E));
        Rect(cr, 256 - lw, 0, lw, 256, Hex(0xF2C21E));
        // Big arrow towards the bottom edge (the exit) and the word for it.
        SetColour(cr, Hex(0xF2C21E));
        cairo_move_to(cr, 108, 30);
        cairo_line_to(cr, 148, 30);
        cairo_line_to(cr, 148, 120);
        cairo_line_to(cr, 185, 120);
        cairo_line_to(cr, 128, 190);
        cairo_line_to(cr, 71, 120);
        cairo_line_to(cr, 108, 120);
        cairo_close_path(cr);
        cairo_fill(cr);
        TextStyle t;
        t.size = 36;
        t.fill = Hex(0xF2C21E);
        DrawTextCentred(cr, Cp1250ToUtf8(texts.lotExit), 128, 224, t);
    }
    c.Flush();
    AddNoise(c, 0.02, 16, 2, exit ? 961u : 951u);
}

// The main road across its width (u: x from 113 to 224), 64 units along per picture.
void PaintRoad(Canvas& c) {
    Asphalt(c, 197, Hex(0x45474D));
    cairo_t* cr = c.cr();
    auto X = [](double x) { return (x - 113.0) / 111.0 * 256.0; };
    Colour white = Hex(0xEDEDE6);
    Rect(cr, X(114.6), 0, 3, 256, white);
    Rect(cr, X(222.0), 0, 3, 256, white);
    for (double lx : {135.0, 157.5, 201.0}) Rect(cr, X(lx) - 1.5, 0, 3, 96, white);
    Rect(cr, X(178.8) - 1.5, 0, 3, 256, Hex(0xF2C21E));
    Rect(cr, X(181.2) - 1.5, 0, 3, 256, Hex(0xF2C21E));
    // Wheel tracks: darker bands along each lane.
    for (double lx : {125.0, 145.0, 170.0, 190.0, 212.0})
        for (double o : {-4.0, 4.0}) Rect(cr, X(lx + o) - 4, 0, 8, 256, Hex(0x2C2C30), 0.18);
    c.Flush();
    AddNoise(c, 0.015, 16, 2, 1970);
}

void PaintPaving(Canvas& c) {
    Surface(c, Hex(0xB8B2A6), Hex(0xA49E92), 0.5, 0.03, 198);
    cairo_t* cr = c.cr();
    for (int i = 0; i < 4; ++i) {
        Rect(cr, i * 64, 0, 2, 256, Hex(0x8E887E));
        Rect(cr, 0, i * 64, 256, 2, Hex(0x8E887E));
    }
}

void PaintParking(Canvas& c) {
    Asphalt(c, 199, Hex(0x4C4E55));
    cairo_t* cr = c.cr();
    // One bay per picture: a slanted line and a short one at the kerb.
    SetColour(cr, Hex(0xEDEDE6));
    cairo_set_line_width(cr, 6);
    cairo_move_to(cr, 40, 256);
    cairo_line_to(cr, 200, 20);
    cairo_stroke(cr);
    Rect(cr, 0, 0, 256, 5, Hex(0xEDEDE6));
}

void PaintServiceRoad(Canvas& c) {
    Asphalt(c, 200, Hex(0x484A50));
    cairo_t* cr = c.cr();
    Rect(cr, 0, 126, 100, 4, Hex(0xEDEDE6));
    Rect(cr, 0, 6, 256, 3, Hex(0xEDEDE6));
    Rect(cr, 0, 247, 256, 3, Hex(0xEDEDE6));
}

void PaintConcrete(Canvas& c) {
    Surface(c, Hex(0xC4C0B8), Hex(0xAAA69E), 0.5, 0.04, 201);
}

// Facades: four floors by four windows, repeated over the walls; the bottom row is the ground floor.
void PaintFacade(Canvas& c, int id) {
    cairo_t* cr = c.cr();
    Random r(unsigned(id) * 31u);
    Colour wall, frame, glass = Hex(0x3A5478);
    switch (id) {
        case 202:
            wall = Hex(0xE8D8B8);
            frame = Hex(0xFFFFFF);
            break;  // warm plaster block
        case 203:
            wall = Hex(0xB8D0E0);
            frame = Hex(0xF4F4F4);
            break;  // pale blue panel block
        case 204:
            wall = Hex(0xE0A878);
            frame = Hex(0xF8F0E0);
            break;  // terracotta town house
        default:
            wall = Hex(0xD8DCD0);
            frame = Hex(0x6A7078);
            break;  // grey with a shop
    }
    Surface(c, wall, Scale(wall, 0.9), 0.4, 0.02, unsigned(id));
    for (int floor = 0; floor < 4; ++floor) {
        double fy = floor * 64;
        // Cornice line under each floor.
        Rect(cr, 0, fy + 60, 256, 4, Scale(wall, 0.8));
        for (int w = 0; w < 4; ++w) {
            double wx = w * 64 + 14;
            bool shop = id == 205 && floor == 3;
            if (shop) {
                Rect(cr, w * 64 + 4, fy + 12, 56, 48, Hex(0x2A3E5A));
                Rect(cr, w * 64 + 6, fy + 14, 52, 20, Hex(0xFFE6A0), 0.5);
                // Striped awning.
                for (int s = 0; s < 7; ++s)
                    Rect(cr, w * 64 + 2 + s * 8, fy + 2, 8, 10, s % 2 ? Hex(0xF4F4F4) : Hex(0xD8362A));
                continue;
            }
            Rect(cr, wx - 3, fy + 14, 42, 38, frame);
            Colour g = Mix(glass, Hex(0x8AB0D8), r.Unit() * 0.5);
            if (r.Unit() < 0.2) g = Hex(0xF0D890);  // a lamp left on
            Rect(cr, wx, fy + 17, 36, 32, g);
            Rect(cr, wx + 17, fy + 17, 2, 32, frame);
            // Reflection.
            cairo_move_to(cr, wx + 4, fy + 47);
            cairo_line_to(cr, wx + 14, fy + 19);
            cairo_line_to(cr, wx + 18, fy + 19);
            cairo_line_to(cr, wx + 8, fy + 47);
            cairo_close_path(cr);
            SetColour(cr, Hex(0xFFFFFF), 0.25);
            cairo_fill(cr);
            if (id == 203 && floor < 3 && w % 2 == 0) {  // balconies
                Rect(cr, wx - 6, fy + 44, 48, 10, Hex(0x8A98A8));
                Rect(cr, wx - 6, fy + 44, 48, 2, Hex(0xF4F4F4));
            }
            if (id == 204) {  // flower boxes
                Rect(cr, wx - 2, fy + 50, 40, 5, Hex(0x7A4A2A));
                for (int f = 0; f < 6; ++f) {
                    SetColour(cr, f % 2 ? Hex(0xE83A4A) : Hex(0xF4D23C));
                    cairo_arc(cr, wx + 2 + f * 6.5, fy + 49, 2.2, 0, 2 * M_PI);
                    cairo_fill(cr);
                }
            }
        }
    }
    if (id == 202) {  // a door in the ground floor
        Rect(cr, 84, 206, 28, 50, Hex(0x6A4226));
        Rect(cr, 88, 210, 20, 22, Hex(0x3A5478));
    }
    c.Flush();
    AddNoise(c, 0.012, 8, 2, unsigned(id) + 1);
    ProtectKey(c, kMagenta, 40);
}

void PaintRoofFlat(Canvas& c) {
    Surface(c, Hex(0x6E6C68), Hex(0x5A5854), 0.7, 0.05, 206);
    cairo_t* cr = c.cr();
    Rect(cr, 0, 0, 256, 6, Hex(0xA8A49C));
    Rect(cr, 0, 0, 6, 256, Hex(0xA8A49C));
    Random r(2060);
    for (int i = 0; i < 3; ++i) {
        double x = r.Between(30, 200), y = r.Between(30, 200);
        Rect(cr, x, y, 26, 26, Hex(0x9098A0));
        Rect(cr, x + 4, y + 4, 18, 18, Hex(0x5A6068));
    }
}

void PaintRoofTiles(Canvas& c) {
    Surface(c, Hex(0xB04A32), Hex(0x8C3424), 0.6, 0.03, 207);
    cairo_t* cr = c.cr();
    for (int row = 0; row < 16; ++row) {
        Rect(cr, 0, row * 16 + 13, 256, 3, Hex(0x6A2418), 0.6);
        for (int col = 0; col < 16; ++col) {
            double x = col * 16 + (row % 2) * 8;
            Rect(cr, x, row * 16, 1.5, 13, Hex(0x6A2418), 0.5);
        }
    }
}

// A deciduous tree for crossed billboards: a round crown on a trunk, on magenta.
void PaintTree(Canvas& c, bool conifer) {
    PaintKeyed(
        c, kMagenta,
        [&](cairo_t* cr) {
            Random r(conifer ? 209 : 208);
            // Trunk.
            SetColour(cr, Hex(0x6A4A2E));
            cairo_move_to(cr, 120, 256);
            cairo_line_to(cr, 124, 150);
            cairo_line_to(cr, 132, 150);
            cairo_line_to(cr, 136, 256);
            cairo_close_path(cr);
            cairo_fill(cr);
            if (conifer) {
                for (int layer = 0; layer < 5; ++layer) {
                    double y0 = 40 + layer * 38, w = 40 + layer * 18;
                    Colour col = Mix(Hex(0x1E5A36), Hex(0x2E7A44), layer / 5.0);
                    SetColour(cr, col);
                    cairo_move_to(cr, 128, y0 - 34);
                    cairo_line_to(cr, 128 + w, y0 + 44);
                    cairo_line_to(cr, 128 - w, y0 + 44);
                    cairo_close_path(cr);
                    cairo_fill(cr);
                }
                for (int i = 0; i < 120; ++i) {
                    double y = r.Between(20, 220), half = (y - 6) * 0.45;
                    double x = 128 + r.Between(-half, half);
                    SetColour(cr, Mix(Hex(0x184A2C), Hex(0x4A9A5A), r.Unit()));
                    cairo_arc(cr, x, y, r.Between(2, 4), 0, 2 * M_PI);
                    cairo_fill(cr);
                }
                return;
            }
            // Crown: many leaf clusters, darker at the bottom, lit from the top left.
            for (int i = 0; i < 70; ++i) {
                double a = r.Unit() * 2 * M_PI, d = std::sqrt(r.Unit()) * 88;
                double x = 128 + std::cos(a) * d, y = 100 + std::sin(a) * d * 0.85;
                double shade = 0.5 + 0.5 * ((128 - x) * 0.4 + (100 - y)) / 120.0;
                Colour col = Mix(Hex(0x2E6A2A), Hex(0x8CC04C), std::clamp(shade, 0.0, 1.0));
                SetColour(cr, col);
                cairo_arc(cr, x, y, r.Between(14, 26), 0, 2 * M_PI);
                cairo_fill(cr);
            }
            for (int i = 0; i < 200; ++i) {
                double a = r.Unit() * 2 * M_PI, d = std::sqrt(r.Unit()) * 95;
                double x = 128 + std::cos(a) * d, y = 100 + std::sin(a) * d * 0.85;
                SetColour(cr, Mix(Hex(0x3A7A30), Hex(0xA8D060), r.Unit()));
                cairo_arc(cr, x, y, r.Between(2, 5), 0, 2 * M_PI);
                cairo_fill(cr);
            }
        },
        Hex(0x1E3A18), 0.5);
}

void PaintHedge(Canvas& c) {
    PaintKeyed(
        c, kMagenta,
        [](cairo_t* cr) {
            Random r(221);
            for (int i = 0; i < 260; ++i) {
                double x = r.Between(0, 256), y = r.Between(40, 128);
                double rad = r.Between(6, 14);
                SetColour(cr, Mix(Hex(0x2A5A24), Hex(0x7AB048), (128 - y) / 100 + r.Between(-0.2, 0.2)));
                for (double dx : {-256.0, 0.0, 256.0}) {  // wrap horizontally
                    cairo_arc(cr, x + dx, y, rad, 0, 2 * M_PI);
                    cairo_fill(cr);
                }
            }
            SetColour(cr, Hex(0x2A5A24));
            cairo_rectangle(cr, 0, 100, 256, 28);
            cairo_fill(cr);
        },
        Hex(0x1E3A18), 0.5);
}

void PaintMetal(Canvas& c) {
    cairo_t* cr = c.cr();
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 128, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.22, 0.26, 0.28);
    cairo_pattern_add_color_stop_rgb(p, 0.4, 0.48, 0.54, 0.56);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.22, 0.26, 0.28);
    cairo_rectangle(cr, 0, 0, 128, 128);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    AddNoise(c, 0.015, 8, 2, 210);
}

// Glows for the additive pass: black is no light.
// `pool`: the faint pool of the road lamps' halo; `night`: the strong pool under a lamp that only the
// night lamp lights (see the scene's NightPool), so it can be bright.
void PaintGlow(Canvas& c, bool pool, bool night = false) {
    cairo_t* cr = c.cr();
    c.Fill({0, 0, 0});
    cairo_pattern_t* p = cairo_pattern_create_radial(64, 64, 0, 64, 64, 63);
    if (night) {
        cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.86, 0.55);
        cairo_pattern_add_color_stop_rgb(p, 0.35, 0.75, 0.6, 0.34);
        cairo_pattern_add_color_stop_rgb(p, 0.75, 0.22, 0.16, 0.07);
        cairo_pattern_add_color_stop_rgb(p, 1, 0, 0, 0);
    } else if (pool) {
        cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.45, 0.25);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.22, 0.17, 0.08);
        cairo_pattern_add_color_stop_rgb(p, 1, 0, 0, 0);
    } else {
        cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.97, 0.85);
        cairo_pattern_add_color_stop_rgb(p, 0.15, 0.95, 0.8, 0.5);
        cairo_pattern_add_color_stop_rgb(p, 0.5, 0.35, 0.25, 0.1);
        cairo_pattern_add_color_stop_rgb(p, 1, 0, 0, 0);
    }
    cairo_rectangle(cr, 0, 0, 128, 128);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// Lit windows for the night, laid out exactly as the facades' windows and drawn additively over them:
// black where the wall is (adds nothing), warm light behind about two windows in three.
void PaintNightWindows(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill({0, 0, 0});
    Random r(2251);
    const Colour warm[3] = {Hex(0xFFD27A), Hex(0xFFB85A), Hex(0xF8E6B0)};
    for (int floor = 0; floor < 4; ++floor) {
        double fy = floor * 64;
        for (int w = 0; w < 4; ++w) {
            double wx = w * 64 + 14;
            double u = r.Unit();
            if (u < 0.3) continue;                                  // nobody home
            Colour k = u > 0.9 ? Hex(0x9CC8F0) : warm[r.Below(3)];  // one in ten: a television
            // Brighter at the top of the pane, where the ceiling lamp hangs; a dark window bar.
            cairo_pattern_t* p = cairo_pattern_create_linear(0, fy + 17, 0, fy + 49);
            cairo_pattern_add_color_stop_rgb(p, 0, k.r, k.g, k.b);
            cairo_pattern_add_color_stop_rgb(p, 1, k.r * 0.6, k.g * 0.55, k.b * 0.45);
            cairo_rectangle(cr, wx, fy + 17, 36, 32);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
            Rect(cr, wx + 17, fy + 17, 2, 32, Hex(0x000000));
            if (r.Unit() < 0.4) Rect(cr, wx, fy + 17, 36, 9, Scale(k, 0.35));  // blind half down
        }
    }
    // The corner texels stay black: the normal-steering slivers sample them.
    Rect(cr, 0, 0, 4, 4, Hex(0x000000));
}

// A traffic light's face: red, red and amber, green, amber.
void PaintSignal(Canvas& c, int id) {
    cairo_t* cr = c.cr();
    c.Fill({26, 28, 30});
    Rect(cr, 0, 0, 128, 4, Hex(0xF2C21E));
    Rect(cr, 0, 124, 128, 4, Hex(0xF2C21E));
    bool red = id == 213 || id == 214, amber = id == 214 || id == 216, green = id == 215;
    struct L {
        double y;
        Colour on, off;
        bool lit;
    } lights[3] = {{24, Hex(0xFF3A2A), Hex(0x4A1410), red},
                   {64, Hex(0xFFB820), Hex(0x4A3410), amber},
                   {104, Hex(0x3AF07A), Hex(0x10401E), green}};
    for (const L& l : lights) {
        SetColour(cr, Hex(0x0A0A0C));
        cairo_arc(cr, 64, l.y, 19, 0, 2 * M_PI);
        cairo_fill(cr);
        if (l.lit) {
            cairo_pattern_t* p = cairo_pattern_create_radial(58, l.y - 5, 2, 64, l.y, 17);
            cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 0.9);
            cairo_pattern_add_color_stop_rgb(p, 1, l.on.r, l.on.g, l.on.b);
            cairo_arc(cr, 64, l.y, 16, 0, 2 * M_PI);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        } else {
            SetColour(cr, l.off);
            cairo_arc(cr, 64, l.y, 16, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
    ProtectKey(c, kMagenta, 40);
}

// The depot's sign over the lot, four frames: letters light up one after another, then all blink.
void PaintSign(Canvas& c, int id, const GameTexts& texts) {
    cairo_t* cr = c.cr();
    int frame = id - 217;
    c.Fill({20, 22, 40});
    RoundedRect(cr, 3, 3, 250, 122, 12);
    SetColour(cr, Hex(0x3A4A8C));
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    const char* word = "VOLTRANA";
    int lit = frame == 0 ? 3 : frame == 1 ? 6 : 8;
    UseFont(cr, 40);
    double x = 128 - TextWidth(cr, word, 40) / 2;
    for (int i = 0; i < 8; ++i) {
        std::string ch(1, word[i]);
        double w = TextWidth(cr, ch, 40);
        TextStyle t;
        t.size = 40;
        bool on = i < lit && frame != 3;
        t.fill = on ? Hex(0xFFE07A) : Hex(0x5A4A30);
        t.outline = on ? 3 : 0;
        t.outlineColour = Hex(0xFF8A20);
        DrawText(cr, ch, x, 62, t);
        x += w;
    }
    // The bus-stop mark under the word: lit in every frame but the dark one.
    TextStyle t;
    t.size = 26;
    t.fill = frame == 3 ? Hex(0x6A8AD0) : Hex(0x9AD8FF);
    DrawTextCentred(cr, Cp1250ToUtf8(texts.depotSign), 128, 96, t);
    ProtectKey(c, kMagenta, 40);
}

void PaintGlass(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, 0, 256, 256, Hex(0x6A9AC8), Hex(0x2A4A78));
    for (int i = 0; i <= 4; ++i) {
        Rect(cr, i * 64 - 2, 0, 4, 256, Hex(0xC8D0D8));
        Rect(cr, 0, i * 64 - 2, 256, 4, Hex(0xC8D0D8));
    }
    SetColour(cr, Hex(0xFFFFFF), 0.18);
    cairo_move_to(cr, 0, 200);
    cairo_line_to(cr, 200, 0);
    cairo_line_to(cr, 256, 0);
    cairo_line_to(cr, 0, 256);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void PaintExitApron(Canvas& c) {
    cairo_t* cr = c.cr();
    c.Fill({242, 194, 30});
    SetColour(cr, Hex(0x1E1E20));
    for (int x = -128; x < 256; x += 32) {
        cairo_move_to(cr, x, 128);
        cairo_line_to(cr, x + 16, 128);
        cairo_line_to(cr, x + 144, 0);
        cairo_line_to(cr, x + 128, 0);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    AddNoise(c, 0.03, 8, 3, 223);
}

void PaintShelter(Canvas& c, const GameTexts& texts) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, 0, 256, 128, Hex(0x9ABAD0), Hex(0x6A8AA8));
    Rect(cr, 0, 0, 256, 6, Hex(0x3A3E46));
    Rect(cr, 0, 122, 256, 6, Hex(0x3A3E46));
    // Poster: the town's bus.
    Rect(cr, 150, 20, 90, 90, Hex(0xF4E9D0));
    Rect(cr, 160, 60, 70, 26, Hex(0xD8362A));
    Rect(cr, 165, 66, 60, 8, Hex(0x2A4060));
    TextStyle t;
    t.size = 14;
    t.fill = Hex(0xD8362A);
    DrawTextCentred(cr, Cp1250ToUtf8(texts.shelterPoster), 195, 40, t);
    ProtectKey(c, kMagenta, 40);
}

}  // namespace

bool PaintTownTexture(const BitmapSpec& spec, const GameTexts& texts, Canvas& canvas) {
    std::string p = spec.painter;
    if (p == "tex_grass")
        PaintGrass(canvas);
    else if (p == "detail_grass" || p == "detail_asphalt")
        PaintDetail(canvas, spec.id);
    else if (p == "tex_lot_cell")
        LotCell(canvas, false, texts);
    else if (p == "tex_lot_exit")
        LotCell(canvas, true, texts);
    else if (p == "tex_road")
        PaintRoad(canvas);
    else if (p == "tex_paving")
        PaintPaving(canvas);
    else if (p == "tex_parking")
        PaintParking(canvas);
    else if (p == "tex_service_road")
        PaintServiceRoad(canvas);
    else if (p == "tex_concrete")
        PaintConcrete(canvas);
    else if (p == "tex_facade")
        PaintFacade(canvas, spec.id);
    else if (p == "tex_roof_flat")
        PaintRoofFlat(canvas);
    else if (p == "tex_roof_tiles")
        PaintRoofTiles(canvas);
    else if (p == "tex_tree")
        PaintTree(canvas, false);
    else if (p == "tex_conifer")
        PaintTree(canvas, true);
    else if (p == "tex_metal")
        PaintMetal(canvas);
    else if (p == "tex_glow")
        PaintGlow(canvas, false);
    else if (p == "tex_light_pool")
        PaintGlow(canvas, true);
    else if (p == "tex_night_pool")
        PaintGlow(canvas, true, true);
    else if (p == "tex_night_windows")
        PaintNightWindows(canvas);
    else if (p == "tex_signal")
        PaintSignal(canvas, spec.id);
    else if (p == "tex_sign")
        PaintSign(canvas, spec.id, texts);
    else if (p == "tex_hedge")
        PaintHedge(canvas);
    else if (p == "tex_glass")
        PaintGlass(canvas);
    else if (p == "tex_exit_apron")
        PaintExitApron(canvas);
    else if (p == "tex_shelter")
        PaintShelter(canvas, texts);
    else
        return false;
    canvas.Flush();
    return true;
}
