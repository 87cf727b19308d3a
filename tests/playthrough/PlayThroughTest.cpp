// Whole games played through the real main window, headless, on a stepped 60 Hz clock with the
// random generator seeded. A driver plays like a careful player, only through what a player has:
// clicks and typed characters into the window's handlers, and held keys on the input device.
#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "game/Commands.h"
#include "game/Game.h"
#include "game/Main.h"
#include "game/MissionTexts.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "support/GameWindow.h"

namespace {

constexpr std::uint8_t KeyW = 17, KeyA = 30, KeyS = 31, KeyD = 32;

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double CentreX(const TSprite& s) { return s.X + s.Width / 2.0; }
double CentreY(const TSprite& s) { return s.Y + s.Height / 2.0; }

int ScoreOf(const TEnemy& enemy) {
    if (dynamic_cast<const TEnemyShuttle*>(&enemy)) return 25;
    if (dynamic_cast<const TEnemyDefiant*>(&enemy)) return 50;
    if (dynamic_cast<const TEnemyAkira*>(&enemy)) return 100;
    return 200;
}

// Ships that end the player when rammed: everything but a shuttle.
bool Dangerous(const TEnemy& enemy) {
    return !enemy.IsExploding() && dynamic_cast<const TEnemyShuttle*>(&enemy) == nullptr;
}

}  // namespace

class PlayThroughTest : public GameWindowTest {
protected:
    PlayThroughTest() {
        Random::SetSeed(20240601);
        Screen = &QuietScreen;
        Open();
        auto frame = Main::Routes()[Main::AppModeGame].Frame;
        // A frame that ends the game opens another screen, whose loading is counted apart.
        Main::Routes()[Main::AppModeGame].Frame = [this, frame](int lag) {
            const double start = ThreadSeconds();
            frame(lag);
            (Main::AppMode == Main::AppModeGame ? FrameSeconds : ScreenChangeSeconds).push_back(ThreadSeconds() - start);
        };
        FrameSeconds.reserve(200000);
    }

    // One pass of the message loop at 60 frames per second.
    void Frame() {
        ++FrameNumber;
        Clock.Advance(static_cast<std::uint32_t>(FrameNumber * 1000 / 60 - (FrameNumber - 1) * 1000 / 60));
        App.ProcessMessagesAndIdle(Window, Form->Events());
    }

    // From the main screen through the new-game screen, with the heavy ship, to the game.
    void StartFromMenu() {
        Click(100, 190);
        Frame();
        Click(380, 158);
        Frame();
        const double start = ThreadSeconds();
        Click(640, 548);
        StartSeconds = ThreadSeconds() - start;
        Frame();
    }

    void HoldKey(std::uint8_t key, bool held) {
        if (held) Input.Press(key); else Input.Release(key);
    }

    std::vector<TEnemy*> Enemies() { return SpritesOf<TEnemy>(); }
    int TorpedoesInFlight() { return static_cast<int>(SpritesOf<TPlayerPhotonTorpedo>().size()); }

    // Answers the open dialog as a player reading it would.
    void AnswerDialog() {
        using namespace Game;
        if (DialogKind == DialogMissionText) {
            Type("\r");
        } else if (DialogKind == DialogTorpedo) {
            const auto enemies = Enemies();
            const bool there = std::find(enemies.begin(), enemies.end(), TorpedoTarget) != enemies.end();
            Type(std::to_string(there ? AngleTo(*TorpedoTarget) : 90) + "\r");
        } else {
            if (!SavedTransport) SavePicture("playthrough-transport");
            SavedTransport = true;
            TPoint own{}, supply{};
            for (const TLine& line : GameBox->Lines()) {
                std::sscanf(line.Text.c_str(), "Your position: [%d;%d]", &own.X, &own.Y);
                std::sscanf(line.Text.c_str(), "Supply ship position: [%d;%d]", &supply.X, &supply.Y);
            }
            const double distance = std::hypot(supply.X - own.X, supply.Y - own.Y);
            Type(std::to_string(static_cast<int>(std::lround(distance))) + "\r");
        }
    }

    // The typed angle that sends a torpedo from the ship's centre to where the target's centre
    // will be when the torpedo gets there (ships come down; the cruiser stands).
    int AngleTo(const TSprite& target) {
        const TPlayer& ship = *Game::Player;
        const double speed = dynamic_cast<const TEnemyInterpid*>(&target) ? 0 : dynamic_cast<const TEnemy&>(target).Speed;
        double dx = CentreX(target) - (ship.X + ship.Width / 2);
        double dy = CentreY(target) - (ship.Y + ship.Height / 2);
        dy += speed * std::hypot(dx, dy) / 120;
        const int angle = static_cast<int>(std::lround(std::atan2(dy, dx) * 180.0 / M_PI + 180.0));
        return (angle % 360 + 360) % 360;
    }

    // Where a dangerous ship will be, sideways, when it has come down to the ship's row: the
    // Defiants drift away from the screen's centre line, the Akiras out to the quarter lines.
    static double LaneAt(const TEnemy& enemy, double seconds) {
        const double centre = 400 - enemy.Width / 2.0;
        const double side = enemy.X < centre ? -1 : enemy.X > centre ? 1 : 0;
        if (dynamic_cast<const TEnemyDefiant*>(&enemy) != nullptr) return enemy.X + side * 10 * seconds;
        if (dynamic_cast<const TEnemyAkira*>(&enemy) == nullptr) return enemy.X;
        const double quarter = side < 0 ? 200 - enemy.Width / 2.0 : 600 - enemy.Width / 2.0;
        if (side < 0 && enemy.X > quarter) return std::max(quarter, enemy.X - 10 * seconds);
        if (side > 0 && enemy.X < quarter) return std::min(quarter, enemy.X + 10 * seconds);
        return enemy.X;
    }

    // How much a lane at x is threatened: the nearer a ship above it, the more. One shuttle is
    // survived, three side by side are not, nor any other ship.
    double Threat(double x, const std::vector<TEnemy*>& enemies) {
        const TPlayer& ship = *Game::Player;
        double threat = 0;
        int shuttles = 0;
        for (const TEnemy* enemy : enemies) {
            if (enemy->IsExploding() || enemy == Game::SpecialEnemy) continue;
            const double gap = ship.Y - (enemy->Y + enemy->Height);
            if (gap > 420 || enemy->Y > ship.Y + ship.Height) continue;
            const double lane = LaneAt(*enemy, std::max(gap, 0.0) / 30);
            if (x >= lane + enemy->Width + 14 || x + ship.Width <= lane - 14) continue;
            const double weight = 1000 / std::max(gap + 40, 10.0);
            if (Dangerous(*enemy)) {
                threat += weight;
            } else {
                threat += weight * 0.2;
                shuttles += gap < 120;
            }
        }
        return threat + (shuttles >= 2 ? 50 : 0);
    }

    // Keeps out of the lanes of dangerous ships coming down; under a cruiser, closes in on it.
    void Steer() {
        const TPlayer& ship = *Game::Player;
        double goalX = ship.X;
        double goalY = 540 - ship.Height;
        if (Game::SpecialState == Game::SpecialCruiser) {
            goalX = CentreX(*Game::SpecialEnemy) - ship.Width / 2.0;
            goalY = 300;
        }
        const auto enemies = Enemies();
        double best = ship.X;
        double bestCost = 1e18;
        for (double x = 1; x <= 800 - ship.Width; x += 4) {
            // Lanes far away cannot be reached in time; the way there must be free as well.
            const double way = Threat((x + ship.X) / 2, enemies) * 0.5;
            const double cost = Threat(x, enemies) + way + std::abs(x - goalX) * 0.004 + std::abs(x - ship.X) * 0.01;
            if (cost < bestCost) {
                best = x;
                bestCost = cost;
            }
        }
        HoldKey(KeyA, best < ship.X - 2);
        HoldKey(KeyD, best > ship.X + 2);
        HoldKey(KeyW, goalY < ship.Y - 2);
        HoldKey(KeyS, goalY > ship.Y + 2);
    }

    // The ship ahead most worth a shot: the dangerous ones nearest the ship's lane first.
    const TEnemy* Target() {
        const TPlayer& ship = *Game::Player;
        const TEnemy* target = nullptr;
        double best = 1e18;
        for (const TEnemy* enemy : Enemies()) {
            if (enemy->IsExploding() || enemy == Game::SpecialEnemy || enemy->Y + enemy->Height < 0 ||
                CentreY(*enemy) > ship.Y - 25) continue;
            const TPoint aim{static_cast<int>(CentreX(*enemy)), static_cast<int>(CentreY(*enemy))};
            if (Game::SupplyShip && PtInRect(Game::SupplyShip->GetBounds(), aim)) continue;
            // The menu button's corner takes every click there.
            if (aim.X >= 690 && aim.Y <= 140) continue;
            double rank = std::hypot(CentreX(*enemy) - CentreX(ship), CentreY(*enemy) - CentreY(ship));
            if (Dangerous(*enemy)) rank = rank / 4 - 1000;
            const double gap = ship.Y - (enemy->Y + enemy->Height);
            if (gap < 200 && enemy->X < ship.X + ship.Width + 10 && enemy->X + enemy->Width > ship.X - 10) rank = gap - 2000;
            if (rank < best) {
                best = rank;
                target = enemy;
            }
        }
        return target;
    }

    // Phasers at full strength: every shot costs the same energy, a full one does the most.
    void FirePhaser(const TEnemy* target) {
        if (Game::Player->PhaserEnergy < 85 || FrameNumber < NextShot) return;
        Click(static_cast<int>(CentreX(*target)), static_cast<int>(CentreY(*target)));
        NextShot = FrameNumber + 3;
    }

    // What a careful player does before the next frame.
    void Play() {
        using namespace Game;
        if (Main::AppMode != Main::AppModeGame || !GameRunning()) return;
        // The driver keeps its ship alive; everything else is player input.
        Player->RepairHull();
        if (GameState == StateDialog) {
            AnswerDialog();
            return;
        }
        if (WarpReady) {
            Click(WarpButton->X() + 20, WarpButton->Y() + 10);
            return;
        }
        Steer();
        if (SpecialState == SpecialCruiser && SpecialEnemy->Y > SpecialEnemy->StopY && !SpecialEnemy->IsExploding() &&
            TorpedoesInFlight() * 10000 < SpecialEnemy->GetHull() && Player->GetTorpedoes() > 0 && FrameNumber >= NextTorpedo) {
            TorpedoTarget = SpecialEnemy;
            Type("t");
            NextTorpedo = FrameNumber + 20;
            return;
        }
        if (SpecialState == SpecialSupply && SupplyShip->IsInPosition() && !SupplyShip->Transported) {
            Type("r");
            return;
        }
        const TEnemy* target = Target();
        if (target == nullptr && SpecialState == SpecialCruiser && SpecialEnemy->Y > SpecialEnemy->StopY) {
            target = SpecialEnemy;
        }
        if (target == nullptr) return;
        // Spare torpedoes go to dangerous ships close above; a cruiser may still need twelve.
        if (Dangerous(*target) && Player->GetTorpedoes() > (Distance > 23750 ? 18 : 12) && FrameNumber >= NextTorpedo &&
            target->Y + target->Height > Player->Y - 260 && SpecialState == SpecialNone) {
            TorpedoTarget = target;
            Type("t");
            NextTorpedo = FrameNumber + 40;
            return;
        }
        FirePhaser(target);
    }

    // What the frame changed that a player would notice; called after each frame.
    void Watch() {
        using namespace Game;
        if (GameBox && GameBox.get() != LastBox && DialogKind == DialogMissionText) {
            Texts.push_back(GameBox->Lines().front().Text);
            if (Texts.back() == "Federation Interpid" || Texts.back() == "Game completed") {
                SavePicture("playthrough-" + std::to_string(Texts.size()));
            }
        }
        LastBox = GameBox.get();
        if (!GameRunning()) return;
        std::map<const TSprite*, bool> exploding;
        for (TEnemy* enemy : Enemies()) {
            exploding[enemy] = enemy->IsExploding();
            const auto before = Exploding.find(enemy);
            if (enemy->IsExploding() && before != Exploding.end() && !before->second) ExpectedScore += ScoreOf(*enemy);
            if (enemy->Y == -150 && !AtEntry.count(enemy) && enemy != SpecialEnemy) {
                ++Created[static_cast<std::size_t>(Distance >= 17000)][std::string(typeid(*enemy).name())];
            }
        }
        AtEntry.clear();
        for (TEnemy* enemy : Enemies()) {
            if (enemy->Y == -150) AtEntry[enemy] = true;
        }
        Exploding = std::move(exploding);
        if (SupplyShip != nullptr) {
            if (SupplyShip->Transported && !SupplyWasTransported) ExpectedScore += 1000;
            if (SupplyShip->IsDestroyed() && !SupplyWasDestroyed) ExpectedScore -= 500;
            SupplyWasTransported = SupplyShip->Transported;
            SupplyWasDestroyed = SupplyShip->IsDestroyed();
        } else {
            SupplyWasTransported = SupplyWasDestroyed = false;
        }
        if (SpecialEnemy != nullptr && SpecialEnemy->GetHull() == 30000 && !SavedCruiser) {
            SavePicture("playthrough-cruiser");
            SavedCruiser = true;
        }
        if (SpecialState != SpecialNone && LastSpecial == SpecialNone) ++Specials;
        LastSpecial = SpecialState;
    }

    // Where a game that did not finish stands.
    std::string Situation() {
        using namespace Game;
        return "distance " + std::to_string(static_cast<double>(Distance)) + ", special " + std::to_string(SpecialState) +
               ", state " + std::to_string(GameState) + ", enemies " + std::to_string(Enemies().size()) +
               (Player ? ", ship at " + std::to_string(Player->X) + "," + std::to_string(Player->Y) : "");
    }

    void PrintFrameFigures() {
        std::vector<double> sorted = FrameSeconds;
        std::sort(sorted.begin(), sorted.end());
        const auto worst = std::max_element(FrameSeconds.begin(), FrameSeconds.end());
        Median = sorted[sorted.size() / 2] * 1e3;
        P99 = sorted[sorted.size() * 99 / 100] * 1e3;
        Max = *worst * 1e3;
        std::printf("game frames: %zu, CPU ms median %.3f, p99 %.3f, max %.3f (frame %td)\n", sorted.size(), Median, P99,
                    Max, worst - FrameSeconds.begin() + 1);
        std::printf("start of the game %.3f ms, its first frame %.3f ms", StartSeconds * 1e3, FrameSeconds.front() * 1e3);
        for (const double seconds : ScreenChangeSeconds) std::printf(", a frame that left the game %.3f ms", seconds * 1e3);
        std::printf("\n");
    }

    long FrameNumber = 0;
    bool SavedTransport = false;
    bool SavedCruiser = false;
    const TSprite* TorpedoTarget = nullptr;
    long NextShot = 0;
    long NextTorpedo = 0;
    std::vector<double> FrameSeconds;
    std::vector<double> ScreenChangeSeconds;
    double StartSeconds = 0;
    double Median = 0, P99 = 0, Max = 0;
    std::vector<std::string> Texts;
    const TMessageBox* LastBox = nullptr;
    std::map<const TSprite*, bool> Exploding;
    std::map<const TSprite*, bool> AtEntry;
    std::map<std::string, int> Created[2];
    int ExpectedScore = 0;
    bool SupplyWasTransported = false;
    bool SupplyWasDestroyed = false;
    int Specials = 0;
    std::uint8_t LastSpecial = Game::SpecialNone;
};

TEST_F(PlayThroughTest, BothSectorsFromTheStartButtonToGameCompletedAndBackToTheMenu) {
    StartFromMenu();
    ASSERT_EQ(Main::AppMode, Main::AppModeGame);
    EXPECT_FALSE(Game::Player->LightShip);
    long leftScreen = 0;
    int finalScore = 0;
    while (Main::AppMode == Main::AppModeGame && FrameNumber < 150000) {
        Play();
        const long double distance = Game::Distance;
        const bool held = Game::SpecialState != Game::SpecialNone;
        Frame();
        if (held && Game::GameRunning()) {
            ASSERT_EQ(Game::Distance, distance) << "frame " << FrameNumber;
        }
        Watch();
        if (Game::GameRunning() && Game::Player->IsExploding()) {
            FAIL() << "the ship was destroyed at frame " << FrameNumber << ": " << Situation();
        }
        if (Game::GameRunning()) {
            finalScore = Main::Score;
            if (!Game::TextPending[Game::TextGameCompleted] && Game::Player->Y + Game::Player->Height <= 0 &&
                leftScreen == 0) {
                leftScreen = FrameNumber;
            }
        }
    }
    PrintFrameFigures();
    ASSERT_EQ(Main::AppMode, Main::AppModeMenu) << Situation();
    const std::vector<std::string> inOrderOfThresholds = {
        "Welcome to the game: Zarvoth Mutador...", "Federation Shuttle", "Federation Defiant", "Cardassian supply ship",
        "Federation Interpid", "Sector1 cleared", "Sector2", "Federation Akira", "Game completed"};
    EXPECT_EQ(Texts, inOrderOfThresholds);
    EXPECT_EQ(Specials, 16);
    std::map<std::string, int> sector1{{typeid(TEnemyShuttle).name(), 314}, {typeid(TEnemyDefiant).name(), 103}};
    std::map<std::string, int> sector2{
        {typeid(TEnemyShuttle).name(), 274}, {typeid(TEnemyDefiant).name(), 49}, {typeid(TEnemyAkira).name(), 36}};
    EXPECT_EQ(Created[0], sector1);
    EXPECT_EQ(Created[1], sector2);
    EXPECT_EQ(finalScore, ExpectedScore);
    EXPECT_GT(finalScore, 5000);
    EXPECT_EQ(Main::BestScore, finalScore);
    EXPECT_TRUE(Main::NewBestScore);
    // Five seconds off the screen, counted in frame times of 16 and 17 ms.
    EXPECT_NEAR(static_cast<double>(FrameNumber - leftScreen), 301, 2);
    EXPECT_LT(P99, 0.8);
    // Now and then a busy machine charges its own work to the thread: a few long frames are noise.
    EXPECT_LE(std::count_if(FrameSeconds.begin(), FrameSeconds.end(), [](double s) { return s > 2e-3; }), 3);
}

TEST_F(PlayThroughTest, AShipLostStartsANewGameFiveSecondsAfterItsExplosionEnds) {
    StartFromMenu();
    // A player who only reads the texts, and is rammed sooner or later. A new game starts with
    // no warm-up frame counted yet.
    long burntOut = 0;
    do {
        if (Game::GameState == Game::StateDialog) Type("\r");
        Frame();
        if (burntOut == 0 && Game::Player->GetHull() <= 0 && Game::Player->FramePos == Sprites::ExplosionEndFrame) {
            burntOut = FrameNumber;
        }
    } while (Game::WarmupFrames > 0 && FrameNumber < 20000);
    ASSERT_NE(burntOut, 0);
    EXPECT_NEAR(static_cast<double>(FrameNumber - burntOut), 301, 2);
    EXPECT_EQ(Main::AppMode, Main::AppModeGame);
    EXPECT_EQ(Main::Score, 0);
    EXPECT_EQ(Game::Distance, 0);
    EXPECT_FALSE(Game::Arrived);
    EXPECT_GT(Main::BestScore, 0);
}

TEST_F(PlayThroughTest, SwitchingAwayPausesTheGameWithItsMenuUntilThePlayerResumes) {
    StartFromMenu();
    while (Game::Distance < 100) {
        if (Game::GameState == Game::StateDialog) Type("\r");
        Frame();
    }
    App.SetActive(false);
    EXPECT_EQ(Window.Caption(), "Zarvoth Mutador 1.0 [Pause]");
    App.SetActive(true);
    EXPECT_EQ(Window.Caption(), "Zarvoth Mutador 1.0");
    const long double distance = Game::Distance;
    const double shipY = Game::Player->Y;
    Input.Press(KeyW);
    for (int i = 0; i < 120; ++i) Frame();
    EXPECT_EQ(Game::GameState, Game::StateMenu);
    EXPECT_EQ(Game::Distance, distance);
    EXPECT_EQ(Game::Player->Y, shipY);
    Type("\x1b");
    for (int i = 0; i < 60; ++i) Frame();
    EXPECT_EQ(Game::GameState, Game::StatePlaying);
    EXPECT_GT(Game::Distance, distance);
    EXPECT_LT(Game::Player->Y, shipY);
}
