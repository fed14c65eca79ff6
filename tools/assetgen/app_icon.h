// The game's icon, for the window and for the desktop.
#pragma once
#include <cairo.h>

#include <string>

// The pixel sizes of the desktop icons.
inline constexpr int kAppIconSizes[] = {48, 64, 128, 256};

// Draws the icon into the square 0..256 of the current user space (transparent around the tile).
void DrawAppIcon(cairo_t* cr);
// The icon filling a size x size square with no transparency, for the window icon bitmap.
void PaintAppIconSquare(cairo_t* cr, int size);
// Writes DIR/<size>.png for every size of kAppIconSizes and DIR/scalable.svg.
bool WriteAppIcons(const std::string& dir);
