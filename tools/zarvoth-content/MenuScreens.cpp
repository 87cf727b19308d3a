// MenuScreens: every screen starts from the same space backdrop and adds its own plates.
#include "tools/zarvoth-content/MenuScreens.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/zarvoth-content/Backdrop.h"
#include "tools/raster/Captions.h"
#include "tools/zarvoth-content/Panel.h"
#include "tools/raster/Shapes.h"
#include "tools/zarvoth-content/Ships.h"
#include "tools/zarvoth-content/Ui.h"

namespace content {
namespace {

constexpr int ScreenWidth = 810;
constexpr int ScreenHeight = 600;
constexpr float ShiftX = 10;  // the backgrounds are drawn at x = -10
constexpr int Supersample = 2;

// A screen rectangle in picture coordinates.
Rect Area(float left, float top, float right, float bottom) {
    return {left + ShiftX, top, right + ShiftX, bottom};
}

struct Lamp {
    float X, Y;  // screen position of the hover picture
};
constexpr float LampWidth = 30;
constexpr float LampHeight = 22;

CaptionStyle PlateCaption() {
    return AmberCaption(0.3f, 3);
}

CaptionStyle BodyText() {
    CaptionStyle style;
    style.Top = Rgb8(222, 228, 220);
    style.Bottom = Rgb8(186, 194, 186);
    style.Shadow = Rgb8(0, 0, 0, 0.9f);
    return style;
}

// Smoked glass with a bronze edge: the panels that group a screen's content.
void DrawGlass(Canvas& c, Rect box) {
    c.Fill(RoundBox(box.Left, box.Top, box.Right, box.Bottom, 10), Solid(Rgb8(6, 10, 16, 0.62f)));
    Path edge = RoundBox(box.Left, box.Top, box.Right, box.Bottom, 10);
    edge.push_back(RoundBox(box.Left + 1.5f, box.Top + 1.5f, box.Right - 1.5f, box.Bottom - 1.5f, 8.5f).front());
    c.Fill(edge, Linear({0, box.Top}, {0, box.Bottom}, {{0, Rgb8(226, 180, 110, 0.9f)}, {1, Rgb8(120, 80, 36, 0.7f)}}));
}

// A click area: a bevelled gunmetal plate filling the area, its caption in the middle.
void DrawAreaPlate(Canvas& c, Rect area, const char* caption) {
    DrawPlate(c, area, 6, Gunmetal);
    const Rect face = area.Inset(2);
    c.Fill(Box(face.Left + 6, face.Top + 1, face.Right - 6, face.Top + 2), Solid(Rgb8(255, 220, 160, 0.25f)), Blend::Add);
    Font font;
    font.Size = std::min(22, static_cast<int>(area.Bottom - area.Top) - 6);
    font = FitFont(font, caption, static_cast<int>(area.Right - area.Left) - 12);
    DrawCaptionIn(c, font, caption, area.Left, area.Top, area.Right, area.Bottom, PlateCaption());
}

void DrawTitle(Canvas& c, const char* text, float y, int size) {
    Font font;
    font.Size = size;
    DrawCaption(c, font, text, 400 + ShiftX, y, Align::Centre, AmberCaption(0.45f, 6));
}

void DrawText(Canvas& c, const char* text, float x, float y, int size, Align align = Align::Left) {
    Font font;
    font.Size = size;
    font.Bold = false;
    font.Family = "DejaVu Sans";
    DrawCaption(c, font, text, x, y, align, BodyText());
}

void DrawPortrait(Canvas& c, ShipKind kind, float left, float top, float scale) {
    c.SetTransform(Affine::Scale(scale, scale, {0, 0}).Then(Affine::Translate(left, top)));
    DrawShip(c, kind);
    c.ResetTransform();
}

// Hover lamps: a bronze-rimmed diamond, dark in the background, lit in the hover picture.
void DrawLampDiamond(Canvas& c, float x, float y, bool lit) {
    const float cx = x + LampWidth / 2;
    const float cy = y + LampHeight / 2;
    c.Fill(Polygon({{cx, y + 0.5f}, {x + LampWidth - 0.5f, cy}, {cx, y + LampHeight - 0.5f}, {x + 0.5f, cy}}),
           Linear({x, y}, {x + LampWidth, y + LampHeight}, {{0, Rgb8(244, 206, 140)}, {1, Rgb8(90, 58, 24)}}));
    const Path inner = Polygon({{cx, y + 4}, {x + LampWidth - 6, cy}, {cx, y + LampHeight - 4}, {x + 6, cy}});
    if (lit) {
        c.Fill(inner, Radial({cx - 2, cy - 2}, 10, 8, {{0, Rgb8(255, 250, 220)}, {0.5f, Rgb8(255, 180, 60)}, {1, Rgb8(200, 80, 20)}}));
        c.Fill(Capsule({x + 2, cy}, {x + LampWidth - 2, cy}, 0.8f), GlowPaint({cx, cy}, 14, Rgb8(255, 240, 200)), Blend::Add);
    } else {
        c.Fill(inner, Linear({0, y}, {0, y + LampHeight}, {{0, Rgb8(14, 14, 16)}, {1, Rgb8(46, 36, 26)}}));
    }
}

Canvas Backdrop() {
    Canvas c(ScreenWidth, ScreenHeight, Supersample);
    DrawSpaceBackdrop(c, 5);
    return c;
}

// The socket under a check box drawn by the menu.
void DrawBoxSocket(Canvas& c, float x, float y) {
    DrawRecess(c, {x + ShiftX - 3, y - 3, x + ShiftX + 36, y + 32}, 5);
}

// A volume control beside a check box whose top is at y: a "-" plate, ten dark slots in a track
// (the menu lights one per ten percent with the level picture) and a "+" plate.
constexpr float VolumeMinusLeft = 292;
constexpr float VolumePlateWidth = 24;
constexpr float VolumeSlotsLeft = 322;
constexpr float VolumeSlotPitch = 10;
constexpr float VolumePlusLeft = 426;
constexpr int VolumeLevelWidth = 8;
constexpr int VolumeLevelHeight = 19;

// A plate too small for a caption carries its sign drawn in bold strokes.
void DrawSignPlate(Canvas& c, Rect area, bool plus) {
    DrawPlate(c, area, 5, Gunmetal);
    const Vec2 centre{(area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2};
    const Paint ink = Solid(Rgb8(255, 214, 150));
    c.Fill(Capsule({centre.X - 7, centre.Y}, {centre.X + 7, centre.Y}, 1.8f), ink);
    if (plus) {
        c.Fill(Capsule({centre.X, centre.Y - 7}, {centre.X, centre.Y + 7}, 1.8f), ink);
    }
}

void DrawVolumeControl(Canvas& c, float y) {
    DrawSignPlate(c, Area(VolumeMinusLeft, y + 2, VolumeMinusLeft + VolumePlateWidth, y + 27), false);
    DrawSignPlate(c, Area(VolumePlusLeft, y + 2, VolumePlusLeft + VolumePlateWidth, y + 27), true);
    const float right = VolumeSlotsLeft + 9 * VolumeSlotPitch + VolumeLevelWidth;
    DrawRecess(c, Area(VolumeSlotsLeft - 3, y + 2, right + 3, y + 8 + VolumeLevelHeight), 3);
    for (int slot = 0; slot < 10; ++slot) {
        const float left = VolumeSlotsLeft + static_cast<float>(slot) * VolumeSlotPitch;
        c.Fill(Box(left + ShiftX, y + 5, left + ShiftX + VolumeLevelWidth, y + 5 + VolumeLevelHeight),
               Solid(Rgb8(24, 44, 32)));
    }
}

PictureItem MainScreen(const Canvas& backdrop) {
    Canvas c = backdrop;
    DrawPlanet(c, {150, 610}, 200, Rgb8(120, 90, 150), Rgb8(120, 170, 255));
    DrawPortrait(c, ShipKind::Light, 540, 470, 1.3f);
    DrawPortrait(c, ShipKind::Heavy, 410 + ShiftX - 42 * 2.4f, 392, 2.4f);
    DrawTitle(c, "ZARVOTH MUTADOR", 36, 56);
    Font sub;
    sub.Size = 17;
    sub.Bold = false;
    DrawCaption(c, sub, "the last ship of the squadron", 400 + ShiftX, 104, Align::Centre, BodyText());
    const struct {
        Rect AreaOnScreen;
        const char* Caption;
        Lamp Hover;
    } items[] = {{{50, 180, 180, 205}, "new game", {251, 182}},
                 {{590, 175, 740, 200}, "best score", {459, 177}},
                 {{185, 250, 290, 275}, "options", {369, 252}},
                 {{40, 335, 170, 360}, "exit", {225, 336}},
                 {{625, 325, 720, 350}, "briefing", {537, 329}}};
    for (const auto& item : items) {
        const Rect area = Area(item.AreaOnScreen.Left, item.AreaOnScreen.Top, item.AreaOnScreen.Right,
                               item.AreaOnScreen.Bottom);
        const float lampX = item.Hover.X + ShiftX;
        const float lampMid = item.Hover.Y + LampHeight / 2;
        const bool lampRight = lampX > area.Right;
        const float from = lampRight ? area.Right : lampX + LampWidth;
        const float to = lampRight ? lampX : area.Left;
        c.Fill(Capsule({from, lampMid}, {to, lampMid}, 1.0f), Solid(Rgb8(200, 150, 80, 0.8f)));
        DrawAreaPlate(c, area, item.Caption);
        DrawLampDiamond(c, lampX, item.Hover.Y, false);
    }
    return {"MainScreen", c.Reduce(), 0, 0};
}

PictureItem OptionsScreen(const Canvas& backdrop) {
    Canvas c = backdrop;
    DrawPlanet(c, {760, 90}, 120, Rgb8(60, 120, 140), Rgb8(140, 220, 255));
    DrawTitle(c, "options", 24, 44);
    DrawGlass(c, Area(130, 100, 470, 250));
    DrawGlass(c, Area(430, 330, 770, 450));
    DrawText(c, "audio", 140 + ShiftX, 106, 15);
    DrawText(c, "display", 440 + ShiftX, 336, 15);
    const struct {
        float X, Y;
        const char* Caption;
        bool LabelLeft;
    } boxes[] = {{165, 141, "sound", false}, {165, 173, "music", false}, {165, 206, "stereo", false},
                 {690, 373, "VSynch", true}, {690, 407, "show FPS", true}};
    for (const auto& box : boxes) {
        DrawBoxSocket(c, box.X, box.Y);
        Font font;
        font.Size = 21;
        const float x = box.LabelLeft ? box.X + ShiftX - 14 : box.X + ShiftX + 33 + 14;
        DrawCaption(c, font, box.Caption, x, box.Y + 14.5f - 13, box.LabelLeft ? Align::Right : Align::Left,
                    PlateCaption());
    }
    DrawVolumeControl(c, 141);
    DrawVolumeControl(c, 173);
    DrawPortrait(c, ShipKind::Light, 150, 330, 2.6f);
    DrawAreaPlate(c, Area(37, 550, 333, 577), "back");
    return {"OptionsScreen", c.Reduce(), 0, 0};
}

PictureItem BestScoreScreen(const Canvas& backdrop) {
    Canvas c = backdrop;
    DrawPlanet(c, {690, 520}, 150, Rgb8(150, 100, 60), Rgb8(255, 190, 120));
    DrawTitle(c, "best score", 24, 44);
    DrawEmblem(c, 70 + ShiftX, 150, 2.0f);
    DrawGlass(c, Area(215, 150, 525, 310));
    DrawText(c, "the best score of this ship:", 232 + ShiftX, 166, 16);
    DrawPlate(c, Area(232, 200, 508, 256), 6, PaleSand);
    DrawAreaPlate(c, Area(230, 265, 505, 300), "send score");
    DrawText(c, "Send score hands it to the score uploader when the game closes.", 400 + ShiftX, 330, 14, Align::Centre);
    DrawAreaPlate(c, Area(20, 547, 309, 571), "back");
    return {"BestScoreScreen", c.Reduce(), 0, 0};
}

PictureItem BriefingScreen(const Canvas& backdrop) {
    Canvas c = backdrop;
    DrawTitle(c, "briefing", 20, 44);
    DrawGlass(c, Area(30, 80, 780, 540));
    Font body{"DejaVu Sans", 15, false};
    const char* story =
        "Your house has turned against the Federation, and your squadron was sent to ambush its fleet. The ambush "
        "failed: yours is the last Zarvoth ship in the sector. Fly through two sectors of Federation space and "
        "destroy as many of their ships as you can. Cardassian supply ships will meet you on the way with "
        "torpedoes and repairs - never fire on them.";
    float y = 96;
    for (const std::string& line : WrapText(body, story, 700)) {
        DrawText(c, line.c_str(), 50 + ShiftX, y, 15);
        y += 21;
    }
    y += 14;
    DrawText(c, "controls", 50 + ShiftX, y, 18);
    y += 30;
    const char* controls[][2] = {{"steer", "arrow keys or W, A, S, D"},
                                 {"fire phaser", "left mouse button on the target"},
                                 {"shields", "right mouse button or H"},
                                 {"cloak", "C (no weapons while cloaked)"},
                                 {"photon torpedo", "T, then type the angle: 0 left, 90 up, 180 right"},
                                 {"transport", "R, then type the distance to the supply ship in grid cells"},
                                 {"game menu", "Esc or M"}};
    for (const auto& row : controls) {
        DrawText(c, row[0], 70 + ShiftX, y, 15);
        DrawText(c, row[1], 240 + ShiftX, y, 15);
        y += 22;
    }
    y += 14;
    DrawText(c, "score", 50 + ShiftX, y, 18);
    y += 30;
    DrawText(c, "shuttle 25   Defiant 50   Akira 100   Interpid 200   supplies delivered 1000   supply ship lost -500",
             70 + ShiftX, y, 14);
    DrawText(c, "Zarvoth Mutador 1.0 - every picture and sound made by the game's own content generator", 400 + ShiftX,
             512, 12, Align::Centre);
    DrawAreaPlate(c, Area(30, 554, 322, 578), "back");
    return {"BriefingScreen", c.Reduce(), 0, 0};
}

void DrawShipChoice(Canvas& c, Rect panel, ShipKind kind, const char* name, const std::vector<std::string>& figures,
                    float textX, float portraitX, float portraitY, float scale) {
    DrawGlass(c, panel);
    DrawPortrait(c, kind, portraitX, portraitY, scale);
    Font font;
    font.Size = 24;
    DrawCaption(c, font, name, textX, panel.Top + 10, Align::Left, PlateCaption());
    float y = panel.Top + 52;
    for (const std::string& line : figures) {
        DrawText(c, line.c_str(), textX, y, 15);
        y += 22;
    }
}

PictureItem NewGameScreen(const Canvas& backdrop) {
    Canvas c = backdrop;
    DrawTitle(c, "new game", 24, 44);
    DrawShipChoice(c, Area(40, 95, 430, 272), ShipKind::Heavy, "heavy ship",
                   {"hull: 2040", "speed: 25", "photon torpedoes: 30", "phasers: two wing emitters",
                    "phaser damage: x 1.75"},
                   220 + ShiftX, 58 + ShiftX, 126, 1.85f);
    DrawShipChoice(c, Area(390, 282, 780, 470), ShipKind::Light, "light ship",
                   {"hull: 1020", "speed: 40", "photon torpedoes: 15", "phaser: one centre emitter"},
                   410 + ShiftX, 650 + ShiftX, 340, 1.9f);
    DrawBoxSocket(c, 365, 142);
    DrawBoxSocket(c, 608, 296);
    DrawText(c, "Tick the ship you will fly.", 400 + ShiftX, 490, 15, Align::Centre);
    DrawAreaPlate(c, Area(30, 535, 322, 561), "back");
    DrawAreaPlate(c, Area(550, 535, 738, 561), "start");
    return {"NewGameScreen", c.Reduce(), 0, 0};
}

// One lit slot of a volume control: green light brightest in the middle.
PictureItem VolumeLevel() {
    Canvas c(VolumeLevelWidth, VolumeLevelHeight, 4);
    c.Fill(Box(0, 0, VolumeLevelWidth, VolumeLevelHeight),
           Linear({0, 0}, {VolumeLevelWidth, 0},
                  {{0, Rgb8(60, 170, 90)}, {0.5f, Rgb8(190, 255, 200)}, {1, Rgb8(60, 170, 90)}}));
    return {"VolumeLevel", c.Reduce(), 0, 0};
}

PictureItem HoverLamp(int index) {
    Canvas c(static_cast<int>(LampWidth), static_cast<int>(LampHeight), 4);
    DrawLampDiamond(c, 0, 0, true);
    return {"Hover" + std::to_string(index), c.ReduceKeyed(0.5f), 0, 0};
}

PictureItem CheckBox(bool checked) {
    Canvas c(33, 29, 4);
    DrawPlate(c, {0, 0, 33, 29}, 5, BronzeTrim);
    DrawRecess(c, {3, 3, 30, 26}, 3);
    if (checked) {
        const Contour tick = {{9, 15}, {14, 20.5f}, {24.5f, 8}};
        c.Fill(Circle(16.5f, 14.5f, 13), GlowPaint({16.5f, 14.5f}, 13, WithAlpha(DisruptorGreen, 0.4f)), Blend::Add);
        for (std::size_t i = 0; i + 1 < tick.size(); ++i) {
            c.Fill(Capsule(tick[i], tick[i + 1], 2.0f), Solid(Rgb8(190, 255, 200)));
        }
    }
    return {checked ? "Checked" : "Unchecked", c.ReduceKeyed(0.5f), 0, 0};
}

}  // namespace

std::vector<PictureItem> MenuGraphics() {
    std::vector<PictureItem> items;
    for (int i = 0; i < 5; ++i) {
        items.push_back(HoverLamp(i));
    }
    items.push_back(CheckBox(false));
    items.push_back(CheckBox(true));
    const Canvas backdrop = Backdrop();
    items.push_back(MainScreen(backdrop));
    items.push_back(OptionsScreen(backdrop));
    items.push_back(BestScoreScreen(backdrop));
    items.push_back(BriefingScreen(backdrop));
    items.push_back(NewGameScreen(backdrop));
    items.push_back(VolumeLevel());
    return items;
}

}  // namespace content
