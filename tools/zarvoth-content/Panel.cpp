// Panel: console pieces on a dark gunmetal base with bronze trim and amber lamps.
#include "tools/zarvoth-content/Panel.h"

#include <cmath>

#include "tools/raster/Shapes.h"
#include "tools/zarvoth-content/Ui.h"

namespace content {
namespace {

constexpr int Supersample = 2;

void Rail(Canvas& c, float width, float height) {
    DrawPlate(c, {0, -4, width, height + 4}, 0, Gunmetal);
    c.Fill(Box(width - 2, 0, width, height), Linear({width - 2, 0}, {width, 0}, {{0, Rgb8(200, 156, 90)}, {1, Rgb8(90, 60, 28)}}));
    for (float y = 30; y < height - 10; y += 64) {
        DrawRivet(c, {width / 2 - 1, y});
    }
}

PictureItem Fill(const char* name, int width, int height, Vec2 from, Vec2 to, Rgba colour) {
    Canvas c(width, height, Supersample);
    c.FillAll(Linear(from, to, {{0, Scaled(colour, 0.35f)}, {0.35f, Mix(colour, Rgb8(255, 255, 255), 0.45f)},
                                {0.6f, colour}, {1, Scaled(colour, 0.3f)}}));
    return {name, c.Reduce(), 0, 0};
}

PictureItem Dialog(const char* name, int width, int height) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    Canvas c(width, height, Supersample);
    DrawPlate(c, {0, 0, w, h}, 8, BronzeTrim);
    DrawPlate(c, {5, 5, w - 5, h - 5}, 5, PaleSand);
    // Corner brackets and a seat for the OK and Cancel buttons.
    for (float sx : {0.0f, 1.0f}) {
        for (float sy : {0.0f, 1.0f}) {
            const float x = sx == 0 ? 10 : w - 10;
            const float y = sy == 0 ? 10 : h - 10;
            const float dx = sx == 0 ? 14.0f : -14.0f;
            const float dy = sy == 0 ? 14.0f : -14.0f;
            DrawSeam(c, {x, y}, {x + dx, y}, 1.6f, Rgb8(150, 110, 60, 0.8f));
            DrawSeam(c, {x, y}, {x, y + dy}, 1.6f, Rgb8(150, 110, 60, 0.8f));
        }
    }
    c.Fill(RoundBox(w - 160, h - 46, w - 14, h - 8, 5), Solid(Rgb8(120, 100, 70, 0.22f)));
    DrawSeam(c, {18, h - 50}, {w - 18, h - 50}, 1.0f, Rgb8(150, 120, 80, 0.5f));
    return {name, c.ReduceKeyed(0.5f), 0, 0};
}

}  // namespace

PictureItem LeftRailItem() {
    Canvas c(9, 535, Supersample);
    Rail(c, 9, 535);
    return {"LeftRail", c.Reduce(), 0, 0};
}

PictureItem RightRailItem() {
    Canvas c(9, 397, Supersample);
    c.SetTransform({-1, 0, 9, 0, 1, 0});
    Rail(c, 9, 397);
    return {"RightRail", c.Reduce(), 0, 0};
}

PictureItem ScorePlateItem() {
    constexpr float w = 150;
    constexpr float h = 52;
    Canvas c(static_cast<int>(w), static_cast<int>(h), Supersample);
    const Path outline = Polygon({{-4, -4}, {w, -4}, {w, h - 14}, {w - 14, h}, {-4, h}});
    c.Fill(outline, Linear({0, 0}, {0, h}, {{0, Rgb8(200, 156, 90)}, {1, Rgb8(96, 64, 30)}}));
    const Path face = Polygon({{-4, -4}, {w - 3, -4}, {w - 3, h - 15.5f}, {w - 15.5f, h - 3}, {-4, h - 3}});
    c.Fill(face, Linear({0, 0}, {0, h}, {{0, Rgb8(244, 238, 222)}, {1, Rgb8(224, 214, 192)}}));
    DrawSeam(c, {-2, h - 5}, {w - 18, h - 5}, 0.8f, Rgb8(150, 120, 80, 0.5f));
    DrawRivet(c, {w - 9, 8});
    return {"ScorePlate", c.ReduceKeyed(0.5f), 0, 0};
}

void DrawEmblem(Canvas& c, float left, float top, float scale) {
    const Affine saved = Affine::Scale(scale, scale, {0, 0}).Then(Affine::Translate(left, top));
    c.SetTransform(saved);
    constexpr float axis = 28;
    const Path shield = Mirrored(axis, {{28, 1}, {44, 5}, {53, 9}, {53, 40}, {44, 60}, {28, 79}});
    c.Fill(shield, Linear({10, 0}, {46, 80}, {{0, Rgb8(244, 206, 140)}, {0.5f, Rgb8(176, 128, 64)}, {1, Rgb8(90, 56, 24)}}));
    const Path field = Mirrored(axis, {{28, 6}, {42, 9.5f}, {48.5f, 12.5f}, {48.5f, 39}, {40.5f, 57}, {28, 72}});
    c.Fill(field, Linear({0, 6}, {0, 72}, {{0, Rgb8(50, 22, 18)}, {1, Rgb8(18, 10, 10)}}));
    // The claw sigil of the house.
    const Path blade = Mirrored(axis, {{28, 12}, {31, 28}, {30.5f, 52}, {28, 64}});
    const Path claw = Polygon({{33, 24}, {43, 15}, {46, 17}, {41, 34}, {33, 46}, {32, 40}});
    const Paint fire = Linear({0, 12}, {0, 64}, {{0, Rgb8(255, 226, 140)}, {0.5f, Rgb8(255, 140, 50)}, {1, Rgb8(200, 50, 24)}});
    c.Fill(Join({blade, claw, MirrorPath(claw, axis)}), fire);
    c.Fill(Ring(28, 38, 14, 14, 2.2f), fire);
    c.ResetTransform();
    c.Fill(Circle(left + 28 * scale, top + 38 * scale, 22 * scale),
           GlowPaint({left + 28 * scale, top + 38 * scale}, 22 * scale, Rgb8(255, 120, 40, 0.35f)), Blend::Atop);
}

PictureItem EmblemItem() {
    Canvas c(56, 80, 4);
    DrawEmblem(c, 0, 0, 1);
    return {"Emblem", c.ReduceKeyed(0.5f), 0, 0};
}

PictureItem TopPodItem() {
    constexpr float w = 120;
    constexpr float h = 138;
    Canvas c(static_cast<int>(w), static_cast<int>(h), Supersample);
    const Path outline = Polygon({{0, -4}, {w + 4, -4}, {w + 4, h}, {18, h}, {0, h - 18}});
    c.Fill(outline, Linear({0, 0}, {0, h}, {{0, Rgb8(200, 156, 90)}, {1, Rgb8(96, 64, 30)}}));
    const Path face = Polygon({{3, -4}, {w + 4, -4}, {w + 4, h - 3}, {19.5f, h - 3}, {3, h - 19.5f}});
    c.Fill(face, Linear({0, 0}, {0, h}, {{0, Rgb8(72, 78, 78)}, {1, Rgb8(36, 40, 42)}}));
    DrawRecess(c, {28, 6, 92, 94}, 6);
    DrawRecess(c, {6, 95, 114, 131}, 5);
    DrawRivet(c, {14, 10});
    DrawRivet(c, {106, 10});
    DrawRivet(c, {14, 80});
    DrawRivet(c, {106, 80});
    DrawLamp(c, {14, 45}, 4, ConsoleAmber);
    DrawLamp(c, {106, 45}, 4, DisruptorGreen);
    return {"TopPod", c.ReduceKeyed(0.5f), 0, 0};
}

PictureItem ConsoleItem() {
    constexpr float w = 800;
    constexpr float h = 65;
    Canvas c(static_cast<int>(w), static_cast<int>(h), Supersample);
    DrawPlate(c, {-4, 0, w + 4, h + 6}, 0, Gunmetal);
    c.Fill(Box(0, 0, w, 3), Linear({0, 0}, {0, 3}, {{0, Rgb8(236, 196, 130)}, {1, Rgb8(120, 82, 36)}}));
    // Gauges on the left: wells with symbols for phaser (bolt) and shields (crest).
    DrawRecess(c, {4, 11, 246, 59}, 6);
    const Paint bronze = Linear({0, 14}, {0, 56}, {{0, Rgb8(240, 200, 130)}, {1, Rgb8(150, 104, 50)}});
    c.Fill(Polygon({{19, 16}, {12, 25}, {17, 25}, {14, 32}, {23, 21}, {18, 21}, {22, 16}}), bronze);
    c.Fill(Mirrored(17, {{17, 36}, {23, 38}, {23, 44}, {17, 51}}), Solid(Rgb8(120, 200, 230)));
    // Bay behind the command buttons and a lamp cluster at the right end.
    DrawRecess(c, {247, 9, 424, 65}, 5);
    DrawRecess(c, {422, 16, 760, 60}, 6);
    for (int i = 0; i < 3; ++i) {
        DrawLamp(c, {776, 22.0f + 12.0f * static_cast<float>(i)}, 3.5f, i == 1 ? DisruptorGreen : ConsoleAmber);
    }
    for (float x : {770.0f, 782.0f}) {
        for (float y = 48; y < 62; y += 4) {
            DrawSeam(c, {x - 4, y}, {x + 4, y}, 1.2f, Rgb8(10, 12, 14, 0.8f));
        }
    }
    DrawRivet(c, {8, 6});
    DrawRivet(c, {792, 6});
    return {"Console", c.Reduce(), 0, 0};
}

PictureItem BarFrameItem(const char* name) {
    Canvas c(209, 15, Supersample);
    DrawPlate(c, {0, 0, 209, 15}, 3, BronzeTrim);
    c.Fill(Box(3, 3, 206, 12), Linear({0, 3}, {0, 12}, {{0, Rgb8(6, 8, 10)}, {1, Rgb8(24, 28, 30)}}));
    for (int i = 1; i < 10; ++i) {
        const float x = 3 + 20.3f * static_cast<float>(i);
        DrawSeam(c, {x, 4}, {x, 11}, 0.8f, Rgb8(70, 76, 76, 0.9f));
    }
    return {name, c.Reduce(), 0, 0};
}

PictureItem HullFrameItem() {
    Canvas c(17, 379, Supersample);
    DrawPlate(c, {0, 0, 17, 379}, 4, BronzeTrim);
    c.Fill(Box(4, 4, 13, 375), Linear({4, 0}, {13, 0}, {{0, Rgb8(6, 8, 10)}, {1, Rgb8(24, 28, 30)}}));
    for (int i = 1; i < 10; ++i) {
        const float y = 375 - 37.1f * static_cast<float>(i);
        DrawSeam(c, {5, y}, {12, y}, 0.8f, Rgb8(70, 76, 76, 0.9f));
    }
    return {"HullFrame", c.Reduce(), 0, 0};
}

PictureItem PhaserFillItem() {
    return Fill("PhaserFill", 8, 9, {0, 0}, {0, 9}, Rgb8(80, 230, 110));
}

PictureItem ShieldFillItem() {
    return Fill("ShieldFill", 8, 9, {0, 0}, {0, 9}, Rgb8(70, 190, 255));
}

PictureItem HullFillItem() {
    return Fill("HullFill", 9, 8, {0, 0}, {9, 0}, Rgb8(255, 150, 50));
}

PictureItem GameMenuPanelItem() {
    constexpr float w = 400;
    constexpr float h = 300;
    Canvas c(static_cast<int>(w), static_cast<int>(h), Supersample);
    DrawPlate(c, {0, 0, w, h}, 12, BronzeTrim);
    DrawPlate(c, {6, 6, w - 6, h - 6}, 8, Gunmetal);
    DrawRecess(c, {84, 102, 316, 276}, 8);
    DrawEmblem(c, 22, 18, 0.75f);
    DrawEmblem(c, w - 22 - 42, 18, 0.75f);
    Font title;
    title.Size = 30;
    DrawCaption(c, title, "command", w / 2, 26, Align::Centre, AmberCaption(0.35f, 4));
    DrawSeam(c, {90, 80}, {310, 80}, 1.5f, Rgb8(200, 150, 80, 0.8f));
    for (float x : {16.0f, w - 16}) {
        DrawRivet(c, {x, h - 16});
    }
    return {"GameMenu", c.ReduceKeyed(0.5f), 0, 0};
}

PictureItem SmallDialogItem() {
    return Dialog("SmallDialog", SmallDialogWidth, SmallDialogHeight);
}

PictureItem LargeDialogItem() {
    return Dialog("LargeDialog", LargeDialogWidth, LargeDialogHeight);
}

}  // namespace content
