// zarvoth-waves, run as a program: the CSV against the game's tables, the chart as a PNG of the
// layout's size with the first wave ship where the axes put it, the honest games laid over it
// with their hardest places, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/SpriteTable.h"
#include "platform/ImageFile.h"
#include "support/TempDirectory.h"
#include "tests/tools/ToolRun.h"
#include "tools/zarvoth-waves/ChartLayout.h"
#include "tools/zarvoth-waves/Ink.h"
#include "tools/zarvoth-waves/Marks.h"

namespace {

// Runs the tool in the current (temporary) folder.
ToolOutcome Waves(const std::string& args) {
    return RunTool("zarvoth-waves", args);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

platform::RgbImage LoadChart(const std::string& path) {
    platform::RgbImage chart;
    std::string error;
    EXPECT_TRUE(platform::LoadPng(path, chart, error)) << error;
    return chart;
}

// The chart's pixel at screen x and distance d, in the column of d's band.
std::uint32_t PixelAt(const platform::RgbImage& chart, int x, int d) {
    const int band = waves::BandOf(d);
    const int px = waves::ColumnLeft(band) + static_cast<int>(waves::ColumnX(x));
    const int py = waves::ColumnTop(band) + static_cast<int>(waves::ColumnY(band, static_cast<float>(d)));
    return chart.Pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(chart.Width) + static_cast<std::size_t>(px)];
}

bool Near(std::uint32_t pixel, content::Rgba want) {
    const auto near = [](std::uint32_t channel, float wanted) { return std::abs(static_cast<float>(channel) - wanted * 255) < 12; };
    return near(pixel & 0xFF, want.R) && near((pixel >> 8) & 0xFF, want.G) && near((pixel >> 16) & 0xFF, want.B);
}

std::string Row(const char* table, std::size_t index, const SpriteTable::TSpriteTableEntry& e) {
    return std::string(table) + "," + std::to_string(index) + "," + std::to_string(e.Distance) + "," +
           std::string(e.Class.ClassName()) + "," + std::to_string(e.X) + "," + std::to_string(e.Y);
}

}  // namespace

TEST(ZarvothWaves, CsvHasOneRowPerEntryOfBothTablesInTableOrder) {
    TempDirectory folder;
    const ToolOutcome run = Waves("csv");
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 1u + 776u + 16u);
    EXPECT_EQ(lines[0], "table,index,distance,class,x,y");
    EXPECT_EQ(lines[1], "wave,0,300,TEnemyShuttle,400,0");
    for (const std::size_t i : {std::size_t{416}, std::size_t{417}, std::size_t{775}}) {
        EXPECT_EQ(lines[1 + i], Row("wave", i, SpriteTable::WaveTable[i]));
    }
    EXPECT_EQ(lines[1 + 776], "special,0,3850,TFriendSupplyShip,0,0");
    EXPECT_EQ(lines[1 + 776 + 15], Row("special", 15, SpriteTable::SpecialTable[15]));
}

TEST(ZarvothWaves, ChartIsAPngOfTheLayoutsSizeWithTheFirstShuttleWhereTheAxesPutIt) {
    TempDirectory folder;
    const ToolOutcome run = Waves("chart chart.png");
    ASSERT_EQ(run.Status, 0) << run.Err;
    const platform::RgbImage chart = LoadChart("chart.png");
    EXPECT_EQ(chart.Width, waves::ChartWidth);
    EXPECT_EQ(chart.Height, waves::ChartHeight);
    // The first wave row: a shuttle at distance 300, x 400, in the first column.
    EXPECT_TRUE(Near(PixelAt(chart, 400, 300), waves::ShuttleStyle.Colour)) << std::hex << PixelAt(chart, 400, 300);
}

TEST(ZarvothWaves, HonestGamesAreLaidOverTheChartAndTheirHardestPlacesPrintedHardestFirst) {
    TempDirectory folder;
    WriteFile("light.txt", "# seed 1\nhit 20772 188 250\n\nhit 20790 190 250\n  # seed 2\nhit 7590 371 50\n");
    WriteFile("heavy.txt", "hit 25830 300 1020\ndied 25830 300\n");
    const ToolOutcome plain = Waves("chart plain.png");
    const ToolOutcome run = Waves("chart chart.png light.txt heavy.txt");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "hard place 25800 to 25899: 1 hit, 1020 hull lost, 1 ship lost\n"
              "hard place 20700 to 20799: 2 hits, 500 hull lost, 0 ships lost\n"
              "hard place 7500 to 7599: 1 hit, 50 hull lost, 0 ships lost\n");
    const platform::RgbImage chart = LoadChart("chart.png");
    const platform::RgbImage before = LoadChart("plain.png");
    // A cross where the ship was lost; the stretch of the hits shaded red, off any mark.
    EXPECT_TRUE(Near(PixelAt(chart, 300, 25830), waves::DeathColour)) << std::hex << PixelAt(chart, 300, 25830);
    const std::uint32_t shaded = PixelAt(chart, 780, 20750);
    const std::uint32_t ground = PixelAt(before, 780, 20750);
    EXPECT_GT(shaded & 0xFF, (ground & 0xFF) + 40) << std::hex << shaded << " over " << ground;
    EXPECT_EQ(PixelAt(chart, 780, 20650), PixelAt(before, 780, 20650));
}

TEST(ZarvothWaves, RefusesAnHonestFileWithALineItCannotPlaceNamingTheFileAndLine) {
    TempDirectory folder;
    for (const char* line : {"hit 100 400", "hit 100 400 0", "hit 100 400 50 9", "died -1 400", "died 28000 400",
                             "died 100 801", "hit 100 x 50", "lost 100 400", "hit 99999999999 400 50"}) {
        WriteFile("honest.txt", std::string("# seed 1\nhit 100 400 50\n") + line + "\n");
        const ToolOutcome run = Waves("chart chart.png honest.txt");
        EXPECT_EQ(run.Status, 1) << line;
        EXPECT_NE(run.Err.find("zarvoth-waves: honest.txt:3: not \"hit DISTANCE X DAMAGE\""), std::string::npos)
            << line << ": " << run.Err;
    }
}

TEST(ZarvothWaves, RefusesWrongUseWithUsageAndAFileItCannotWriteOrReadWithItsName) {
    TempDirectory folder;
    for (const char* args : {"", "draw", "csv extra", "chart"}) {
        const ToolOutcome run = Waves(args);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_NE(run.Err.find("usage: zarvoth-waves"), std::string::npos) << args;
    }
    for (const auto& [args, message] : {std::pair{"chart no-such-folder/chart.png", "cannot write no-such-folder/chart.png"},
                                        std::pair{"chart chart.png no-such.txt", "cannot read no-such.txt"}}) {
        const ToolOutcome run = Waves(args);
        EXPECT_EQ(run.Status, 1) << args;
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
}
