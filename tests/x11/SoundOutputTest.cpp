// What a player hears, on a real X display and a real sound server: the program plays through
// a private PulseAudio server whose null sink is recorded, while a game starts from the menu
// with the music on and the phasers fire at the first ships as fast as a player clicks. The
// recording is kept as build/recordings/game-start.wav, for people to listen to.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Main.h"
#include "engine/assets/Stream.h"
#include "engine/sound/Wave.h"
#include "game/Sprites.h"
#include "support/PulseAudioServer.h"
#include "support/X11GameWindow.h"

namespace {

// Started before the window, so that the window's sound device opens on it.
struct PrivateSoundServer {
    PulseAudioServer Server;
};

class X11SoundOutput : protected PrivateSoundServer, public X11GameWindowTest {
protected:
    // A real click through the X server: the game reads the button from the mouse state.
    void ClickAt(int x, int y) {
        const auto [sx, sy] = WindowPoint(x, y);
        const std::string command = "xdotool mousemove " + std::to_string(sx) + " " + std::to_string(sy) + " click 1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        Pump(std::chrono::milliseconds(100));
    }

    // Writes 16-bit stereo samples as build/recordings/NAME.wav.
    static void KeepRecording(const std::vector<std::int16_t>& samples, const std::string& name) {
        std::vector<std::uint8_t> bytes(samples.size() * sizeof(std::int16_t));
        std::memcpy(bytes.data(), samples.data(), bytes.size());
        TWave wave;
        wave.SetPCM(PulseAudioServer::Rate, 16, 2, bytes);
        TMemoryStream image;
        wave.SaveToStream(image);
        const std::filesystem::path folder = std::filesystem::path(ZARVOTH_BUILD_DIR) / "recordings";
        std::filesystem::create_directories(folder);
        SaveFileBytes((folder / (name + ".wav")).string(), image.Data());
    }

    // The nearest ship ahead of the player's emitters that is not exploding yet.
    const TEnemy* Target() {
        const TEnemy* target = nullptr;
        TSpriteEngine& root = Form->DXSpriteEngine1->Engine();
        for (int i = 0; i < root.Count(); ++i) {
            const auto* enemy = dynamic_cast<const TEnemy*>(root.Items(i));
            if (enemy == nullptr || enemy->IsExploding() || enemy->Y < 0 ||
                enemy->Y + enemy->Height / 2 > Game::Player->Y - 40) {
                continue;
            }
            if (target == nullptr || enemy->Y > target->Y) target = enemy;
        }
        return target;
    }
};

}  // namespace

TEST_F(X11SoundOutput, AGameStartWithMusicAndPhaserFireNeverReachesFullScale) {
    ASSERT_TRUE(Server.Running()) << "pulseaudio did not answer: " << Server.Log();
    ASSERT_TRUE(Sound->IsOpen()) << "the sound device opened on the private server";
    ASSERT_TRUE(Server.StartRecording());
    Pump(std::chrono::milliseconds(500));
    ClickAt(100, 190);  // new game
    ClickAt(380, 158);  // the heavy ship
    ClickAt(640, 548);  // start
    ASSERT_EQ(Main::AppMode, Main::AppModeGame);

    int shots = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end && Game::GameRunning()) {
        const TEnemy* target = Game::GameState == Game::StatePlaying ? Target() : nullptr;
        if (target != nullptr) {
            ClickAt(static_cast<int>(target->X + target->Width / 2), static_cast<int>(target->Y + target->Height / 2));
            ++shots;
            continue;
        }
        if (Game::GameState == Game::StateDialog) Form->FormKeyPress('\r');
        Pump(std::chrono::milliseconds(100));
    }
    const int score = Main::Score;
    const std::vector<std::int16_t> recording = Server.StopRecording();
    KeepRecording(recording, "game-start");
    const RecordedLevels levels(recording);
    const double seconds = static_cast<double>(levels.Samples) / 2 / PulseAudioServer::Rate;
    std::printf("recorded %.1f s: peak %.2f dBFS, %zu of %zu samples at full scale (%.3f%%); %d shots, score %d\n",
                seconds, levels.PeakDecibels(), levels.AtFullScale, levels.Samples,
                100.0 * static_cast<double>(levels.AtFullScale) / static_cast<double>(levels.Samples), shots, score);

    EXPECT_GT(seconds, 25.0);
    EXPECT_GT(shots, 10) << "the phasers fired";
    EXPECT_GT(score, 0) << "ships exploded";
    EXPECT_GT(levels.PeakDecibels(), -20.0) << "the game was heard";
    EXPECT_EQ(levels.AtFullScale, 0u);
    EXPECT_LT(levels.PeakDecibels(), -0.3);
}
