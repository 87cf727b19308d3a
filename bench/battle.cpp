// Battle benchmark: whole move-and-draw passes of a heavy battle through the real sprite engine
// onto the 800 x 600 RGB565 back surface of the main window (SDL's dummy drivers, the generated
// game graphics): the star field, the heavy ship firing its phaser every frame, 120 enemies of
// every kind firing, 60 torpedoes in flight, a cruiser's beam and 10 explosions. Compared with SDL
// doing the same picture work: a keyed SDL_BlitSurface of every sprite's frame and every star.
// Targets: the pass at most 1.5 times SDL's blits, and under 0.6 ms of CPU.
// With --picture FILE it writes instead a still of every sprite in its states (both player ships
// normal, cloaked and shielded, each with a phaser shot; every enemy kind banking; the cruiser's
// beam; torpedoes at eight angles; explosions at several frames; the supply ship) as a PNG.
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Ratios.h"
#include "bench/SdlViews.h"
#include "engine/images/PictureCollection.h"
#include "game/Main.h"
#include "game/Random.h"
#include "game/Sprites.h"
#include "platform/Application.h"
#include "platform/ImageFile.h"
#include "platform/InputDevices.h"
#include "platform/SdlAudioOutput.h"
#include "platform/SdlWindow.h"

namespace {

using namespace Sprites;

constexpr float FrameSeconds = 1.0f / 60.0f;
constexpr int FrameLag = 16;
constexpr std::size_t Enemies = 120;
constexpr std::size_t Torpedoes = 60;
constexpr int Explosions = 10;

// The main window as the game runs it, started in the build's run folder (its Data/ holds the
// generated files), with the game graphics loaded and the sound off.
class GameWindow {
public:
    explicit GameWindow(const std::filesystem::path& runFolder) {
        std::filesystem::current_path(runFolder);
        FApp.SetActive(true);
        std::string error;
        if (!FWindow.Create("Zarvoth Mutador", 800, 600, error)) {
            throw std::runtime_error(error);
        }
        FForm = std::make_unique<TForm1>(FWindow, FApp, TFormDevices{FSound.get(), &FInput});
        FForm->DXImageList1->Items().LoadFromFile("Data/GGraphics.dxg");
        Main::SoundOn = false;
    }

    TSpriteEngine& Root() { return FForm->DXSpriteEngine1->Engine(); }
    TDirectDrawSurface& Surface() { return *FForm->DXDraw1->Surface(); }

    void Move(float frameTime) {
        Main::FrameTime = frameTime;
        FForm->DXSpriteEngine1->Move(FrameLag);
        FForm->DXSpriteEngine1->FreeDead();
    }
    void Draw() { FForm->DXSpriteEngine1->Draw(); }

private:
    platform::Application& FApp = platform::Application::Instance();
    platform::SdlWindow FWindow;
    std::unique_ptr<platform::SoundDevice> FSound = platform::CreateSystemSoundDevice();
    platform::SdlInputDevice FInput;
    std::unique_ptr<TForm1> FForm;
};

template <class T>
T& Place(TSpriteEngine& root, double x, double y) {
    auto* sprite = new T(&root);
    sprite->X = x;
    sprite->Y = y;
    return *sprite;
}

TEnemy& NewEnemy(TSpriteEngine& root, int kind) {
    const double x = Random::Next(740);
    const double y = Random::Next(300) - 20;
    switch (kind % 3) {
        case 0: return Place<TEnemyShuttle>(root, x, y);
        case 1: return Place<TEnemyDefiant>(root, x, y);
        default: return Place<TEnemyAkira>(root, x, y);
    }
}

// A battle that keeps its strength: after each move the fallen and the departed are replaced,
// ships are set alight until ten burn, and the player keeps sixty torpedoes in the air (its own
// do no damage, so that the explosions stay ten). The player cannot die.
class Battle {
public:
    explicit Battle(GameWindow& game) : FGame(game) {
        TSpriteEngine& root = game.Root();
        Random::SetSeed(1);
        FPlayer = &Place<TPlayer>(root, 0, 0);
        FPlayer->SetShipType(false);
        FPlayer->X = 360;
        FPlayer->Y = 440;
        FPlayer->TorpedoDamage = 0;
        new TBackground(&root);
        FCruiser = &Place<TEnemyInterpid>(root, 340, 30);
        Upkeep();
    }

    void Pass() {
        FGame.Move(FrameSeconds);
        Upkeep();
        FGame.Draw();
    }

    int SpriteCount() { return FGame.Root().SpriteCount(); }
    int DrawnCount() { return FGame.Root().DrawnCount(); }

private:
    void Upkeep() {
        TSpriteEngine& root = FGame.Root();
        FLive.clear();
        FTorpedoes.clear();
        int burning = 0;
        for (int i = 0; i < root.Count(); ++i) {
            TSprite* sprite = root.Items(i);
            if (sprite->IsDead() || sprite == FCruiser) {
                continue;
            }
            if (auto* enemy = dynamic_cast<TEnemy*>(sprite); enemy != nullptr && enemy->IsExploding()) {
                ++burning;
            } else if (enemy != nullptr) {
                FLive.push_back(enemy);
            } else if (dynamic_cast<TPlayerPhotonTorpedo*>(sprite) || dynamic_cast<TEnemyPhotonTorpedo*>(sprite)) {
                FTorpedoes.push_back(sprite);
            }
        }
        for (; burning < Explosions && !FLive.empty(); ++burning) {
            FLive.back()->TakeDamage(FLive.back()->GetHull());
            FLive.pop_back();
        }
        while (FLive.size() + 1 < Enemies) {
            FLive.push_back(&NewEnemy(root, FSpawned++));
        }
        for (std::size_t i = Torpedoes; i < FTorpedoes.size(); ++i) {
            FTorpedoes[i - Torpedoes]->Kill();
        }
        FPlayer->ReloadTorpedoes();
        for (std::size_t i = FTorpedoes.size(); i < Torpedoes; ++i) {
            FPlayer->FireTorpedo(static_cast<float>(30 + (FSpawned++ * 37) % 120));
        }
        FPlayer->Hull = 1000000;
        FPlayer->PhaserEnergy = 100;
        FPlayer->FireRequested = true;
        const TEnemy& target = *FLive[static_cast<std::size_t>(FSpawned++) % FLive.size()];
        AimPoint = {Round(target.X + target.Width / 2.0), Round(target.Y + target.Height / 2.0)};
        FCruiser->BeamCharge = 255;
    }

    GameWindow& FGame;
    TPlayer* FPlayer;
    TEnemyInterpid* FCruiser;
    std::vector<TEnemy*> FLive;
    std::vector<TSprite*> FTorpedoes;
    int FSpawned = 0;
};

// One keyed blit of a picture's frame.
struct Blit {
    SDL_Surface* Source;
    SDL_Rect From;
    int X, Y;
};

// The SDL side: every sprite frame and star the battle draws, at its place, as keyed blits.
class SdlPicture {
public:
    explicit SdlPicture(GameWindow& game) : FBack(bench::Wrap(game.Surface(), false)) {
        TSpriteEngine& root = game.Root();
        for (int i = 0; i < root.Count(); ++i) {
            auto* sprite = dynamic_cast<TImageSprite*>(root.Items(i));
            if (sprite == nullptr || sprite->Image == nullptr || !OverlapRect(sprite->GetBounds(), root.SurfaceRect())) {
                continue;
            }
            if (auto* field = dynamic_cast<TBackground*>(sprite)) {
                for (const TBackground::TStar& star : field->Stars) {
                    Add(*field->Image, star.Kind, TruncToInt(star.X), TruncToInt(star.Y));
                }
            } else {
                const TRect at = sprite->DrawRect();
                Add(*sprite->Image, Round(sprite->FramePos), at.Left, at.Top);
            }
            if (auto* player = dynamic_cast<TPlayer*>(sprite)) {  // its two beams
                const int beamY = TruncToInt(player->Y) - 64;
                Add(GameImage(ImagePlayerBeam), 0, TruncToInt(player->X) + 3, beamY);
                Add(GameImage(ImagePlayerBeam), 0, TruncToInt(player->X) + player->Width - 7, beamY);
            } else if (auto* cruiser = dynamic_cast<TEnemyInterpid*>(sprite)) {
                Add(GameImage(ImageCruiserBeam), 0, TruncToInt(cruiser->X) + cruiser->Width / 2,
                    TruncToInt(cruiser->Y) + cruiser->Height);
            }
        }
    }

    void Draw() {
        for (const Blit& blit : FBlits) {
            SDL_Rect to{blit.X, blit.Y, 0, 0};
            SDL_Rect from = blit.From;
            SDL_BlitSurface(blit.Source, &from, FBack.get(), &to);
        }
    }

    std::size_t Count() const { return FBlits.size(); }

private:
    void Add(TPictureCollectionItem& image, int frame, int x, int y) {
        if (frame < 0 || frame >= image.PatternCount()) {
            return;
        }
        TDirectDrawSurface* surface = &image.PatternSurface(frame);
        bench::SdlSurface& view = FViews[surface];
        if (!view) {
            view = bench::Wrap(*surface, image.Transparent);
        }
        const TRect r = image.PatternRect(frame);
        FBlits.push_back({view.get(), SDL_Rect{r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top}, x, y});
    }

    bench::SdlSurface FBack;
    std::map<TDirectDrawSurface*, bench::SdlSurface> FViews;
    std::vector<Blit> FBlits;
};

// ---- The still ----

void Aim(TPlayer& ship, const TImageSprite& target) {
    AimPoint = {Round(target.X + target.Width / 2.0), Round(target.Y + target.Height / 2.0)};
    ship.FireRequested = true;
    ship.FirePhaser();
}

void WriteStill(GameWindow& game, const std::string& path) {
    TSpriteEngine& root = game.Root();
    root.Clear();
    new TBackground(&root);
    // Every enemy kind banking left, level and right along the top.
    std::vector<TEnemy*> banking;
    double x = 10;
    for (int kind = 0; kind < 3; ++kind) {
        for (int frame = 0; frame < 3; ++frame) {
            TEnemy& ship = NewEnemy(root, kind);
            ship.X = x;
            ship.Y = 8;
            x += ship.Width + 14;
            banking.push_back(&ship);
        }
    }
    for (int frame = 0; frame < 3; ++frame) {
        TEnemyInterpid& cruiser = Place<TEnemyInterpid>(root, 10 + frame * 130, 110);
        cruiser.StopY = 1000;  // it fires only when told below
        banking.push_back(&cruiser);
    }
    TFriendSupplyShip& supply = Place<TFriendSupplyShip>(root, 660, 10);
    // Explosions at several frames.
    const struct {
        TEnemy* Ship;
        double Frame;
    } burning[] = {{&NewEnemy(root, 0), 1}, {&NewEnemy(root, 1), 3}, {&NewEnemy(root, 2), 5}, {&NewEnemy(root, 0), 7}};
    for (int i = 0; i < 4; ++i) {
        burning[i].Ship->X = 420 + i * 90;
        burning[i].Ship->Y = 150 + (i % 2) * 40;
        burning[i].Ship->TakeDamage(100000);
    }
    // Torpedoes at eight angles, each placed one step along its flight from a common point.
    for (int angle = 0; angle < 360; angle += 45) {
        const double heading = (angle - 180.0) * std::numbers::pi / 180.0;
        auto& torpedo = Place<TPlayerPhotonTorpedo>(root, 690 + 45 * std::cos(heading), 340 + 45 * std::sin(heading));
        torpedo.SetAngle(static_cast<float>(angle));
    }
    for (int i = 0; i < 3; ++i) {
        Place<TEnemyPhotonTorpedo>(root, banking[4]->X + 20, 90 + i * 30);
    }
    // Both player ships in their three states.
    TPlayer* ships[2][3];
    for (int light = 0; light < 2; ++light) {
        for (int state = 0; state < 3; ++state) {
            TPlayer& ship = Place<TPlayer>(root, 0, 0);
            ship.SetShipType(light == 1);
            ship.X = 20 + light * 330 + state * 100;
            ship.Y = 440;
            if (state == 1) {
                ship.SetCloak(true);
            } else if (state == 2) {
                ship.SetShields(true);
            }
            ships[light][state] = &ship;
        }
    }
    game.Move(0);
    game.Move(0);
    game.Surface().Fill(0);
    game.Move(0);
    for (std::size_t i = 0; i < banking.size(); ++i) {
        banking[i]->FramePos = static_cast<double>(i % 3);
    }
    for (const auto& b : burning) {
        b.Ship->FramePos = b.Frame;
    }
    supply.FramePos = 0;
    Aim(*ships[0][0], *banking[4]);
    Aim(*ships[1][0], *banking[11]);
    PlayerCenterX = Round(ships[0][2]->X + ships[0][2]->Width / 2.0);
    PlayerCenterY = Round(ships[0][2]->Y + ships[0][2]->Height / 2.0);
    static_cast<TEnemyInterpid*>(banking[9])->Fire();
    game.Draw();

    std::string error;
    if (!platform::SavePng(path, platform::FrameImage(game.Surface().Buffer()), error)) {
        throw std::runtime_error(error);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path runFolder = std::filesystem::absolute(argv[0]).parent_path() / ".." / "run";
    std::string picture;
    if (argc == 3 && std::string(argv[1]) == "--picture") {
        picture = std::filesystem::absolute(argv[2]).string();
    }
    GameWindow game(runFolder);
    if (!picture.empty()) {
        WriteStill(game, picture);
        return 0;
    }
    Battle battle(game);
    for (int i = 0; i < 300; ++i) {
        battle.Pass();
    }
    SdlPicture sdl(game);
    const std::vector<RatioCase> cases{{"battle pass", 1.5, [&battle] { battle.Pass(); }, [&sdl] { sdl.Draw(); }}};
    RatioReporter reporter;
    RunRatioBenchmarks(argc, argv, cases, reporter);
    const double engineMs = reporter.Time(cases[0], "engine") / 1e6;
    std::printf("%-55s %9.3f ms %s\n", "battle pass CPU (target < 0.6 ms)", engineMs, engineMs < 0.6 ? "ok" : "MISSED");
    std::printf("world: %d sprites (401 stars in one), %d drawn; %zu SDL blits\n", battle.SpriteCount(),
                battle.DrawnCount(), sdl.Count());
    return 0;
}
