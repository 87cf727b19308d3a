// SoftwareRenderer: the rotated and scaled draws done in software on locked surfaces. It maps
// the turned pattern onto the destination, scans the covered box line by line in 16.16 fixed
// point and runs one span routine, chosen per call, over the lines. One shared renderer with
// its 256-entry cosine table serves the whole program. Depends on the surface and SpanRenderer.
#pragma once

#include <array>

#include "engine/assets/Classes.h"
#include "engine/drawing/SpanRenderer.h"

class TDirectDrawSurface;

// One rotated draw: the source rectangle scaled to Width x Height, its pivot
// (CenterX x Width, CenterY x Height) placed on (X, Y), turned by Angle (256 units per turn).
struct TRotatedDraw {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    TRect SrcRect;
    const TDirectDrawSurface* Source = nullptr;
    double CenterX = 0;
    double CenterY = 0;
    bool Transparent = false;
    int Angle = 0;
};

class TSoftwareRenderer {
public:
    static TSoftwareRenderer& Instance();

    // cos and sin of an angle in 256ths of a turn, from the table (low 8 bits of the angle).
    double Cos(int angle) const { return FCosine[static_cast<unsigned>(angle) & 255u]; }
    double Sin(int angle) const { return FCosine[(static_cast<unsigned>(angle) + 192u) & 255u]; }

    // Draws onto a destination the caller has locked (and the source too). Alpha matters
    // only for the additive rule.
    void DrawRotated(TDirectDrawSurface& dest, const TRotatedDraw& draw, span::Combination rule, int alpha) const;

private:
    TSoftwareRenderer();

    std::array<double, 256> FCosine{};
};
