// Backdrop: the deep-space scenery behind the menu screens — a dark gradient, purple and
// teal nebula clouds, a seeded star field and a ringed planet. Depends on Raster, Shapes, Noise.
#pragma once

#include "tools/raster/Raster.h"

namespace content {

void DrawSpaceBackdrop(Canvas& canvas, std::uint32_t seed);
// A planet lit from the upper left with a glowing atmosphere rim.
void DrawPlanet(Canvas& canvas, Vec2 centre, float radius, Rgba surface, Rgba atmosphere);

}  // namespace content
