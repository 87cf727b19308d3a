// SdlViews: SDL surfaces that look at the engine's own pixel memory, so a benchmark can hold an
// engine draw against SDL's routine on exactly the same pixels.
#pragma once

#include <SDL.h>

#include <memory>

#include "engine/display/DirectDrawSurface.h"

namespace bench {

struct SdlSurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

// An SDL view of the same pixels, keyed like the engine surface when asked.
inline SdlSurface Wrap(TDirectDrawSurface& surface, bool keyed) {
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(surface.Row(0), surface.Width(), surface.Height(), 16,
                                                           surface.Width() * 2, SDL_PIXELFORMAT_RGB565);
    if (view != nullptr) {
        SDL_SetColorKey(view, keyed ? SDL_TRUE : SDL_FALSE, surface.ColorKey());
    }
    return SdlSurface(view);
}

}  // namespace bench
