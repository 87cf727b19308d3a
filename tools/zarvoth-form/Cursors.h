// Cursors: the two mouse-cursor pictures of the main window, drawn in code — a targeting reticle
// whose centre (the pointer's hot spot) is pixel (16, 16), since the frame draws the picture
// 16 pixels up and left of the pointer. The red twin marks clickable places.
#pragma once

#include "engine/assets/Classes.h"
#include "engine/images/Graphics.h"

namespace FormDesign {

constexpr int CursorWidth = 26;
constexpr int CursorHeight = 25;
constexpr TColor CursorKey = RGB(252, 2, 252);
constexpr TColor RedCursorKey = RGB(252, 2, 244);

// Fills picture with the reticle in the given colour on the transparent key colour.
void DrawCursor(TPicture& picture, TColor reticle, TColor key);

}  // namespace FormDesign
