// ChartLayout: where things go on the wave chart. The picture is two rows of seven columns, one
// column per band of 2000 distance units; in each column the distance runs upward (as the game
// scrolls) and x (0 to 800) runs across. Depends on nothing.
#pragma once

namespace waves {

constexpr int BandLength = 2000;        // distance units per column
constexpr int Bands = 14;               // 0 to 28000; the game ends at 27700
constexpr int ColumnsPerRow = 7;
constexpr int Rows = Bands / ColumnsPerRow;
constexpr float PixelsPerUnit = 0.4f;   // the usual gap between waves, 30 units, is 12 pixels
constexpr int ScreenWidth = 800;        // the game's x range
constexpr int PlotWidth = 200;          // a quarter of the screen's width
constexpr int PlotHeight = 800;         // BandLength * PixelsPerUnit
constexpr int PlotPad = 8;              // inside the plot frame, so marks at a band's edge stay whole
constexpr int TickGutter = 46;          // distance labels, left of the plot
constexpr int LabelGutter = 184;        // special ships and mission texts, right of the plot
constexpr int HeaderHeight = 40;
constexpr int FooterHeight = 30;
constexpr int ColumnWidth = TickGutter + PlotWidth + LabelGutter;
constexpr int ColumnHeight = HeaderHeight + 2 * PlotPad + PlotHeight + FooterHeight;
constexpr int Margin = 16;
constexpr int TitleHeight = 112;
constexpr int ChartWidth = 2 * Margin + ColumnsPerRow * ColumnWidth;
constexpr int ChartHeight = TitleHeight + Rows * ColumnHeight + Margin;

// Within a column's own picture.
constexpr float PlotLeft = TickGutter;
constexpr float PlotRight = TickGutter + PlotWidth;
constexpr float PlotTop = HeaderHeight;
constexpr float PlotBottom = HeaderHeight + 2 * PlotPad + PlotHeight;

constexpr int BandOf(int distance) { return distance / BandLength; }
constexpr float ColumnX(int x) { return PlotLeft + static_cast<float>(x) * PlotWidth / ScreenWidth; }
constexpr float ColumnY(int band, float distance) {
    return PlotBottom - PlotPad - (distance - static_cast<float>(band * BandLength)) * PixelsPerUnit;
}

// Where a column's picture sits in the chart.
constexpr int ColumnLeft(int band) { return Margin + band % ColumnsPerRow * ColumnWidth; }
constexpr int ColumnTop(int band) { return TitleHeight + band / ColumnsPerRow * ColumnHeight; }

}  // namespace waves
