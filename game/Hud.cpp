// Hud: the panel, its bars and buttons, the in-game menu and the text overlay.
#include "game/Hud.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "engine/display/DirectDrawSurface.h"
#include "engine/display/SurfaceCanvas.h"
#include "engine/images/PictureCollection.h"
#include "game/Game.h"
#include "game/Main.h"
#include "game/Texts.h"

namespace Game {
namespace {

struct TPanelPicture {
    int Image;
    TPoint At;
};

// The panel's pictures, in drawing order.
constexpr TPanelPicture PanelPictures[] = {
    {33, {0, 0}},   {34, {9, 0}},     {35, {680, 0}},  {36, {791, 138}}, {37, {0, 535}},
    {40, {763, 148}}, {38, {30, 553}}, {39, {30, 572}}, {53, {712, 10}},
};
constexpr int PhaserFill = 41;
constexpr int ShieldFill = 42;
constexpr int HullFill = 43;
constexpr int MenuPlate = 44;
constexpr TPoint MenuPlateAt{200, 88};
// Full bars: 203 pixels wide for 100 % energy, 371 pixels high for a whole hull.
constexpr long double EnergyScale = 2.03L;
constexpr long double HullScale = 3.71L;
constexpr int HullBarBottom = 523;

constexpr TColor OverlayColor = RGB(114, 57, 51);

// A bar of length 0 draws nothing.
void DrawBar(TDirectDrawSurface& surface, int image, const TRect& rect) {
    if (rect.Right > rect.Left && rect.Bottom > rect.Top) {
        Main::ScreenImages()->Items(image).StretchDraw(&surface, rect, 0);
    }
}

// Writes the label and the number into the buffer, without allocating.
std::string_view Labelled(char (&buffer)[32], std::string_view label, std::int32_t value) {
    const std::size_t length = label.copy(buffer, label.size());
    const auto end = std::to_chars(buffer + length, buffer + sizeof buffer, value).ptr;
    return {buffer, static_cast<std::size_t>(end - buffer)};
}

// The canvas set for the overlay's lines.
TDirectDrawSurfaceCanvas& OverlayCanvas(TDirectDrawSurface& surface) {
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = "Verdana";
    canvas.Font.Size = 8;
    canvas.Font.Style = TFontStyle::Regular;
    canvas.Font.Color = OverlayColor;
    return canvas;
}

}  // namespace

std::int32_t BarLength(long double value, long double scale) {
    const long double length = std::nearbyint(value * scale);
    return length > 0 ? static_cast<std::int32_t>(length) : 0;
}

void DrawPanel() {
    TDirectDrawSurface* surface = Main::BackSurface();
    TPictureCollection* images = Main::ScreenImages();
    if (surface == nullptr || images == nullptr || !GameRunning()) {
        return;
    }
    for (const TPanelPicture& picture : PanelPictures) {
        images->Items(picture.Image).Draw(surface, picture.At.X, picture.At.Y, 0);
    }
    const std::int32_t phaser = BarLength(Player->GetPhaserEnergy(), EnergyScale);
    DrawBar(*surface, PhaserFill, {33, 556, 33 + phaser, 565});
    const std::int32_t shield = BarLength(Player->GetShieldEnergy(), EnergyScale);
    DrawBar(*surface, ShieldFill, {33, 575, 33 + shield, 584});
    const std::int32_t hull = BarLength(Player->GetHullPercent(), HullScale);
    DrawBar(*surface, HullFill, {767, HullBarBottom - hull, 776, HullBarBottom});
    for (TGButton* button : {TorpedoButton.get(), TransportButton.get(), MenuButton.get(), CloakButton.get(),
                             ShieldsButton.get(), WarpButton.get()}) {
        button->Draw();
    }
    if (GameState == StateMenu) {
        images->Items(MenuPlate).Draw(surface, MenuPlateAt.X, MenuPlateAt.Y, 0);
        for (TGButton* item : {RestartItem.get(), ResumeItem.get(), MainMenuItem.get(), QuitItem.get()}) {
            item->Draw();
        }
    }
}

void DrawOverlay() {
    TDirectDrawSurface* surface = Main::BackSurface();
    if (surface == nullptr || !GameRunning()) {
        return;
    }
    TDirectDrawSurfaceCanvas& canvas = OverlayCanvas(*surface);
    char buffer[32];
    canvas.TextOut(10, 10, Labelled(buffer, "Score: ", Main::Score));
    canvas.TextOut(10, 22, Labelled(buffer, "Torpedos: ", Player->GetTorpedoes()));
    if (Main::ShowFps) {
        canvas.TextOut(10, 34, Labelled(buffer, "FPS: ", Main::Fps));
    }
    canvas.Release();
}

void OpenHudFonts() {
    if (TDirectDrawSurface* surface = Main::BackSurface()) {
        PrepareGlyphs(OverlayCanvas(*surface));
        TMessageBox::OpenFonts(DialogFontSize);
    }
}

}  // namespace Game
