// Chart: each part is drawn on its own canvas, which keeps the supersampled memory small, and
// pasted into place.
#include "tools/zarvoth-waves/Chart.h"

#include "tools/raster/Raster.h"
#include "tools/zarvoth-waves/ChartLayout.h"
#include "tools/zarvoth-waves/Column.h"
#include "tools/zarvoth-waves/Ink.h"
#include "tools/zarvoth-waves/Legend.h"

namespace waves {
namespace {

void Paste(platform::RgbImage& target, const platform::RgbImage& part, int left, int top) {
    for (int y = 0; y < part.Height; ++y) {
        for (int x = 0; x < part.Width; ++x) {
            target.Pixels[static_cast<std::size_t>(top + y) * static_cast<std::size_t>(target.Width) +
                          static_cast<std::size_t>(left + x)] =
                part.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(part.Width) + static_cast<std::size_t>(x)];
        }
    }
}

}  // namespace

platform::RgbImage DrawChart(const std::vector<HonestEvent>& honest) {
    platform::RgbImage chart{ChartWidth, ChartHeight,
                             std::vector<std::uint32_t>(static_cast<std::size_t>(ChartWidth) * ChartHeight,
                                                        content::ToColourValue(Paper))};
    Paste(chart, DrawLegend(honest), 0, 0);
    for (int band = 0; band < Bands; ++band) {
        Paste(chart, DrawColumn(band, honest), ColumnLeft(band), ColumnTop(band));
    }
    return chart;
}

}  // namespace waves
