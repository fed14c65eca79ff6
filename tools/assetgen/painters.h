// The painters of every bitmap resource, by the painter name of the bitmap table.
#pragma once
#include "../../resources/bitmap_table.h"
#include "../../resources/game_texts.h"
#include "image.h"

// Paints bitmap `spec` onto a canvas of its size, with the words of `texts`. Returns false for an
// unknown painter.
bool PaintBitmap(const BitmapSpec& spec, const GameTexts& texts, Canvas& canvas);

// Colours shared between the title background and the main-menu buttons that sit on it.
inline constexpr Rgb kMenuBand{24, 31, 60};

// Painters by family (menu_art.cpp, textures.cpp, town_textures.cpp).
bool PaintMenuBitmap(const BitmapSpec& spec, const GameTexts& texts, Canvas& canvas);
bool PaintModelTexture(const BitmapSpec& spec, Canvas& canvas);
bool PaintTownTexture(const BitmapSpec& spec, const GameTexts& texts, Canvas& canvas);
