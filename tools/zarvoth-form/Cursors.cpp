// Cursors: a thin ring, a centre dot and four ticks, outlined in dark so that the reticle stays
// visible on bright pictures.
#include "Cursors.h"

#include <cmath>
#include <vector>

namespace FormDesign {
namespace {

constexpr int HotX = 16;
constexpr int HotY = 16;
constexpr TColor Outline = RGB(8, 14, 24);

bool IsReticle(int x, int y) {
    const int dx = x - HotX;
    const int dy = y - HotY;
    const double distance = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    const bool ring = std::abs(distance - 5.0) < 0.5;
    const bool dot = dx == 0 && dy == 0;
    const bool tick = (dx == 0 && std::abs(dy) >= 7 && std::abs(dy) <= 8) ||
                      (dy == 0 && std::abs(dx) >= 7 && std::abs(dx) <= 8);
    return ring || dot || tick;
}

}  // namespace

void DrawCursor(TPicture& picture, TColor reticle, TColor key) {
    std::vector<TColor> pixels(static_cast<std::size_t>(CursorWidth * CursorHeight), key);
    const auto at = [&pixels](int x, int y) -> TColor& {
        return pixels[static_cast<std::size_t>(y * CursorWidth + x)];
    };
    for (int y = 0; y < CursorHeight; ++y) {
        for (int x = 0; x < CursorWidth; ++x) {
            if (IsReticle(x, y)) at(x, y) = reticle;
        }
    }
    // A one-pixel dark rim around every lit pixel.
    for (int y = 0; y < CursorHeight; ++y) {
        for (int x = 0; x < CursorWidth; ++x) {
            if (at(x, y) != key) continue;
            bool nextToReticle = false;
            for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, CursorHeight - 1); ++ny) {
                for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, CursorWidth - 1); ++nx) {
                    nextToReticle = nextToReticle || IsReticle(nx, ny);
                }
            }
            if (nextToReticle) at(x, y) = Outline;
        }
    }
    picture.AssignPixels(CursorWidth, CursorHeight, std::move(pixels));
}

}  // namespace FormDesign
