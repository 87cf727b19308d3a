// Ui: plates are two nested rounded boxes (bevel, then face) plus a noise grain.
#include "tools/zarvoth-content/Ui.h"

#include <algorithm>
#include <cmath>

#include "tools/zarvoth-content/Noise.h"
#include "tools/raster/Shapes.h"

namespace content {

const PlateStyle Gunmetal{Rgb8(128, 136, 134), Rgb8(16, 18, 20), Rgb8(74, 80, 80), Rgb8(40, 44, 46), 2.0f, 0.10f};
const PlateStyle BronzeTrim{Rgb8(240, 204, 140), Rgb8(70, 46, 20), Rgb8(186, 142, 80), Rgb8(120, 84, 40), 1.5f, 0.12f};
const PlateStyle PaleSand{Rgb8(250, 244, 228), Rgb8(120, 104, 80), Rgb8(232, 224, 204), Rgb8(206, 196, 172), 2.0f, 0.05f};

CaptionStyle AmberCaption(float glowAlpha, float glowRadius) {
    CaptionStyle style;
    style.Top = Rgb8(255, 242, 208);
    style.Bottom = Rgb8(230, 156, 60);
    style.Glow = Rgb8(255, 132, 36, glowAlpha);
    style.GlowRadius = glowRadius;
    style.Shadow = Rgb8(0, 0, 0, 0.9f);
    return style;
}

void DrawPlate(Canvas& c, Rect box, float radius, const PlateStyle& s) {
    c.Fill(RoundBox(box.Left, box.Top, box.Right, box.Bottom, radius),
           Linear({box.Left, box.Top}, {box.Left + (box.Bottom - box.Top) * 0.5f, box.Bottom},
                  {{0, s.RimLight}, {1, s.RimDark}}));
    const Rect face = box.Inset(s.Border);
    const float grain = s.Grain;
    const Paint gradient = Linear({0, face.Top}, {0, face.Bottom}, {{0, s.Top}, {1, s.Bottom}});
    c.Fill(RoundBox(face.Left, face.Top, face.Right, face.Bottom, std::max(0.0f, radius - s.Border)),
           [=](float x, float y) {
               const Rgba base = gradient(x, y);
               if (grain <= 0) {
                   return base;
               }
               const float streak = Fractal(x * 0.015f, y * 0.9f, 3, 7) - 0.5f;
               return Scaled(base, 1.0f + grain * 2.0f * streak);
           });
}

void DrawRecess(Canvas& c, Rect box, float radius) {
    c.Fill(RoundBox(box.Left, box.Top, box.Right, box.Bottom, radius),
           Linear({box.Left, box.Top}, {box.Left + (box.Bottom - box.Top) * 0.5f, box.Bottom},
                  {{0, Rgb8(8, 10, 12)}, {1, Rgb8(150, 140, 120)}}));
    const Rect face = box.Inset(1.2f);
    c.Fill(RoundBox(face.Left, face.Top, face.Right, face.Bottom, std::max(0.0f, radius - 1.2f)),
           Linear({0, face.Top}, {0, face.Bottom}, {{0, Rgb8(10, 12, 14)}, {1, Rgb8(26, 30, 32)}}));
}

void DrawRivet(Canvas& c, Vec2 at) {
    c.Fill(Circle(at.X, at.Y, 1.8f), Radial({at.X - 0.6f, at.Y - 0.6f}, 2.2f, 2.2f,
                                            {{0, Rgb8(220, 210, 190)}, {0.6f, Rgb8(110, 100, 90)}, {1, Rgb8(30, 30, 30)}}));
}

void DrawButtonFace(Canvas& c, float x, float y, const ButtonStyle& style) {
    const Rect box{x, y, x + static_cast<float>(style.Width), y + static_cast<float>(style.Height)};
    const float radius = std::min(5.0f, static_cast<float>(style.Height) / 3);
    CaptionStyle caption;
    Font font;
    font.Size = style.FontSize;
    switch (style.Look) {
    case ButtonLook::Idle:
        DrawPlate(c, box, radius, Gunmetal);
        caption.Top = Rgb8(236, 240, 228);
        caption.Bottom = Rgb8(170, 176, 166);
        caption.Shadow = Rgb8(0, 0, 0, 0.8f);
        break;
    case ButtonLook::Lit: {
        DrawPlate(c, box, radius, Gunmetal);
        const Rect face = box.Inset(2);
        // Light gathers along the inner edge; the middle stays dark behind the caption.
        c.Fill(RoundBox(face.Left, face.Top, face.Right, face.Bottom, radius - 2), [=](float px, float py) {
            const float dx = std::min(px - face.Left, face.Right - px);
            const float dy = std::min(py - face.Top, face.Bottom - py);
            const float edge = std::exp(-std::min(dx, dy) / 2.5f);
            return WithAlpha(style.Accent, 0.08f + 0.5f * edge);
        }, Blend::Add);
        caption.Top = Mix(style.Accent, Rgb8(255, 255, 255), 0.75f);
        caption.Bottom = Mix(style.Accent, Rgb8(255, 255, 255), 0.2f);
        caption.Glow = WithAlpha(style.Accent, 0.3f);
        caption.GlowRadius = 2;
        caption.Shadow = Rgb8(0, 0, 0, 0.9f);
        break;
    }
    case ButtonLook::Pressed:
        DrawRecess(c, box, radius);
        c.Fill(RoundBox(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2, radius - 2),
               Linear({0, box.Top}, {0, box.Bottom}, {{0, WithAlpha(style.Accent, 0.1f)}, {1, WithAlpha(style.Accent, 0.32f)}}),
               Blend::Add);
        caption.Top = Mix(style.Accent, Rgb8(255, 255, 255), 0.4f);
        caption.Bottom = style.Accent;
        caption.Glow = WithAlpha(style.Accent, 0.35f);
        caption.GlowRadius = 2;
        break;
    case ButtonLook::Dim:
        DrawPlate(c, box, radius, Gunmetal);
        c.Fill(RoundBox(box.Left, box.Top, box.Right, box.Bottom, radius), Solid(Rgb8(0, 0, 0, 0.35f)), Blend::Atop);
        caption.Top = Rgb8(112, 116, 110);
        caption.Bottom = Rgb8(84, 88, 84);
        break;
    }
    const float shift = style.Look == ButtonLook::Pressed ? 1.0f : 0.0f;
    DrawCaptionIn(c, font, style.Caption, box.Left + shift, box.Top + shift, box.Right + shift, box.Bottom + shift,
                  caption);
}

platform::RgbImage ButtonPicture(const ButtonStyle& style) {
    Canvas c(style.Width, style.Height, 3);
    DrawButtonFace(c, 0, 0, style);
    return c.ReduceKeyed(0.5f);
}

}  // namespace content
