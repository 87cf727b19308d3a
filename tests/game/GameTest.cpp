// The game session's rules that a whole play-through cannot single out: the bars' rounding, the
// transport grid and its answer window, keys and clicks by GameState, the mission texts' order,
// the special ships' skipping and the pause.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Commands.h"
#include "game/Game.h"
#include "game/Hud.h"
#include "game/MissionTexts.h"
#include "game/SpriteTable.h"
#include "support/AllocationCounter.h"
#include "support/GameWindow.h"

using namespace Game;

class GameTest : public GameWindowTest {
protected:
    GameTest() {
        Screen = &QuietScreen;
        Open();
        // A menu frame first, so that the game's first frame time is a frame's.
        RunFrames(1, 16);
        StartGame();
    }

    void Frames(int count) { RunFrames(count, 16); }

    // The ship flown in and the welcome text read: the game as a player first meets it.
    void FlyIn() {
        while (!Arrived) Frames(1);
        while (GameState != StateDialog) Frames(1);
        Type("\r");
        Frames(1);
    }

    TFriendSupplyShip& SupplyInPosition() {
        SpawnSpecial(SpriteClassOf<TFriendSupplyShip>());
        while (!SupplyShip->IsInPosition()) Frames(1);
        return *SupplyShip;
    }
};

TEST(HudTest, BarsRoundTheirLengthInExtendedPrecisionHalvesToEven) {
    const struct {
        long double Value;
        long double Scale;
        std::int32_t Length;
    } cases[] = {{100, 2.03L, 203}, {40, 2.03L, 81}, {30, 2.03L, 61}, {50, 2.03L, 102},
                 {50, 3.71L, 186}, {100, 3.71L, 371}, {0, 3.71L, 0},   {-6, 2.03L, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(BarLength(c.Value, c.Scale), c.Length) << static_cast<double>(c.Value);
    }
}

TEST(CommandsTest, GridCellsRoundHalvesToEvenAndDistancesRoundToTheNearestCell) {
    TSpriteEngine root;
    TSprite sprite(&root);
    const struct {
        double X, Y;
        TPoint Cell;
    } cells[] = {{20, 60, {0, 2}}, {100, 140, {2, 4}}, {59.9, 380, {1, 10}}, {-20, 600, {0, 15}}};
    for (const auto& c : cells) {
        sprite.X = c.X;
        sprite.Y = c.Y;
        EXPECT_EQ(GridPosition(sprite), c.Cell) << c.X << "," << c.Y;
    }
    EXPECT_EQ(GridDistance({9, 12}, {9, 1}), 11);
    EXPECT_EQ(GridDistance({0, 0}, {3, -4}), 5);
    EXPECT_EQ(GridDistance({5, 5}, {6, 6}), 1);
    EXPECT_EQ(GridDistance({7, 3}, {7, 3}), 0);
}

TEST_F(GameTest, ATransportSucceedsWithinOneCellOfTheDistanceAndOnlyOncePerShip) {
    FlyIn();
    TFriendSupplyShip& supply = SupplyInPosition();
    const std::int32_t distance = GridDistance(GridPosition(*Player), GridPosition(supply));
    for (const int answer : {distance + 2, distance - 2, distance + 1}) {
        const std::int32_t score = Main::Score;
        Player->Hull = 5;
        Type("r" + std::to_string(answer) + "\r");
        Frames(1);
        const bool near = std::abs(answer - distance) <= 1;
        EXPECT_EQ(Main::Score - score, near ? 1000 : 0) << answer;
        EXPECT_EQ(supply.Transported, near);
        EXPECT_EQ(Player->Hull > 5, near);
    }
    // The ship is on its way out: another answer, even a right one, beams nothing.
    ASSERT_TRUE(supply.IsInPosition());
    Type("r" + std::to_string(distance) + "\r");
    Frames(1);
    EXPECT_EQ(Main::Score, 1000);
}

TEST_F(GameTest, ABurningSupplyShipTakesNoAnswer) {
    FlyIn();
    TFriendSupplyShip& supply = SupplyInPosition();
    const std::int32_t distance = GridDistance(GridPosition(*Player), GridPosition(supply));
    Type("r");
    supply.TakeDamage(supply.GetHull());
    Type(std::to_string(distance) + "\r");
    Frames(1);
    EXPECT_EQ(Main::Score, -500);
    EXPECT_FALSE(supply.Transported);
}

TEST_F(GameTest, KeysAndClicksActByGameState) {
    FlyIn();
    const TPoint cloak{260, 555}, shields{340, 555}, menu{700, 110}, play{400, 200};
    // Escape and M do not reach through an open dialog; clicks on the panel go to the box.
    Type("t");
    Type("\x1bmch");
    Click(cloak.X, cloak.Y);
    EXPECT_EQ(GameState, StateDialog);
    EXPECT_FALSE(CloakOn || ShieldsOn);
    Type("\r");
    Frames(1);
    // Playing: cloak and shields exclude each other, by key, panel button and right button.
    Type("c");
    EXPECT_TRUE(CloakOn && Player->Cloaked);
    Click(shields.X, shields.Y);
    EXPECT_TRUE(ShieldsOn && Player->ShieldsUp && !CloakOn && !Player->Cloaked);
    Form->DXDraw1MouseDown(platform::MouseButton::Right, platform::ssRight, play.X, play.Y);
    EXPECT_FALSE(ShieldsOn);
    // Left and right held together: the phaser's aim, not the shields.
    Form->DXDraw1MouseDown(platform::MouseButton::Right, platform::ssLeft | platform::ssRight, play.X, play.Y);
    EXPECT_FALSE(ShieldsOn);
    EXPECT_EQ(Sprites::AimPoint, play);
    // The menu: its corner button opens it; keys then only close it, clicks only reach its items.
    Click(menu.X, menu.Y);
    ASSERT_EQ(GameState, StateMenu);
    Type("ct");
    Click(cloak.X, cloak.Y);
    EXPECT_FALSE(CloakOn);
    EXPECT_EQ(GameState, StateMenu);
    Type("M");
    EXPECT_EQ(GameState, StatePlaying);
    EXPECT_FALSE(Frozen);
}

TEST_F(GameTest, MenuItemsHighlightUnderThePointerAndKeepTheLastHighlight) {
    Type("\x1b");
    Frames(1);
    Move(300, 250);
    EXPECT_EQ(ResumeItem->Image(), &Form->DXImageList1->Items().Items(ImageResumeItem + 1));
    EXPECT_EQ(RestartItem->Image(), &Form->DXImageList1->Items().Items(ImageRestartItem));
    Move(10, 10);
    EXPECT_EQ(ResumeItem->Image(), &Form->DXImageList1->Items().Items(ImageResumeItem + 1));
    Click(300, 250);
    EXPECT_EQ(GameState, StatePlaying);
}

TEST_F(GameTest, TextsPassedTogetherOpenOneAFrameInTheirFixedOrder) {
    FlyIn();
    Distance = 30000;
    SpecialIndex = static_cast<std::int32_t>(SpriteTable::SpecialTable.size());
    WaveIndex = static_cast<std::int32_t>(SpriteTable::WaveTable.size());
    std::vector<std::string> titles;
    for (int frame = 0; frame < 20; ++frame) {
        Frames(1);
        if (GameState == StateDialog) {
            titles.push_back(GameBox->Lines().front().Text);
            Type("\r");
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Sector2", "Sector1 cleared", "Game completed", "Federation Shuttle",
                                                "Federation Defiant", "Federation Akira", "Federation Interpid",
                                                "Cardassian supply ship"}));
    EXPECT_TRUE(WarpReady && Hold);
}

TEST_F(GameTest, ASpecialShipDueWhileAnotherIsPresentIsSkippedAndClassNamesIgnoreCase) {
    SpawnSpecial(SpriteClassOf<TEnemyInterpid>());
    TEnemyInterpid* cruiser = SpecialEnemy;
    ASSERT_NE(cruiser, nullptr);
    const int sprites = Form->DXSpriteEngine1->Engine().Count();
    SpawnSpecial(SpriteClassOf<TFriendSupplyShip>());
    SpawnSpecial(SpriteClassOf<TEnemyInterpid>());
    EXPECT_EQ(Form->DXSpriteEngine1->Engine().Count(), sprites);
    EXPECT_EQ(SpecialEnemy, cruiser);
    EXPECT_EQ(SupplyShip, nullptr);
    cruiser->Finished = true;
    Frames(1);
    EXPECT_EQ(SpecialState, SpecialNone);
    SpawnSpecial(TSpriteClass(&CreateSpriteOfClass<TFriendSupplyShip>, "TFRIENDSUPPLYSHIP"));
    EXPECT_EQ(SpecialState, SpecialSupply);
    EXPECT_TRUE(Hold);
}

TEST_F(GameTest, PauseDropsATacticalDialogAndOpensTheMenuButKeepsAMissionText) {
    FlyIn();
    // Playing, a torpedo dialog, a transport dialog, the menu already open.
    for (const char* keys : {"", "t", "r", "\x1b"}) {
        Type(keys);
        App.SetActive(false);
        EXPECT_EQ(GameState, StateMenu) << keys;
        EXPECT_FALSE(GameBox) << keys;
        EXPECT_TRUE(Frozen);
        EXPECT_EQ(TorpedoButton->Image(), &Form->DXImageList1->Items().Items(ImageTorpedoButton));
        EXPECT_EQ(TransportButton->Image(), &Form->DXImageList1->Items().Items(ImageTransportButton));
        App.SetActive(true);
        Type("\x1b");
    }
    Distance = 300;
    Frames(1);
    ASSERT_EQ(DialogKind, DialogMissionText);
    App.SetActive(false);
    EXPECT_EQ(GameState, StateDialog);
    EXPECT_TRUE(GameBox && Frozen);
}

TEST_F(GameTest, AStartWhileAGameRunsLeavesThatGameAlone) {
    FlyIn();
    Main::Score = 700;
    TPlayer* player = Player;
    const int sprites = Form->DXSpriteEngine1->Engine().Count();
    StartGame();
    EXPECT_EQ(Player, player);
    EXPECT_EQ(Form->DXSpriteEngine1->Engine().Count(), sprites);
    EXPECT_EQ(Main::Score, 700);
    Frames(2);  // the ships still draw from the images they were given
}

TEST_F(GameTest, FramesOfSteadyFlightAllocateNothing) {
    FlyIn();
    Type("h");
    Frames(2);
    // Before the first wave: the stars, the ship, the panel, a shield recharging, the overlay.
    StartCountingAllocations();
    Frames(60);
    EXPECT_EQ(StopCountingAllocations(), 0u);
    EXPECT_EQ(WaveIndex, 0);
}
