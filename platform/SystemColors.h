// SystemColors: colour values of the form 0x80000000 plus an index name the desktop's system
// colours (button face, window, highlight, ...). This platform has no desktop scheme to ask,
// so they are the usual desktop defaults, fixed. No dependencies.
#pragma once

#include <cstdint>

namespace platform {

// The plain colour (red in the low byte, green, blue; high byte 0) of a colour value: a
// system colour becomes its default, an unknown system index black; any other value keeps
// its low 24 bits.
std::uint32_t ColorToRGB(std::uint32_t color);

}  // namespace platform
