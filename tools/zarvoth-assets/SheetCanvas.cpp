// SheetCanvas: pixel plotting and the digit font.
#include "SheetCanvas.h"

namespace {

// Rows of three bits, top row first, for 0..9.
constexpr unsigned char DigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

}  // namespace

TSheetCanvas::TSheetCanvas(int width, int height, TColor background)
    : Pixels{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background)} {}

void TSheetCanvas::Put(int x, int y, TColor color) {
    if (x >= 0 && y >= 0 && x < Pixels.Width && y < Pixels.Height) {
        Pixels.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Pixels.Width) + static_cast<std::size_t>(x)] = color;
    }
}

void TSheetCanvas::Fill(const TRect& area, TColor color) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            Put(x, y, color);
        }
    }
}

void TSheetCanvas::Outline(const TRect& area, TColor color) {
    for (int x = area.Left; x < area.Right; ++x) {
        Put(x, area.Top, color);
        Put(x, area.Bottom - 1, color);
    }
    for (int y = area.Top; y < area.Bottom; ++y) {
        Put(area.Left, y, color);
        Put(area.Right - 1, y, color);
    }
}

void TSheetCanvas::Number(int x, int y, const std::string& digits, int scale, TColor color) {
    for (const char c : digits) {
        if (c >= '0' && c <= '9') {
            for (int row = 0; row < 5; ++row) {
                for (int col = 0; col < 3; ++col) {
                    if ((DigitRows[c - '0'][row] >> (2 - col)) & 1u) {
                        Fill(Bounds(x + col * scale, y + row * scale, scale, scale), color);
                    }
                }
            }
        }
        x += 4 * scale;
    }
}
