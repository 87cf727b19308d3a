// Whole games played by the honest player (HonestPlayer): five with each ship, each on its own
// seed, from the start button to "Game completed" or to the ship's end. One line per game; where
// the ships were hit and lost goes to build/honest-player/light.txt and heavy.txt, for the waves
// chart (`zarvoth-waves chart FILE.png build/honest-player/*.txt`). ZARVOTH_HONEST_SEEDS (a list
// such as "11,12,13") plays other seeds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Main.h"
#include "game/MissionTexts.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "support/GameWindow.h"
#include "tests/playthrough/HonestPlayer.h"

namespace {

constexpr long FrameLimit = 200000;  // 55 minutes of game time: a game stuck somewhere ends here

std::vector<std::uint32_t> Seeds(std::vector<std::uint32_t> fallback) {
    const char* chosen = std::getenv("ZARVOTH_HONEST_SEEDS");
    if (chosen == nullptr || *chosen == '\0') return fallback;
    std::vector<std::uint32_t> seeds;
    std::istringstream in(chosen);
    for (std::string item; std::getline(in, item, ',');) seeds.push_back(static_cast<std::uint32_t>(std::stoul(item)));
    return seeds;
}

struct Outcome {
    bool Completed = false;
    bool Lost = false;
    long Distance = 0;
    int Score = 0;
    // Where the hull fell, and where the ship was lost: "hit DISTANCE X DAMAGE" and
    // "died DISTANCE X" lines, x being the middle of the ship.
    std::string Events;
};

}  // namespace

class HonestPlayThroughTest : public GameWindowTest {
protected:
    HonestPlayThroughTest() { Screen = &QuietScreen; }

    // A fresh main window whose clock and random generator start from the seed: the game's
    // randomness (where cruisers and supply ships come in) follows from it.
    void OpenFor(std::uint32_t seed) {
        Form.reset();
        Main::Routes() = Main::DefaultRoutes();
        App.Reset();
        App.SetActive(true);
        Clock.Set(100000 + seed);
        Random::SetSeed(seed);
        Main::ResetFrameRate();
        FrameNumber = 0;
        Open();
    }

    void Frame() {
        ++FrameNumber;
        Clock.Advance(static_cast<std::uint32_t>(FrameNumber * 1000 / 60 - (FrameNumber - 1) * 1000 / 60));
        App.ProcessMessagesAndIdle(Window, Form->Events());
    }

    // New game, the ship's box ticked as wanted, start.
    void StartFromMenu(bool light) {
        Click(100, 190);
        Frame();
        if (Main::ShipChoice == light) Click(380, 158);
        Frame();
        Click(640, 548);
        Frame();
    }

    Outcome Play(bool light, std::uint32_t seed) {
        OpenFor(seed);
        honest::HonestPlayer player({[this](int x, int y) { Click(x, y); }, [this](char key) { Type(std::string(1, key)); },
                                     [this](std::uint8_t key, bool held) {
                                         if (held) Input.Press(key); else Input.Release(key);
                                     }},
                                    light);
        StartFromMenu(light);
        Outcome outcome;
        bool finalText = false;
        int hull = Game::Player->GetHull();
        while (FrameNumber < FrameLimit) {
            player.Frame(Clock());
            Frame();
            if (Main::AppMode != Main::AppModeGame) {
                outcome.Completed = finalText;
                break;
            }
            finalText = !Game::TextPending[Game::TextGameCompleted];
            outcome.Distance = static_cast<long>(Game::Distance);
            outcome.Score = Main::Score;
            const auto place = [&] {
                return std::to_string(outcome.Distance) + " " + std::to_string(std::lround(Game::Player->X + Game::Player->Width / 2.0));
            };
            if (Game::Player->GetHull() < hull) {
                outcome.Events += "hit " + place() + " " + std::to_string(hull - Game::Player->GetHull()) + "\n";
            }
            hull = Game::Player->GetHull();
            if (Game::Player->IsExploding()) {
                outcome.Events += "died " + place() + "\n";
                outcome.Lost = true;
                break;
            }
        }
        return outcome;
    }

    // Plays the seeds with one ship, prints a line per game and writes where its ships were hit
    // and lost; returns the games completed.
    int PlayAll(bool light, const std::vector<std::uint32_t>& seeds) {
        const std::string ship = light ? "light" : "heavy";
        const std::filesystem::path folder = std::filesystem::path(ZARVOTH_BIN_DIR) / ".." / "honest-player";
        std::filesystem::create_directories(folder);
        std::ofstream events(folder / (ship + ".txt"));
        events << "# where the honest player's " << ship << " ship was hit (hit DISTANCE X DAMAGE) and lost (died DISTANCE X)\n";
        int completed = 0;
        for (const std::uint32_t seed : seeds) {
            const Outcome outcome = Play(light, seed);
            if (outcome.Completed) {
                ++completed;
                std::printf("honest player %s seed %u: completed, score %d\n", ship.c_str(), seed, outcome.Score);
            } else {
                std::printf("honest player %s seed %u: %s at distance %ld, score %d\n", ship.c_str(), seed,
                            outcome.Lost ? "died" : "stopped without an end", outcome.Distance, outcome.Score);
            }
            std::fflush(stdout);
            events << "# seed " << seed << '\n' << outcome.Events;
        }
        return completed;
    }

    long FrameNumber = 0;
};

TEST_F(HonestPlayThroughTest, TheLightShipCompletesBothSectorsInThreeOfFiveGames) {
    EXPECT_GE(PlayAll(true, Seeds({1, 2, 3, 4, 5})), 3);
}

TEST_F(HonestPlayThroughTest, TheHeavyShipCompletesBothSectorsInThreeOfFiveGames) {
    EXPECT_GE(PlayAll(false, Seeds({6, 7, 8, 9, 10})), 3);
}
