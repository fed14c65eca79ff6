#include "painters.h"

bool PaintBitmap(const BitmapSpec& spec, const GameTexts& texts, Canvas& canvas) {
    return PaintMenuBitmap(spec, texts, canvas) || PaintModelTexture(spec, canvas) ||
           PaintTownTexture(spec, texts, canvas);
}
