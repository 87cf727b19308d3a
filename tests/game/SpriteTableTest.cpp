#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/SpriteTable.h"

using SpriteTable::SpecialTable;
using SpriteTable::TSpriteTableEntry;
using SpriteTable::WaveTable;

namespace {

constexpr int SectorSplit = 417;  // the first entry of sector 2

struct Ship {
    int Distance;
    std::string Class;
    int X;
    bool operator==(const Ship&) const = default;
};

std::vector<Ship> Rows(int first, int last) {
    std::vector<Ship> rows;
    for (int i = first; i <= last; ++i) {
        rows.push_back({WaveTable[i].Distance, std::string(WaveTable[i].Class.ClassName()), WaveTable[i].X});
    }
    return rows;
}

// The ships entering at one distance, as (class, x) in table order.
std::vector<std::pair<std::string, int>> At(int distance) {
    std::vector<std::pair<std::string, int>> ships;
    for (const TSpriteTableEntry& e : WaveTable) {
        if (e.Distance == distance) ships.emplace_back(e.Class.ClassName(), e.X);
    }
    return ships;
}

std::vector<std::pair<std::string, int>> Row(const std::string& cls, int from, int to, int step) {
    std::vector<std::pair<std::string, int>> row;
    for (int x = from; x <= to; x += step) row.emplace_back(cls, x);
    return row;
}

const std::string S = "TEnemyShuttle", D = "TEnemyDefiant", A = "TEnemyAkira";

}  // namespace

TEST(SpriteTable, WavesAreSortedSplitIntoTwoSectorsWithTheirClassMix) {
    EXPECT_TRUE(std::is_sorted(WaveTable.begin(), WaveTable.end(),
                               [](const auto& a, const auto& b) { return a.Distance < b.Distance; }));
    std::map<std::string, int> sector1, sector2;
    for (int i = 0; i < static_cast<int>(WaveTable.size()); ++i) {
        const TSpriteTableEntry& e = WaveTable[i];
        (i < SectorSplit ? sector1 : sector2)[std::string(e.Class.ClassName())]++;
        EXPECT_TRUE(e.X >= 50 && e.X <= 750 && e.Y == 0) << "entry " << i;
    }
    EXPECT_EQ(sector1, (std::map<std::string, int>{{S, 314}, {D, 103}}));
    EXPECT_EQ(sector2, (std::map<std::string, int>{{S, 274}, {D, 49}, {A, 36}}));
    EXPECT_EQ(WaveTable[0].Distance, 300);
    EXPECT_EQ(WaveTable[SectorSplit - 1].Distance, 16590);
    EXPECT_EQ(WaveTable[SectorSplit].Distance, 17350);
    EXPECT_EQ(WaveTable.back().Distance, 27100);
    const auto [minX, maxX] = std::minmax_element(WaveTable.begin(), WaveTable.end(),
                                                  [](const auto& a, const auto& b) { return a.X < b.X; });
    EXPECT_EQ(minX->X, 50);
    EXPECT_EQ(maxX->X, 750);
}

TEST(SpriteTable, GroupsAreFiveTo560ApartWithinASectorMostOftenThirty) {
    std::set<int> distances;
    std::map<int, int> gaps;
    for (const auto& [first, last] : {std::pair{0, SectorSplit - 1}, std::pair{SectorSplit, 775}}) {
        std::set<int> sector;
        for (int i = first; i <= last; ++i) sector.insert(WaveTable[i].Distance);
        for (auto a = sector.begin(), b = std::next(a); b != sector.end(); ++a, ++b) gaps[*b - *a]++;
        distances.insert(sector.begin(), sector.end());
    }
    EXPECT_EQ(distances.size(), 309u);
    EXPECT_EQ(gaps.begin()->first, 5);
    EXPECT_EQ(gaps.rbegin()->first, 560);
    EXPECT_EQ(std::max_element(gaps.begin(), gaps.end(), [](auto a, auto b) { return a.second < b.second; })->first, 30);
}

TEST(SpriteTable, ShipsPerBandOf2000AreAsScheduled) {
    const std::map<std::string, std::vector<int>> expected{
        {S, {9, 26, 18, 40, 56, 41, 44, 51, 29, 32, 76, 33, 91, 42}},
        {D, {5, 13, 7, 8, 12, 9, 19, 16, 14, 10, 16, 6, 3, 14}},
        {A, {0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 11, 0, 16, 5}}};
    std::map<std::string, std::vector<int>> bands{{S, std::vector<int>(14)}, {D, std::vector<int>(14)},
                                                  {A, std::vector<int>(14)}};
    for (const TSpriteTableEntry& e : WaveTable) {
        bands[std::string(e.Class.ClassName())][e.Distance / 2000]++;
        if (e.Class.ClassNameIs(A)) {
            EXPECT_GE(e.Distance, 17350);
        }
    }
    EXPECT_EQ(bands, expected);
}

TEST(SpriteTable, FirstAndLastRowsAreTheOpeningAndClosingWaves) {
    const std::vector<Ship> first{{300, S, 400},  {500, S, 300},  {500, S, 400},  {500, S, 500},  {550, S, 250},
                                  {550, S, 200},  {550, S, 550},  {550, S, 600},  {950, D, 400},  {1300, D, 400},
                                  {1350, D, 300}, {1350, D, 500}, {1850, S, 400}, {1950, D, 400}, {2000, S, 250},
                                  {2000, S, 300}, {2000, S, 500}, {2000, S, 550}};
    EXPECT_EQ(Rows(0, 17), first);
    EXPECT_EQ(At(2200), Row(S, 150, 650, 50));
    for (int d = 26500; d <= 27100; d += 30) EXPECT_EQ(At(d), (std::vector<std::pair<std::string, int>>{{S, 60}, {S, 740}})) << d;
    EXPECT_EQ(At(26750), (std::vector<std::pair<std::string, int>>{{A, 400}, {A, 300}, {A, 500}}));
    EXPECT_EQ(At(26880), (std::vector<std::pair<std::string, int>>{{A, 350}, {A, 450}}));
}

TEST(SpriteTable, RecurringFormationsStandAtTheirDistances) {
    for (int d : {2200, 9960, 14000, 18650, 21250}) EXPECT_EQ(At(d), Row(S, 150, 650, 50)) << d;
    for (int d : {8300, 16200, 20200, 25400, 25500}) EXPECT_EQ(At(d), Row(S, 50, 750, 50)) << d;
    for (int d : {16200, 20200, 25400}) EXPECT_EQ(At(d + 50), Row(S, 75, 725, 50)) << d;
    for (int d : {12300, 16340, 21340, 26020}) {
        EXPECT_EQ(At(d), Row(D, 100, 700, 100)) << d;
        // The pairs and the triple that follow, each at its own later distance.
        std::vector<std::vector<std::pair<std::string, int>>> followers;
        for (int later = d + 1; later <= d + 300 && followers.size() < 3; ++later) {
            if (!At(later).empty()) followers.push_back(At(later));
        }
        EXPECT_EQ(followers, (std::vector<std::vector<std::pair<std::string, int>>>{
                                 {{D, 375}, {D, 425}}, {{D, 350}, {D, 450}}, {{D, 260}, {D, 400}, {D, 540}}}))
            << d;
    }
    for (const auto& [from, to] : {std::pair{9560, 9860}, {11700, 12210}, {20700, 21210}, {24000, 24600}}) {
        for (int d = from; d <= to; d += 30) {
            EXPECT_EQ(At(d), (std::vector<std::pair<std::string, int>>{{S, 60}, {S, 740}})) << d;
        }
    }
    const int fan[] = {0, 50, 100, 150, 200, 250, 300, 250, 200, 150, 100, 50, 0};
    for (int i = 0; i < 13; ++i) {
        const int spread = fan[i];
        const auto expected = spread == 0 ? std::vector<std::pair<std::string, int>>{{S, 400}}
                                          : std::vector<std::pair<std::string, int>>{{S, 400 - spread}, {S, 400 + spread}};
        EXPECT_EQ(At(14900 + 30 * i), expected) << 14900 + 30 * i;
    }
    for (int d : {20350, 25600}) {
        EXPECT_EQ(At(d), (std::vector<std::pair<std::string, int>>{{A, 100}, {A, 300}, {A, 400}, {A, 500}, {A, 700}}));
    }
}

TEST(SpriteTable, SpecialShipsArriveAtTheirSixteenDistances) {
    const std::vector<std::pair<int, std::string>> expected{
        {3850, "TFriendSupplyShip"}, {4350, "TEnemyInterpid"},    {6200, "TEnemyInterpid"},   {7100, "TFriendSupplyShip"},
        {7590, "TEnemyInterpid"},    {10950, "TFriendSupplyShip"}, {13000, "TEnemyInterpid"},  {13050, "TEnemyInterpid"},
        {14400, "TFriendSupplyShip"}, {16800, "TEnemyInterpid"},   {16850, "TEnemyInterpid"},  {23650, "TEnemyInterpid"},
        {23750, "TFriendSupplyShip"}, {27300, "TEnemyInterpid"},   {27350, "TEnemyInterpid"},  {27400, "TEnemyInterpid"}};
    std::vector<std::pair<int, std::string>> actual;
    for (const TSpriteTableEntry& e : SpecialTable) {
        actual.emplace_back(e.Distance, e.Class.ClassName());
        EXPECT_EQ(e.X, 0);
        EXPECT_EQ(e.Y, 0);
    }
    EXPECT_EQ(actual, expected);
}
