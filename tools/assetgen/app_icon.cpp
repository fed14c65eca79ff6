// The game's icon: a corner of the bus lot seen from above, the cream-and-red bus heading down to the
// exit between two other buses. Drawn as vectors in a 256-unit square, so one drawing gives the
// window icon, the desktop icons at every size and the scalable SVG.
#include "app_icon.h"

#include <cairo-svg.h>

#include <cmath>

#include "paint.h"

namespace {

// The lot: a 3 x 3 block of cells on a rounded tile.
const double kTile0 = 20, kTile1 = 236, kCell = (kTile1 - kTile0) / 3;
const Colour kAsphaltTop = Hex(0x5C6068), kAsphaltBottom = Hex(0x43464D), kTileEdge = Hex(0x24262B);
const Colour kLine = Hex(0xF2F0E6), kExitYellow = Hex(0xF2C21E), kInk = Hex(0x15171C);

// Body colours of the game's buses: the red of the player's first bus, blue, teal. The roofs are drawn in
// the body colour too: at 48 pixels the colour is what tells the buses apart.
const Colour kHero = Hex(0xD23A2C), kBlue = Hex(0x2F6FD0), kTeal = Hex(0x1E9C8A);

double CellX(int column) {
    return kTile0 + column * kCell;
}

// A bus from above filling `rows` cells of a column from `row` down; its front at the bottom when
// `frontDown`.
void DrawBusFromAbove(cairo_t* cr, int column, int row, int rows, Colour body, bool frontDown) {
    const double m = 9, x = CellX(column) + m, y = kTile0 + row * kCell + m * 0.7;
    const double w = kCell - 2 * m, h = rows * kCell - 2 * m * 0.7;
    // Shadow, body with a dark edge, then the roof inset so that the body shows as a rim.
    RoundedRect(cr, x + 4, y + 6, w, h, 9);
    SetColour(cr, kInk, 0.45);
    cairo_fill(cr);
    RoundedRect(cr, x, y, w, h, 9);
    SetColour(cr, Scale(body, 0.8));
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    const double glass = 15, front = frontDown ? y + h - glass - 4 : y + 4;
    const double roofTop = frontDown ? y + 7 : y + glass + 8, roofBottom = frontDown ? front - 4 : y + h - 7;
    RoundedRect(cr, x + 7, roofTop, w - 14, roofBottom - roofTop, 4);
    cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + w, 0);
    const Colour light = Mix(body, Hex(0xFFFFFF), 0.25);
    cairo_pattern_add_color_stop_rgb(p, 0, body.r, body.g, body.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 1, body.r * 0.92, body.g * 0.92, body.b * 0.92);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Windscreen across the front.
    RoundedRect(cr, x + 5, front, w - 10, glass, 5);
    SetColour(cr, Hex(0x22355A));
    cairo_fill(cr);
    RoundedRect(cr, x + 9, front + 3, w - 26, 4, 2);
    SetColour(cr, Hex(0x8FB4E0), 0.8);
    cairo_fill(cr);
    // Roof hatches along the middle.
    const int hatches = rows == 2 ? 2 : 1;
    for (int i = 0; i < hatches; ++i) {
        const double cy = roofTop + (roofBottom - roofTop) * (i + 0.5) / hatches, s = w * 0.42;
        RoundedRect(cr, x + w / 2 - s / 2, cy - s / 2, s, s, 3);
        SetColour(cr, Hex(0x5C6470));
        cairo_fill(cr);
        RoundedRect(cr, x + w / 2 - s / 2 + 3, cy - s / 2 + 3, s - 6, s - 6, 2);
        SetColour(cr, Hex(0x9AA6B6));
        cairo_fill(cr);
    }
}

void DrawLot(cairo_t* cr) {
    const double r = 40;
    RoundedRect(cr, kTile0, kTile0, kTile1 - kTile0, kTile1 - kTile0, r);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, kTile0, 0, kTile1);
    cairo_pattern_add_color_stop_rgb(p, 0, kAsphaltTop.r, kAsphaltTop.g, kAsphaltTop.b);
    cairo_pattern_add_color_stop_rgb(p, 1, kAsphaltBottom.r, kAsphaltBottom.g, kAsphaltBottom.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_save(cr);
    cairo_clip(cr);
    // Painted cell lines.
    SetColour(cr, kLine, 0.9);
    for (int i = 1; i < 3; ++i) {
        cairo_rectangle(cr, CellX(i) - 2, kTile0, 4, kTile1 - kTile0);
        cairo_rectangle(cr, kTile0, CellX(i) - 2, kTile1 - kTile0, 4);
    }
    cairo_fill(cr);
    // The exit below the middle column: yellow and black stripes along the edge, an arrow above them.
    const double ex = CellX(1), ey = kTile1 - 18;
    cairo_save(cr);
    cairo_rectangle(cr, ex, ey, kCell, 18);
    cairo_clip_preserve(cr);
    SetColour(cr, kInk);
    cairo_fill(cr);
    for (double sx = ex - 18; sx < ex + kCell; sx += 16) {
        cairo_move_to(cr, sx, kTile1);
        cairo_line_to(cr, sx + 8, kTile1);
        cairo_line_to(cr, sx + 8 + 18, ey);
        cairo_line_to(cr, sx + 18, ey);
        cairo_close_path(cr);
    }
    SetColour(cr, kExitYellow);
    cairo_fill(cr);
    cairo_restore(cr);
    const double ax = ex + kCell / 2, ay = kTile0 + 2 * kCell + 8;
    cairo_move_to(cr, ax - 10, ay);
    cairo_line_to(cr, ax + 10, ay);
    cairo_line_to(cr, ax + 10, ay + 18);
    cairo_line_to(cr, ax + 22, ay + 18);
    cairo_line_to(cr, ax, ay + 38);
    cairo_line_to(cr, ax - 22, ay + 18);
    cairo_line_to(cr, ax - 10, ay + 18);
    cairo_close_path(cr);
    SetColour(cr, kExitYellow);
    cairo_fill(cr);
    cairo_restore(cr);
    // The tile's edge.
    RoundedRect(cr, kTile0, kTile0, kTile1 - kTile0, kTile1 - kTile0, r);
    cairo_set_line_width(cr, 5);
    SetColour(cr, kTileEdge);
    cairo_stroke(cr);
}

bool WritePng(int size, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 256.0, size / 256.0);
    DrawAppIcon(cr);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool WriteSvg(const std::string& path) {
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), 256, 256);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    DrawAppIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

void DrawAppIcon(cairo_t* cr) {
    DrawLot(cr);
    DrawBusFromAbove(cr, 0, 1, 2, kBlue, false);
    DrawBusFromAbove(cr, 2, 0, 2, kTeal, true);
    DrawBusFromAbove(cr, 1, 0, 2, kHero, true);
}

void PaintAppIconSquare(cairo_t* cr, int size) {
    SetColour(cr, kAsphaltBottom);
    cairo_paint(cr);
    cairo_save(cr);
    const double scale = size / (kTile1 - kTile0);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -kTile0, -kTile0);
    DrawAppIcon(cr);
    cairo_restore(cr);
}

bool WriteAppIcons(const std::string& dir) {
    for (int size : kAppIconSizes)
        if (!WritePng(size, dir + "/" + std::to_string(size) + ".png")) return false;
    return WriteSvg(dir + "/scalable.svg");
}
