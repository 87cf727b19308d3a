// WindowGeometry: the picture's placement and the window's size (see WindowGeometry.h).
#include "platform/WindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

ScreenRect Centred(Size output, int width, int height) {
    const int left = (output.Width - width) / 2;
    const int top = (output.Height - height) / 2;
    return ScreenRect{left, top, left + width, top + height};
}

// The largest size of the picture's aspect within the bounds (at least one pixel each way).
Size AspectFit(Size bounds, Size picture) {
    const double scale = std::min(static_cast<double>(bounds.Width) / picture.Width,
                                  static_cast<double>(bounds.Height) / picture.Height);
    return Size{std::max(1, static_cast<int>(std::lround(picture.Width * scale))),
                std::max(1, static_cast<int>(std::lround(picture.Height * scale)))};
}

int WholeFactor(Size bounds, Size picture) {
    return std::min(bounds.Width / picture.Width, bounds.Height / picture.Height);
}

}  // namespace

ScreenRect PictureRect(Size output, Size picture, bool wholeMultiples) {
    if (picture.Width <= 0 || picture.Height <= 0 || output.Width <= 0 || output.Height <= 0) {
        return ScreenRect{};
    }
    const int factor = wholeMultiples ? WholeFactor(output, picture) : 0;
    if (factor >= 1) {
        return Centred(output, picture.Width * factor, picture.Height * factor);
    }
    const Size fitted = AspectFit(output, picture);
    return Centred(output, fitted.Width, fitted.Height);
}

Size WindowSizeFor(Size picture, Size workArea, FrameBorders borders) {
    const Size room{workArea.Width - borders.Left - borders.Right, workArea.Height - borders.Top - borders.Bottom};
    if (picture.Width <= 0 || picture.Height <= 0 || room.Width <= 0 || room.Height <= 0) {
        return picture;
    }
    const int factor = WholeFactor(room, picture);
    return factor >= 1 ? Size{picture.Width * factor, picture.Height * factor} : AspectFit(room, picture);
}

bool WindowFits(Size client, Size workArea, FrameBorders borders) {
    return client.Width > 0 && client.Height > 0 && client.Width + borders.Left + borders.Right <= workArea.Width &&
           client.Height + borders.Top + borders.Bottom <= workArea.Height;
}

}  // namespace platform
