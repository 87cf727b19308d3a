// Preview: items are packed left to right in rows, enlarged by pixel repetition.
#include "tools/zarvoth-content/Preview.h"

#include <algorithm>

#include "tools/raster/Captions.h"

namespace content {

platform::RgbImage ContactSheet(const std::vector<PictureItem>& items, int scale, int sheetWidth) {
    constexpr int gap = 6;
    struct Place {
        int X, Y;
    };
    std::vector<Place> places;
    int x = gap;
    int y = gap;
    int rowHeight = 0;
    for (const PictureItem& item : items) {
        const int w = item.Picture.Width * scale;
        if (x + w + gap > sheetWidth && x > gap) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += w + gap;
        rowHeight = std::max(rowHeight, item.Picture.Height * scale);
    }
    platform::RgbImage sheet{sheetWidth, y + rowHeight + gap, {}};
    sheet.Pixels.assign(static_cast<std::size_t>(sheet.Width) * sheet.Height, 0x503030);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const platform::RgbImage& p = items[i].Picture;
        for (int py = 0; py < p.Height * scale; ++py) {
            for (int px = 0; px < p.Width * scale; ++px) {
                const int tx = places[i].X + px;
                const int ty = places[i].Y + py;
                if (tx >= sheet.Width || ty >= sheet.Height) {
                    continue;
                }
                std::uint32_t c = p.Pixels[static_cast<std::size_t>(py / scale) * p.Width + px / scale];
                if (IsKey(c)) {
                    c = ((px / 8 + py / 8) % 2) != 0 ? 0x201010 : 0x301818;
                }
                sheet.Pixels[static_cast<std::size_t>(ty) * sheet.Width + tx] = c;
            }
        }
    }
    return sheet;
}

namespace {

platform::RgbImage Pattern(const PictureItem& item, int index) {
    const int w = item.PatternWidth > 0 ? item.PatternWidth : item.Picture.Width;
    const int h = item.PatternHeight > 0 ? item.PatternHeight : item.Picture.Height;
    platform::RgbImage cell{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            cell.Pixels[static_cast<std::size_t>(y) * w + x] =
                item.Picture.Pixels[static_cast<std::size_t>(y) * item.Picture.Width + index * w + x];
        }
    }
    return cell;
}

void Stretch(platform::RgbImage& screen, const PictureItem& item, int left, int top, int right, int bottom) {
    const platform::RgbImage& p = item.Picture;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const int sx = (x - left) * p.Width / (right - left);
            const int sy = (y - top) * p.Height / (bottom - top);
            screen.Pixels[static_cast<std::size_t>(y) * screen.Width + x] = p.Pixels[static_cast<std::size_t>(sy) * p.Width + sx];
        }
    }
}

void Text(platform::RgbImage& screen, const char* text, int x, int y, int size, std::uint32_t colour, const char* family) {
    Font font{family, size, false};
    const Mask mask = TextMask(font, text);
    const Rgba ink = Unpack(colour);
    for (int my = 0; my < mask.Height; ++my) {
        for (int mx = 0; mx < mask.Width; ++mx) {
            std::uint32_t& p = screen.Pixels[static_cast<std::size_t>(y + my) * screen.Width + x + mx];
            const float m = mask.At(mx, my);
            p = ToColourValue(Mix(Unpack(p), ink, m));
        }
    }
}

}  // namespace

platform::RgbImage GameScreenMockup(const std::vector<PictureItem>& g) {
    platform::RgbImage screen{800, 600, std::vector<std::uint32_t>(800 * 600, 0)};
    std::uint64_t seed = 99;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const int kind = static_cast<int>((seed >> 60) % 6);
        Paste(screen, Pattern(g[15], kind < 4 ? 0 : kind - 3), static_cast<int>((seed >> 20) % 800),
              static_cast<int>((seed >> 40) % 600));
    }
    Paste(screen, Pattern(g[0], 1), 360, 440);
    Paste(screen, Pattern(g[5], 0), 560, 420);
    Paste(screen, Pattern(g[4], 2), 160, 420);
    Paste(screen, Pattern(g[6], 1), 100, 120);
    Paste(screen, Pattern(g[7], 0), 200, 60);
    Paste(screen, Pattern(g[8], 2), 560, 150);
    Paste(screen, Pattern(g[9], 1), 330, 10);
    Paste(screen, g[10].Picture, 560, 10);
    Paste(screen, g[13].Picture, 420, 380);
    Paste(screen, g[14].Picture, 250, 200);
    Paste(screen, Pattern(g[16], 3), 60, 250);
    Stretch(screen, g[11], 367, 200, 371, 458);
    Stretch(screen, g[12], 388, 160, 392, 320);
    const struct { int Index, X, Y; } places[] = {{33, 0, 0}, {34, 9, 0}, {35, 680, 0}, {36, 791, 138}, {37, 0, 535},
                                                 {40, 763, 148}, {38, 30, 553}, {39, 30, 572}, {53, 712, 10},
                                                 {21, 425, 555}, {24, 610, 555}, {25, 689, 98}, {18, 250, 548},
                                                 {19, 336, 548}, {27, 264, 568}};
    for (const auto& place : places) {
        Paste(screen, g[place.Index].Picture, place.X, place.Y);
    }
    Stretch(screen, g[41], 33, 556, 33 + 150, 565);
    Stretch(screen, g[42], 33, 575, 33 + 203, 584);
    Stretch(screen, g[43], 767, 523 - 260, 776, 523);
    Text(screen, "Score: 12345", 10, 10, 8, 0x333972, "Verdana");
    Text(screen, "Torpedos: 30", 10, 22, 8, 0x333972, "Verdana");
    Text(screen, "FPS: 60", 10, 34, 8, 0x333972, "Verdana");
    const int bx = 400 - 274 / 2;
    const int by = 300 - 252 / 2;
    Paste(screen, g[31].Picture, bx, by);
    Paste(screen, g[29].Picture, bx + 274 - 85, by + 252 - 40);
    Paste(screen, g[30].Picture, bx + 274 - 150, by + 252 - 40);
    const char* lines[] = {"Fire photon torpedo:", "", "Photon torpedo is a mighty ", "gun, which is especially ",
                           "effective against big ships.", "", "You have to input angle, in ", "which will be photon ",
                           "torpedo fired."};
    int y = by + 20;
    for (const char* line : lines) {
        if (*line == 0) {
            y += 15;
            continue;
        }
        Text(screen, line, bx + 20, y, 10, 0x333300, "Courier New");
        y += 10;
    }
    Text(screen, "Type angle (in degrees):", bx + 20, 309, 10, 0x333300, "Courier New");
    Text(screen, "45|", 470, 309, 10, 0x333300, "Courier New");
    return screen;
}

}  // namespace content
