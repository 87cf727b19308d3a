// Shapes: path builders (ellipses, rounded boxes, capsules, mirrored outlines) and paints
// (solid colours, linear and radial gradients, soft glows) for the canvas. Depends on Raster.
#pragma once

#include <initializer_list>
#include <vector>

#include "tools/raster/Raster.h"

namespace content {

Path Ellipse(float cx, float cy, float rx, float ry);
Path Circle(float cx, float cy, float r);
Path Box(float left, float top, float right, float bottom);
Path RoundBox(float left, float top, float right, float bottom, float radius);
// A squircle |x/rx|^n + |y/ry|^n = 1: a bubble that fills a box better than an ellipse.
Path Superellipse(float cx, float cy, float rx, float ry, float exponent);
Path Polygon(std::initializer_list<Vec2> points);
// A symmetric outline from its right half, listed from the top of the axis to the bottom; the
// left half is the mirror image about x = axis.
Path Mirrored(float axis, std::initializer_list<Vec2> rightHalf);
// The left-side twin of a shape drawn on the right (mirror about x = axis).
Path MirrorPath(const Path& path, float axis);
// A thick segment with round ends.
Path Capsule(Vec2 from, Vec2 to, float radius);
// Ring between two ellipses (the hole uses the even-odd rule).
Path Ring(float cx, float cy, float rx, float ry, float thickness);
Path Join(std::initializer_list<Path> parts);  // even-odd union of parts that do not overlap

struct Stop {
    float At;
    Rgba Colour;
};

Paint Solid(Rgba colour);
Paint Linear(Vec2 from, Vec2 to, std::vector<Stop> stops);
Paint Radial(Vec2 centre, float rx, float ry, std::vector<Stop> stops);
// A light source for Blend::Add: full colour in the middle falling off smoothly to nothing.
Paint GlowPaint(Vec2 centre, float radius, Rgba colour, float falloff = 2.0f);

// A point light: a soft halo with a white-hot centre (added).
void DrawLamp(Canvas& canvas, Vec2 at, float radius, Rgba colour);
// A thin line painted only over what is already there (panel seams, trim).
void DrawSeam(Canvas& canvas, Vec2 from, Vec2 to, float width, Rgba colour);

// Gradient lookup shared by the paints (t outside 0..1 takes the end colours).
Rgba Sample(const std::vector<Stop>& stops, float t);

}  // namespace content
