// Ui: the Zarvoth console look shared by the control panel, the buttons, the dialogs and the
// menu screens — bevelled gunmetal and bronze plates with a brushed grain, pale plates for
// dark text, recessed wells, rivets and captioned buttons. Depends on Raster, Shapes, Captions.
#pragma once

#include <string_view>

#include "tools/raster/Captions.h"

namespace content {

struct Rect {
    float Left, Top, Right, Bottom;
    Rect Inset(float by) const { return {Left + by, Top + by, Right - by, Bottom - by}; }
};

struct PlateStyle {
    Rgba RimLight;  // bevel, upper left
    Rgba RimDark;   // bevel, lower right
    Rgba Top;       // face, top
    Rgba Bottom;    // face, bottom
    float Border;   // bevel width
    float Grain;    // brushed-metal streaks, 0 for none
};

extern const PlateStyle Gunmetal;
extern const PlateStyle BronzeTrim;
extern const PlateStyle PaleSand;  // light enough for dark text

// Palette shared by the screens.
constexpr Rgba DisruptorGreen = Rgb8(120, 255, 150);
constexpr Rgba ConsoleAmber = Rgb8(255, 182, 72);
constexpr Rgba ShieldCyan = Rgb8(90, 220, 255);
constexpr Rgba CaptionGrey = Rgb8(214, 220, 206);

// Amber-gold captions with a warm halo: titles and the labels of plates.
CaptionStyle AmberCaption(float glowAlpha, float glowRadius);

void DrawPlate(Canvas& canvas, Rect box, float radius, const PlateStyle& style);
// A sunken well: dark face, shadow at the upper left, light at the lower right.
void DrawRecess(Canvas& canvas, Rect box, float radius);
void DrawRivet(Canvas& canvas, Vec2 at);

enum class ButtonLook {
    Idle,     // ready to press
    Lit,      // switched on: glowing in the accent colour
    Pressed,  // its dialog or menu is open
    Dim,      // not available
};

struct ButtonStyle {
    int Width;
    int Height;
    std::string_view Caption;
    int FontSize;
    ButtonLook Look;
    Rgba Accent;
};

// A whole button picture: rounded corners keyed out, everything else opaque.
platform::RgbImage ButtonPicture(const ButtonStyle& style);
// The same face drawn into a larger canvas at (x, y) (menu screens).
void DrawButtonFace(Canvas& canvas, float x, float y, const ButtonStyle& style);

}  // namespace content
