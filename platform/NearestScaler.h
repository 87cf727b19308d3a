// NearestScaler: one nearest-neighbour pass from the 16-bit frame into 32-bit window pixels, the
// presentation of the frame where no graphics processor draws. Each view pixel takes the frame
// pixel it falls in, so a whole-number factor repeats every pixel exactly and any factor stays
// crisp. A frame row is converted once (two small tables, one per byte of the pixel), and a view
// row that shows the same frame row as the one above it is a copy of that row. Nothing is
// allocated per frame. Depends on PixelBuffer only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/PixelBuffer.h"

namespace platform {

// Where each 8-bit channel goes in a 32-bit pixel, and the bits always set (an opaque alpha).
struct PixelFormat32 {
    int RedShift = 16;
    int GreenShift = 8;
    int BlueShift = 0;
    std::uint32_t Opaque = 0;
    friend bool operator==(const PixelFormat32&, const PixelFormat32&) = default;
};

class NearestScaler {
public:
    // Prepares the pass for frames of the given size shown in a view of the given size.
    void Prepare(int frameWidth, int frameHeight, int viewWidth, int viewHeight);

    // Writes the view: viewHeight rows of viewWidth pixels, pitch pixels apart.
    void Scale(const PixelBuffer16& frame, const PixelFormat32& format, std::uint32_t* view, std::ptrdiff_t pitch);

    int ViewWidth() const { return static_cast<int>(FColumns.size()); }
    int ViewHeight() const { return static_cast<int>(FRows.size()); }

private:
    void ConvertRow(const std::uint16_t* in, std::uint32_t* out, std::size_t count) const;

    std::vector<int> FColumns;  // frame column of each view column
    std::vector<int> FRows;     // frame row of each view row
    std::vector<std::uint32_t> FRow;  // one frame row in window pixels
    bool FSameWidth = false;    // the view's columns are the frame's
    // A 16-bit pixel's window pixel is the OR of what its high byte and its low byte give: each
    // widened channel bit comes from one byte alone.
    std::array<std::uint32_t, 256> FHigh{};
    std::array<std::uint32_t, 256> FLow{};
    PixelLayout FTablesLayout = PixelLayout::RGB565;
    PixelFormat32 FTablesFormat{-1, -1, -1, 0};
};

// A 16-bit pixel as 8-bit channels, each widened by repeating its top bits (31 becomes 255).
std::uint32_t WidenPixel(std::uint16_t pixel, PixelLayout layout, const PixelFormat32& format);

}  // namespace platform
