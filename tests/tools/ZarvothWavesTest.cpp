// zarvoth-waves, run as a program: the CSV against the game's tables, the chart as a PNG of the
// layout's size with the first wave ship where the axes put it, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "game/SpriteTable.h"
#include "platform/ImageFile.h"
#include "support/TempDirectory.h"
#include "tests/tools/ToolRun.h"
#include "tools/zarvoth-waves/ChartLayout.h"
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
    platform::RgbImage chart;
    std::string error;
    ASSERT_TRUE(platform::LoadPng("chart.png", chart, error)) << error;
    EXPECT_EQ(chart.Width, waves::ChartWidth);
    EXPECT_EQ(chart.Height, waves::ChartHeight);
    // The first wave row: a shuttle at distance 300, x 400, in the first column.
    const int x = waves::ColumnLeft(0) + static_cast<int>(waves::ColumnX(400));
    const int y = waves::ColumnTop(0) + static_cast<int>(waves::ColumnY(0, 300));
    const std::uint32_t pixel = chart.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(chart.Width) + x];
    const content::Rgba want = waves::ShuttleStyle.Colour;
    const auto near = [](std::uint32_t channel, float wanted) {
        return std::abs(static_cast<float>(channel) - wanted * 255) < 12;
    };
    EXPECT_TRUE(near(pixel & 0xFF, want.R) && near((pixel >> 8) & 0xFF, want.G) && near((pixel >> 16) & 0xFF, want.B))
        << std::hex << pixel;
}

TEST(ZarvothWaves, RefusesWrongUseWithUsageAndAnUnwritableFileWithItsName) {
    TempDirectory folder;
    for (const char* args : {"", "draw", "csv extra", "chart", "chart a.png b.png"}) {
        const ToolOutcome run = Waves(args);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_NE(run.Err.find("usage: zarvoth-waves"), std::string::npos) << args;
    }
    const ToolOutcome run = Waves("chart no-such-folder/chart.png");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot write no-such-folder/chart.png"), std::string::npos) << run.Err;
}
