// The soak's random player: whatever a move presses it lets go of, and a player told not to quit
// never clicks where the program would end, while one allowed to does so now and then.
#include <gtest/gtest.h>

#include <set>

#include "soak/RandomPlayer.h"

namespace {

constexpr int Moves = 20000;

}  // namespace

TEST(RandomPlayer, EveryMoveReleasesWhatItPressed) {
    TRandomPlayer player(7, true);
    for (int move = 0; move < Moves; ++move) {
        std::multiset<std::string> held;
        int buttons = 0;
        for (const TSoakInput& input : player.NextMove()) {
            if (input.Kind == TSoakInput::KeyDown) {
                held.insert(input.Key);
            } else if (input.Kind == TSoakInput::KeyUp) {
                ASSERT_EQ(held.erase(input.Key), 1u) << "released without a press: " << input.Key;
            }
            buttons += input.Kind == TSoakInput::ButtonDown ? 1 : input.Kind == TSoakInput::ButtonUp ? -1 : 0;
            ASSERT_GE(buttons, 0);
        }
        ASSERT_TRUE(held.empty()) << *held.begin() << " still held after move " << move;
        ASSERT_EQ(buttons, 0) << "a button still held after move " << move;
    }
}

TEST(RandomPlayer, TheFirstMoveStartsAGameFromTheStartMenu) {
    TRandomPlayer player(3, false);
    std::vector<std::pair<int, int>> clicks;
    int x = 0;
    int y = 0;
    for (const TSoakInput& input : player.NextMove()) {
        if (input.Kind == TSoakInput::MoveTo) {
            x = input.X;
            y = input.Y;
        } else if (input.Kind == TSoakInput::ButtonDown) {
            clicks.emplace_back(x, y);
        }
    }
    ASSERT_GE(clicks.size(), 2u);
    EXPECT_TRUE(TSoakArea({50, 180, 180, 205}).Holds(clicks.front().first, clicks.front().second)) << "new game";
    EXPECT_TRUE(TSoakArea({550, 535, 738, 561}).Holds(clicks.back().first, clicks.back().second)) << "start";
}

TEST(RandomPlayer, OnlyAPlayerWhoMayQuitClicksWhereTheProgramEnds) {
    for (const bool mayQuit : {false, true}) {
        TRandomPlayer player(11, mayQuit);
        int x = 0;
        int y = 0;
        int endingClicks = 0;
        for (int move = 0; move < Moves; ++move) {
            for (const TSoakInput& input : player.NextMove()) {
                if (input.Kind == TSoakInput::MoveTo) {
                    x = input.X;
                    y = input.Y;
                }
                endingClicks += input.Kind == TSoakInput::ButtonDown && TRandomPlayer::EndsTheProgram(x, y);
            }
        }
        EXPECT_EQ(endingClicks > 0, mayQuit) << endingClicks;
    }
}
