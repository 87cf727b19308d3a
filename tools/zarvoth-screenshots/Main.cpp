// zarvoth-screenshots: the pictures a software centre shows of the game, taken from the real
// game. It runs the main window headless (SDL's dummy drivers) on a stepped 60 Hz clock in a
// scratch folder whose Data links to the generated data files, plays through the window's own
// handlers as a player would, and writes the back surface as PNG files: the start menu, the
// options screen and a battle. Same data, same pictures: the random generator is seeded.
// Usage: zarvoth-screenshots DATA_FOLDER OUTPUT_FOLDER. Depends on the game and the platform.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Main.h"
#include "game/Menu.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/ImageFile.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"

namespace {

namespace fs = std::filesystem;

constexpr int BattleFrames = 60 * 60;

// Nothing held on the keyboard; the left button down while a click is on its way.
class PlayerHands final : public platform::InputDevice {
public:
    bool ReadKeyboard(platform::ScanCodeState& state) override {
        state = {};
        return true;
    }
    bool ReadMouse(platform::MouseReading& reading) override {
        reading = {};
        reading.Buttons[0] = Pressing ? 0x80 : 0;
        return true;
    }
    bool IsForeground() const override { return true; }

    bool Pressing = false;
};

// A folder that is removed with everything in it.
struct ScratchFolder {
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "zarvoth-screenshots-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder can be made");
        Path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(Path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    fs::path Path;
};

class Photographer {
public:
    explicit Photographer(fs::path output) : FOutput(std::move(output)) {
        platform::SetClockSource(std::ref(FClock));
        FApplication.SetActive(true);
        std::string error;
        if (!FWindow.Create("Zarvoth Mutador", 800, 600, error)) throw std::runtime_error(error);
        FForm = std::make_unique<TForm1>(FWindow, FApplication, TFormDevices{FSound.get(), &FHands, &FWindow});
        // Nobody watches these frames: they need not wait for the screen.
        Menu::SetVSynch(false);
    }
    ~Photographer() {
        FForm.reset();
        platform::SetClockSource(nullptr);
    }
    Photographer(const Photographer&) = delete;
    Photographer& operator=(const Photographer&) = delete;

    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            ++FFrame;
            FClock.Advance(static_cast<std::uint32_t>(FFrame * 1000 / 60 - (FFrame - 1) * 1000 / 60));
            FApplication.ProcessMessagesAndIdle(FWindow, FForm->Events());
        }
    }
    // The pointer is moved as a player moves it: the window reports the motion, and the game
    // draws its cursor there.
    void Point(int x, int y) {
        FWindow.MovePointer(x, y);
        FApplication.ProcessMessagesAndIdle(FWindow, FForm->Events());
    }
    void Click(int x, int y) {
        Point(x, y);
        FHands.Pressing = true;
        FForm->DXDraw1MouseDown(platform::MouseButton::Left, platform::ssLeft, x, y);
        FForm->DXDraw1MouseUp(platform::MouseButton::Left, platform::ssLeft, x, y);
    }
    void Release() { FHands.Pressing = false; }

    platform::RgbImage Picture() { return platform::FrameImage(FForm->DXDraw1->Surface()->Buffer()); }
    void Save(const std::string& name) { Save(name, Picture()); }
    void Save(const std::string& name, const platform::RgbImage& picture) {
        std::string error;
        const fs::path file = FOutput / (name + ".png");
        if (!platform::SavePng(file.string(), picture, error)) throw std::runtime_error(file.string() + ": " + error);
    }

    // A minute's flight from the start of a game, reading the mission texts and firing at the
    // ship nearest ahead whenever the phasers are full. The picture is the frame of a shot with
    // the most ships in view while one of them burns.
    platform::RgbImage Battle() {
        platform::RgbImage best;
        long bestInView = -1;
        for (int frame = 0; frame < BattleFrames; ++frame) {
            Release();
            if (Game::GameState == Game::StateDialog) {
                FForm->FormKeyPress('\r');
            }
            const TEnemy* target = Target(Enemies());
            const bool shooting = target != nullptr && Game::Player->PhaserEnergy >= 85;
            if (shooting) {
                Click(static_cast<int>(target->X + target->Width / 2), static_cast<int>(target->Y + target->Height / 2));
            }
            Frames(1);
            const std::vector<TEnemy*> enemies = Enemies();
            const long inView = std::count_if(enemies.begin(), enemies.end(), [](const TEnemy* e) { return e->Y >= 10; });
            const bool burning = std::any_of(enemies.begin(), enemies.end(), [](const TEnemy* e) { return e->IsExploding(); });
            if (shooting && burning && inView > bestInView) {
                bestInView = inView;
                best = Picture();
            }
        }
        return bestInView < 0 ? Picture() : best;
    }

private:
    std::vector<TEnemy*> Enemies() {
        std::vector<TEnemy*> found;
        TSpriteEngine& root = FForm->DXSpriteEngine1->Engine();
        for (int i = 0; i < root.Count(); ++i) {
            auto* enemy = dynamic_cast<TEnemy*>(root.Items(i));
            if (enemy != nullptr && enemy->Y + enemy->Height > 0) found.push_back(enemy);
        }
        return found;
    }
    const TEnemy* Target(const std::vector<TEnemy*>& enemies) const {
        const TPlayer& ship = *Game::Player;
        const TEnemy* nearest = nullptr;
        for (const TEnemy* enemy : enemies) {
            if (!enemy->IsExploding() && enemy->Y + enemy->Height < ship.Y && (nearest == nullptr || enemy->Y > nearest->Y)) {
                nearest = enemy;
            }
        }
        return nearest;
    }

    fs::path FOutput;
    platform::SteppedClock FClock{100000};
    platform::Application& FApplication = platform::Application::Instance();
    platform::SdlWindow FWindow;
    std::unique_ptr<platform::SoundDevice> FSound = platform::CreateSystemSoundDevice();
    PlayerHands FHands;
    std::unique_ptr<TForm1> FForm;
    long FFrame = 0;
};

void TakeScreenshots(const fs::path& output) {
    Random::SetSeed(20261208);
    Photographer game(output);
    game.Frames(10);
    game.Point(165, 199);  // over "new game": its lamp lights
    game.Frames(2);
    game.Save("menu");
    game.Click(230, 262);  // options
    for (int step = 0; step < 4; ++step) {
        game.Click(304, 187);  // music's "-": down to 60 %
    }
    game.Release();
    game.Point(540, 250);
    game.Frames(2);
    game.Save("options");
    game.Click(100, 560);  // back
    game.Click(100, 190);  // new game
    game.Click(640, 548);  // start
    game.Release();
    game.Frames(2);
    game.Save("battle", game.Battle());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zarvoth-screenshots DATA_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    try {
        const fs::path data = fs::absolute(argv[1]);
        const fs::path output = fs::absolute(argv[2]);
        fs::create_directories(output);
        const ScratchFolder scratch;
        // The data files are linked one by one, so what the game writes stays in the scratch folder.
        fs::create_directory(scratch.Path / "Data");
        for (const auto& file : fs::directory_iterator(data)) {
            fs::create_symlink(file.path(), scratch.Path / "Data" / file.path().filename());
        }
        fs::current_path(scratch.Path);
        TakeScreenshots(output);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zarvoth-screenshots: %s\n", failure.what());
        return 1;
    }
    return 0;
}
