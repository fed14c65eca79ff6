#include "painters.h"

bool PaintBitmap(const BitmapSpec& spec, Canvas& canvas) {
    return PaintMenuBitmap(spec, canvas) || PaintModelTexture(spec, canvas) || PaintTownTexture(spec, canvas);
}
