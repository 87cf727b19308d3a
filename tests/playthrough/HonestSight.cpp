// HonestSight: the one place where the honest player touches the game's state, and only to read
// what the screen shows.
#include "tests/playthrough/HonestSight.h"

#include <optional>

#include "engine/images/PictureCollection.h"
#include "game/Game.h"
#include "game/Main.h"
#include "game/Sprites.h"

namespace honest {
namespace {

constexpr double PlayAreaBottom = 540;  // the panel covers the screen below
constexpr double ScreenWidth = 800;

bool Shows(const std::unique_ptr<TGButton>& button, int image) {
    return button && button->Image() == &Main::ScreenImages()->Items(image);
}

std::optional<Kind> KindOf(TSprite& sprite) {
    if (dynamic_cast<TEnemyShuttle*>(&sprite)) return Kind::Shuttle;
    if (dynamic_cast<TEnemyDefiant*>(&sprite)) return Kind::Defiant;
    if (dynamic_cast<TEnemyAkira*>(&sprite)) return Kind::Akira;
    if (dynamic_cast<TEnemyInterpid*>(&sprite)) return Kind::Cruiser;
    if (dynamic_cast<TFriendSupplyShip*>(&sprite)) return Kind::Supply;
    if (dynamic_cast<TEnemyPhotonTorpedo*>(&sprite)) return Kind::EnemyTorpedo;
    if (dynamic_cast<TPlayerPhotonTorpedo*>(&sprite)) return Kind::OwnTorpedo;
    return std::nullopt;
}

// An explosion is in view as plainly as a ship.
bool Burning(TSprite& sprite) {
    if (auto* enemy = dynamic_cast<TEnemy*>(&sprite)) return enemy->IsExploding();
    if (auto* supply = dynamic_cast<TFriendSupplyShip*>(&sprite)) return supply->IsDestroyed();
    return false;
}

Thing Seen(TSprite& sprite, Kind what) {
    return {&sprite, what, sprite.X, sprite.Y, static_cast<double>(sprite.Width), static_cast<double>(sprite.Height),
            Burning(sprite)};
}

Screen DialogScreen(const TMessageBox& box) {
    const std::string& title = box.Lines().empty() ? std::string() : box.Lines().front().Text;
    if (title == "Fire photon torpedo:") return Screen::TorpedoDialog;
    if (title == "Supplies transport:") return Screen::TransportDialog;
    return Screen::MissionText;
}

}  // namespace

Sight Look(std::uint32_t time) {
    Sight sight;
    sight.Time = time;
    if (Main::AppMode != Main::AppModeGame || !Game::GameRunning()) return sight;
    sight.Shows = Screen::Flying;
    if (Game::GameState == Game::StateMenu) sight.Shows = Screen::GameMenu;
    if (Game::GameState == Game::StateDialog && Game::GameBox) {
        sight.Shows = DialogScreen(*Game::GameBox);
        for (const TLine& line : Game::GameBox->Lines()) sight.DialogLines.push_back(line.Text);
        sight.DialogTakesInput = Game::GameBox->HasEditLine();
    }
    const TPlayer& ship = *Game::Player;
    sight.Ship = {&ship, Kind::Shuttle, ship.X, ship.Y, static_cast<double>(ship.Width),
                  static_cast<double>(ship.Height), ship.IsExploding()};
    sight.Phaser = ship.GetPhaserEnergy();
    sight.Shields = ship.GetShieldEnergy();
    sight.HullPercent = ship.GetHullPercent();
    sight.Torpedoes = ship.GetTorpedoes();
    sight.Score = Main::Score;
    sight.Cloaked = Shows(Game::CloakButton, Game::ImageCloakOn);
    sight.ShieldsUp = Shows(Game::ShieldsButton, Game::ImageShieldsOn);
    sight.WarpLit = Shows(Game::WarpButton, Game::ImageWarpReady);
    sight.WarpX = Game::WarpButton->X() + Game::WarpButton->Width() / 2;
    sight.WarpY = Game::WarpButton->Y() + Game::WarpButton->Height() / 2;
    TSpriteEngine& world = Form1->DXSpriteEngine1->Engine();
    for (int i = 0; i < world.Count(); ++i) {
        TSprite& sprite = *world.Items(i);
        const std::optional<Kind> what = KindOf(sprite);
        if (!what || sprite.Y + sprite.Height <= 0 || sprite.Y >= PlayAreaBottom || sprite.X + sprite.Width <= 0 ||
            sprite.X >= ScreenWidth) {
            continue;
        }
        sight.Things.push_back(Seen(sprite, *what));
    }
    return sight;
}

}  // namespace honest
