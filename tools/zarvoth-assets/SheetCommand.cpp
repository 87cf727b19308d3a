// SheetCommand: a contact sheet of every picture of a graphics file — each picture with its
// index above it and its pattern cells outlined, laid out in rows; large pictures are shown
// reduced by a whole factor so a cell stays within MaxCellSide; transparent pixels show as a
// checkerboard.
#include <algorithm>
#include <stdexcept>

#include "AssetFile.h"
#include "Commands.h"
#include "SheetCanvas.h"

namespace {

constexpr int SheetWidth = 1024;
constexpr int MaxCellSide = 512;
constexpr int Margin = 6;
constexpr int LabelScale = 2;
constexpr int LabelHeight = 5 * LabelScale + 4;
constexpr TColor Background = RGB(48, 48, 48);
constexpr TColor LabelColor = RGB(255, 255, 255);
constexpr TColor GridColor = RGB(255, 255, 0);
constexpr TColor CheckerDark = RGB(70, 70, 70);
constexpr TColor CheckerLight = RGB(100, 100, 100);
constexpr TColor EmptyColor = RGB(120, 0, 0);

struct Cell {
    int Index = 0;
    int Reduction = 1;
    int Width = 0;   // shown picture size
    int Height = 0;
    TPoint At;
};

Cell MeasureCell(int index, const TPicture& picture) {
    Cell cell;
    cell.Index = index;
    const int side = std::max(picture.Width(), picture.Height());
    cell.Reduction = side > MaxCellSide ? (side + MaxCellSide - 1) / MaxCellSide : 1;
    cell.Width = picture.Empty() ? 16 : std::max(1, picture.Width() / cell.Reduction);
    cell.Height = picture.Empty() ? 16 : std::max(1, picture.Height() / cell.Reduction);
    return cell;
}

int CellWidth(const Cell& c) { return std::max(c.Width, TSheetCanvas::NumberWidth(Format("%d", c.Index), LabelScale)); }

// Shelf layout: left to right, a new row when the next cell does not fit. Returns the height.
int LayOut(std::vector<Cell>& cells) {
    int x = Margin;
    int y = Margin;
    int rowHeight = 0;
    for (Cell& c : cells) {
        if (x > Margin && x + CellWidth(c) + Margin > SheetWidth) {
            x = Margin;
            y += rowHeight + Margin;
            rowHeight = 0;
        }
        c.At = {x, y};
        x += CellWidth(c) + Margin;
        rowHeight = std::max(rowHeight, LabelHeight + c.Height);
    }
    return y + rowHeight + Margin;
}

void DrawCell(TSheetCanvas& canvas, const Cell& c, const TPictureCollectionItem& item) {
    canvas.Number(c.At.X, c.At.Y, Format("%d", c.Index), LabelScale, LabelColor);
    const int top = c.At.Y + LabelHeight;
    const TPicture& p = item.Picture;
    if (p.Empty()) {
        canvas.Fill(Bounds(c.At.X, top, c.Width, c.Height), EmptyColor);
        return;
    }
    for (int y = 0; y < c.Height; ++y) {
        for (int x = 0; x < c.Width; ++x) {
            const TColor color = p.Pixel(x * c.Reduction, y * c.Reduction);
            const bool see = item.Transparent && color == (item.TransparentColor & 0xFFFFFF);
            canvas.Put(c.At.X + x, top + y, !see ? color : ((x / 4 + y / 4) % 2 == 0 ? CheckerDark : CheckerLight));
        }
    }
    const int cellWidth = item.PatternWidth > 0 ? item.PatternWidth : p.Width();
    const int cellHeight = item.PatternHeight > 0 ? item.PatternHeight : p.Height();
    const int stepX = cellWidth + item.SkipWidth;
    const int stepY = cellHeight + item.SkipHeight;
    if (stepX <= 0 || stepY <= 0 || GridPatternCount(item) <= 1) {
        return;
    }
    for (int row = 0; (row + 1) * stepY - item.SkipHeight <= p.Height(); ++row) {
        for (int col = 0; (col + 1) * stepX - item.SkipWidth <= p.Width(); ++col) {
            const TRect r = Bounds(col * stepX, row * stepY, cellWidth, cellHeight);
            canvas.Outline(TRect{c.At.X + r.Left / c.Reduction, top + r.Top / c.Reduction, c.At.X + r.Right / c.Reduction,
                                 top + r.Bottom / c.Reduction},
                           GridColor);
        }
    }
}

}  // namespace

int DrawContactSheet(const std::string& fileName, const std::string& pngName) {
    TAssetFile file;
    LoadAssetFile(fileName, file);
    if (file.Kind != AssetKind::Pictures) {
        throw std::runtime_error("a sound file has no pictures");
    }
    std::vector<Cell> cells;
    for (int i = 0; i < file.Pictures.Count(); ++i) {
        cells.push_back(MeasureCell(i, file.Pictures.Items(i).Picture));
    }
    TSheetCanvas canvas(SheetWidth, LayOut(cells), Background);
    for (const Cell& c : cells) {
        DrawCell(canvas, c, file.Pictures.Items(c.Index));
    }
    std::string error;
    if (!platform::SavePng(pngName, canvas.Image(), error)) {
        throw std::runtime_error("cannot write " + pngName + ": " + error);
    }
    return 0;
}
