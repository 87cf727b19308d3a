// A whole game played with a gamepad alone: SDL's virtual controller on the headless window, the
// real frame loop on a stepped 60 Hz clock, the random generator seeded. The player reads the
// screen (the game's state) and answers only through the pad's sticks, triggers and buttons —
// from the start menu to "Game completed" and back to the menu, without a key or a click.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/input/DXInput.h"
#include "game/Commands.h"
#include "game/Game.h"
#include "game/Gamepad.h"
#include "game/Menu.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "platform/InputDevices.h"
#include "support/GameWindow.h"
#include "support/VirtualGamepad.h"

namespace {

using namespace Game;

constexpr int FramesPerSecond = 60;

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
TPoint Centre(const TSprite& s) { return {static_cast<int>(s.X + s.Width / 2), static_cast<int>(s.Y + s.Height / 2)}; }

// A stick's raw value that the joystick reads as `share` (-1 to 1) of its range, past its dead
// zone of 50 of 1000.
Sint16 StickFor(double share) {
    if (share == 0) return 0;
    const double raw = (std::min(std::abs(share), 1.0) * 950 + 50) / 1000 * 32767;
    return static_cast<Sint16>(std::copysign(raw, share));
}

bool Dangerous(const TEnemy& enemy) {
    return dynamic_cast<const TEnemyShuttle*>(&enemy) == nullptr && !enemy.IsExploding();
}

class GamepadPlayThroughTest : public GameWindowTest {
protected:
    GamepadPlayThroughTest() {
        Random::SetSeed(20240601);
        Screen = &QuietScreen;
        Form = std::make_unique<TForm1>(Window, App, TFormDevices{Sound.get(), &SdlInput, Screen});
        // The headless window never has the keyboard focus; the component reads the pad anyway.
        Form->DXInput1->ActiveOnly = false;
        Pad.emplace();
    }
    ~GamepadPlayThroughTest() override {
        Pad.reset();
        Form.reset();
    }

    void Frame() {
        ++FrameNumber;
        const float energy = GameRunning() ? Player->PhaserEnergy : 0;
        Clock.Advance(static_cast<std::uint32_t>(FrameNumber * 1000 / FramesPerSecond -
                                                 (FrameNumber - 1) * 1000 / FramesPerSecond));
        App.ProcessMessagesAndIdle(Window, Form->Events());
        if (!GameRunning()) return;
        // A shot spends 10, a frame's recharge gives back less than 1.
        if (Player->PhaserEnergy < energy - 5) ++PhaserShots;
        if (GameState != StateDialog && DialogOpen) {
            DialogOpen = false;
            (DialogKind == DialogMissionText ? TextFrames : TypingFrames).push_back(FrameNumber - OpenedAt);
        }
    }

    // A button goes down for one frame and comes up in the next; one tap every other frame.
    void Tap(SDL_GameControllerButton button) {
        if (Tapped || JustReleased) return;
        Pad->Button(button, true);
        Tapped = button;
        ++Presses;
    }
    void ReleaseTap() {
        JustReleased = Tapped.has_value();
        if (Tapped) Pad->Button(*Tapped, false);
        Tapped.reset();
    }

    // Pushes the right stick so that the pointer reaches the point, as far as a frame's glide
    // allows; true once it is there.
    bool PointTo(TPoint to) {
        const TPoint at = Form->PointerPosition();
        const double dx = to.X - at.X;
        const double dy = to.Y - at.Y;
        const double distance = std::hypot(dx, dy);
        if (distance < 1.5) {
            Pad->Stick(SDL_CONTROLLER_AXIS_RIGHTX, 0);
            Pad->Stick(SDL_CONTROLLER_AXIS_RIGHTY, 0);
            return true;
        }
        // The pointer goes push² × top speed: the push that covers the distance in one frame.
        const double push = std::min(1.0, std::sqrt(distance * FramesPerSecond / Gamepad::PointerTopSpeed));
        Pad->Stick(SDL_CONTROLLER_AXIS_RIGHTX, StickFor(dx / distance * push));
        Pad->Stick(SDL_CONTROLLER_AXIS_RIGHTY, StickFor(dy / distance * push));
        return false;
    }

    void ClickOn(TPoint point) {
        if (PointTo(point)) Tap(SDL_CONTROLLER_BUTTON_A);
    }

    void Fire(bool held) { Pad->Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, held ? 1.0 : 0.0); }

    // The menu: new game, the heavy ship, start.
    void PlayMenu() {
        if (Menu::MenuScreen == Menu::ScreenMain) {
            ClickOn({110, 192});
        } else if (Menu::MenuScreen == Menu::ScreenNewGame) {
            ClickOn(Main::ShipChoice ? TPoint{640, 548} : TPoint{381, 158});
        }
    }

    // Types the number with the direction pad and enters it with A.
    void TypeNumber(const std::string& number) {
        const std::string& typed = GameBox->EditLine().Text;
        const std::size_t k = typed.size();
        if (typed == number) {
            Tap(SDL_CONTROLLER_BUTTON_A);
        } else if (k > number.size() || (k > 0 && typed.compare(0, k - 1, number, 0, k - 1) != 0)) {
            Tap(SDL_CONTROLLER_BUTTON_B);
        } else if (k > 0 && typed[k - 1] == number[k - 1]) {
            Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        } else {
            const int want = number[k == 0 ? 0 : k - 1] - '0';
            const int have = k == 0 ? 0 : typed[k - 1] - '0';
            Tap((want - have + 10) % 10 <= 5 ? SDL_CONTROLLER_BUTTON_DPAD_UP : SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        }
    }

    void AnswerDialog() {
        Fire(false);
        Pad->Stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
        if (!DialogOpen) {
            DialogOpen = true;
            OpenedAt = FrameNumber;
            Answer = DialogKind == DialogTorpedo ? std::to_string(AngleTo(TorpedoTarget)) : TransportDistance();
            if (DialogKind == DialogMissionText) Texts.push_back(GameBox->Lines().front().Text);
        }
        if (!GameBox->HasEditLine()) {
            ClickOn(Centre(GameBox->OkButton().Bounds()));
        } else {
            TypeNumber(Answer);
        }
    }

    // The distance in cells between the two positions the dialog shows.
    std::string TransportDistance() {
        TPoint own{}, supply{};
        for (const TLine& line : GameBox->Lines()) {
            std::sscanf(line.Text.c_str(), "Your position: [%d;%d]", &own.X, &own.Y);
            std::sscanf(line.Text.c_str(), "Supply ship position: [%d;%d]", &supply.X, &supply.Y);
        }
        return std::to_string(std::lround(std::hypot(supply.X - own.X, supply.Y - own.Y)));
    }

    // The angle in degrees from the ship's centre to where a ship coming down will be when a
    // torpedo at 120 px/s meets it; straight up without a target.
    int AngleTo(const TEnemy* target) {
        const auto enemies = Enemies();
        if (target == nullptr || std::find(enemies.begin(), enemies.end(), target) == enemies.end()) return 90;
        const TPoint ship = Centre(*Player);
        const TPoint aim = Centre(*target);
        const double descent = target == SpecialEnemy ? 0 : target->Speed;
        const double dx = aim.X - ship.X;
        const double dy = aim.Y - ship.Y + descent * std::hypot(aim.X - ship.X, aim.Y - ship.Y) / 120;
        const long degrees = std::lround(std::atan2(dy, dx) * 180 / M_PI) + 180;
        return static_cast<int>((degrees % 360 + 360) % 360);
    }

    std::vector<TEnemy*> Enemies() { return SpritesOf<TEnemy>(); }

    // Where an enemy's left edge will be after `seconds`: Defiants drift away from the centre
    // line at a third of their speed, Akiras out to the quarter lines; shuttles keep their line.
    static double LeftEdgeAfter(const TEnemy& enemy, double seconds) {
        const double centre = 400 - enemy.Width / 2.0;
        const double away = enemy.X < centre ? -1 : enemy.X > centre ? 1 : 0;
        if (dynamic_cast<const TEnemyDefiant*>(&enemy)) return enemy.X + away * enemy.Speed / 3 * seconds;
        if (dynamic_cast<const TEnemyAkira*>(&enemy)) {
            const double quarter = away < 0 ? 200 - enemy.Width / 2.0 : 600 - enemy.Width / 2.0;
            const double moved = enemy.X + away * enemy.Speed / 2.8 * seconds;
            return away < 0 ? std::max(std::min(enemy.X, quarter), moved) : std::max(enemy.X, std::min(quarter, moved));
        }
        return enemy.X;
    }

    // How bad a place the column from `left` is: every ship that will come down through it, the
    // nearer the worse; a dangerous one counts five times a shuttle.
    double Danger(double left, const std::vector<TEnemy*>& enemies) {
        const double width = Player->Width;
        double danger = 0;
        for (const TEnemy* enemy : enemies) {
            if (enemy->IsExploding() || enemy == SpecialEnemy) continue;
            const double gap = Player->Y - (enemy->Y + enemy->Height);
            if (gap > 450 || gap < -Player->Height - enemy->Height) continue;
            const double x = LeftEdgeAfter(*enemy, std::max(gap, 0.0) / std::max(enemy->Speed, 1.0f));
            if (x > left + width + 15 || x + enemy->Width < left - 15) continue;
            danger += (Dangerous(*enemy) ? 5.0 : 1.0) * 100 / (std::max(gap, 0.0) + 30);
        }
        return danger;
    }

    // Along the bottom edge, towards the safest column within reach.
    void Steer() {
        const auto enemies = Enemies();
        double best = Player->X;
        double bestCost = 1e9;
        for (double left = 1; left <= 800 - Player->Width; left += 5) {
            const double cost = Danger(left, enemies) + Danger((left + Player->X) / 2, enemies) / 2 +
                                std::abs(left - Player->X) * 0.002;
            if (cost < bestCost) {
                bestCost = cost;
                best = left;
            }
        }
        const double dx = best - Player->X;
        Pad->Stick(SDL_CONTROLLER_AXIS_LEFTX, std::abs(dx) < 3 ? 0 : dx < 0 ? -32768 : 32767);
        Pad->Stick(SDL_CONTROLLER_AXIS_LEFTY, Player->Y < 540 - Player->Height - 3 ? 32767 : 0);
    }

    // Whether the ship comes down through the player's column.
    bool InTheWay(const TEnemy& enemy) {
        const double gap = Player->Y - (enemy.Y + enemy.Height);
        const double x = LeftEdgeAfter(enemy, std::max(gap, 0.0) / std::max(enemy.Speed, 1.0f));
        return x < Player->X + Player->Width + 10 && x + enemy.Width > Player->X - 10;
    }

    // The ship most worth a shot: the nearest of those in the way first, then the dangerous
    // ones, then the nearest. A point on the supply ship or in the menu button's corner is no
    // place to fire at.
    TEnemy* Target() {
        TEnemy* best = nullptr;
        double bestRank = 1e18;
        const TPoint ship = Centre(*Player);
        for (TEnemy* enemy : Enemies()) {
            const TPoint aim = Centre(*enemy);
            if (enemy->IsExploding() || aim.Y < 5 || aim.Y > Player->Y - 30 || !IsPhaserClick(aim)) continue;
            if (SupplyShip != nullptr && PtInRect(SupplyShip->GetBounds(), aim)) continue;
            const double gap = Player->Y - (enemy->Y + enemy->Height);
            const double rank = InTheWay(*enemy) ? gap
                                : Dangerous(*enemy) ? 1000 + gap
                                                    : 3000 + std::hypot(aim.X - ship.X, aim.Y - ship.Y);
            if (rank < bestRank) {
                bestRank = rank;
                best = enemy;
            }
        }
        return best;
    }

    void PlayGame() {
        // The player keeps the ship alive; everything else is the pad.
        Player->RepairHull();
        if (GameState == StateDialog) return AnswerDialog();
        if (GameState == StateMenu) return Tap(SDL_CONTROLLER_BUTTON_START);
        if (WarpReady) {
            Fire(false);
            return ClickOn(Centre(WarpButton->Bounds()));
        }
        Steer();
        const bool cruiserWaits = SpecialState == SpecialCruiser && SpecialEnemy->Y > SpecialEnemy->StopY &&
                                  !SpecialEnemy->IsExploding();
        if (cruiserWaits && FrameNumber >= NextTorpedo && Player->GetTorpedoes() > 0 &&
            TorpedoesInFlight() * 10000 < SpecialEnemy->GetHull()) {
            TorpedoTarget = SpecialEnemy;
            NextTorpedo = FrameNumber + 20;
            return Tap(SDL_CONTROLLER_BUTTON_Y);
        }
        if (SpecialState == SpecialSupply && SupplyShip->IsInPosition() && !SupplyShip->Transported) {
            return Tap(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
        }
        TEnemy* target = Target();
        if (target == nullptr && cruiserWaits) target = SpecialEnemy;
        if (target == nullptr) return Fire(false);
        const double gap = Player->Y - (target->Y + target->Height);
        if (target != SpecialEnemy && InTheWay(*target) && gap < 250 && FrameNumber >= NextTorpedo &&
            Player->GetTorpedoes() > (Distance > 23000 ? 18 : 12) && SpecialState == SpecialNone) {
            TorpedoTarget = target;
            NextTorpedo = FrameNumber + 40;
            return Tap(SDL_CONTROLLER_BUTTON_Y);
        }
        // The pointer leads the ship by a frame's descent; the trigger is held while it is on it.
        TPoint aim = Centre(*target);
        aim.Y += static_cast<int>(target->Speed / FramesPerSecond);
        PointTo(aim);
        const TRect bounds = target->GetBounds();
        const TRect onTarget{bounds.Left + 4, bounds.Top + 4, bounds.Right - 4, bounds.Bottom - 4};
        Fire(PtInRect(onTarget, Form->PointerPosition()));
    }

    int TorpedoesInFlight() {
        int count = 0;
        TSpriteEngine& root = Form->DXSpriteEngine1->Engine();
        for (int i = 0; i < root.Count(); ++i) count += dynamic_cast<TPlayerPhotonTorpedo*>(root.Items(i)) != nullptr;
        return count;
    }

    void Play() {
        ReleaseTap();
        if (Main::AppMode == Main::AppModeMenu) {
            PlayMenu();
        } else if (Main::AppMode == Main::AppModeGame && GameRunning()) {
            PlayGame();
        }
        JustReleased = false;
    }

    static double Mean(const std::vector<long>& frames) {
        double sum = 0;
        for (const long f : frames) sum += static_cast<double>(f);
        return frames.empty() ? 0 : sum / static_cast<double>(frames.size()) / FramesPerSecond;
    }

    platform::SdlInputDevice SdlInput;
    std::optional<VirtualGamepad> Pad;
    long FrameNumber = 0;
    std::optional<SDL_GameControllerButton> Tapped;
    bool JustReleased = false;
    int Presses = 0;
    int PhaserShots = 0;
    long NextTorpedo = 0;
    const TEnemy* TorpedoTarget = nullptr;
    bool DialogOpen = false;
    long OpenedAt = 0;
    std::string Answer;
    std::vector<std::string> Texts;
    std::vector<long> TextFrames;
    std::vector<long> TypingFrames;
};

TEST_F(GamepadPlayThroughTest, FromTheMenuToGameCompletedWithThePadAlone) {
    long started = 0;
    bool playing = false;
    int specials = 0;
    std::uint8_t lastSpecial = SpecialNone;
    int finalScore = 0;
    while (FrameNumber < 150000 && !(playing && Main::AppMode == Main::AppModeMenu)) {
        Play();
        Frame();
        if (!playing && Main::AppMode == Main::AppModeGame) {
            playing = true;
            started = FrameNumber;
        }
        if (!GameRunning()) continue;
        ASSERT_FALSE(Player->IsExploding()) << "frame " << FrameNumber << ", distance " << static_cast<double>(Distance);
        if (SpecialState != SpecialNone && lastSpecial == SpecialNone) ++specials;
        lastSpecial = SpecialState;
        finalScore = Main::Score;
    }
    std::printf("pad play: menu to game %.1f s, game %.0f s, %d presses, %d phaser shots, %zu dialogs typed in %.2f s "
                "on average, %zu texts closed in %.2f s on average\n",
                static_cast<double>(started) / FramesPerSecond,
                static_cast<double>(FrameNumber - started) / FramesPerSecond, Presses, PhaserShots, TypingFrames.size(),
                Mean(TypingFrames), TextFrames.size(), Mean(TextFrames));
    ASSERT_EQ(Main::AppMode, Main::AppModeMenu) << "distance " << static_cast<double>(Distance);
    const std::vector<std::string> shown = {
        "Welcome to the game: Zarvoth Mutador...", "Federation Shuttle", "Federation Defiant", "Cardassian supply ship",
        "Federation Interpid", "Sector1 cleared", "Sector2", "Federation Akira", "Game completed"};
    EXPECT_EQ(Texts, shown);
    EXPECT_EQ(specials, 16);
    EXPECT_GT(TypingFrames.size(), 10u) << "torpedo and transport answers typed with the direction pad";
    EXPECT_GT(PhaserShots, 500);
    EXPECT_GT(finalScore, 5000);
    EXPECT_EQ(Main::BestScore, finalScore);
}

}  // namespace
