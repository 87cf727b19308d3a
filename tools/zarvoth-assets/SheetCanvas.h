// SheetCanvas: a plain RGB pixel canvas for the contact sheet — fills, copies with integer
// down-scaling, outlines and index numbers in a built-in 3 x 5 digit font.
#pragma once

#include <string>

#include "engine/assets/Classes.h"
#include "platform/ImageFile.h"

class TSheetCanvas {
public:
    TSheetCanvas(int width, int height, TColor background);

    void Fill(const TRect& area, TColor color);
    // Every pixel outside the canvas is dropped.
    void Put(int x, int y, TColor color);
    void Outline(const TRect& area, TColor color);
    // Digits only, each 3 x 5 cells of scale x scale pixels, one cell apart.
    void Number(int x, int y, const std::string& digits, int scale, TColor color);
    static int NumberWidth(const std::string& digits, int scale) { return static_cast<int>(digits.size()) * 4 * scale; }

    const platform::RgbImage& Image() const { return Pixels; }

private:
    platform::RgbImage Pixels;
};
