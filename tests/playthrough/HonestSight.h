// HonestSight: what a player can read off the screen at one moment — the ships and torpedoes in
// view with their places and sizes (and whether they are burning), the own ship's place, the
// three bars, the torpedo count and the score of the overlay, the lit buttons, and the open
// dialog's lines. It is the honest player's only view of the game: nothing hidden (hulls,
// timers, charges) is in it. Depends on the game's globals and sprites, which only Look reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace honest {

enum class Kind : std::uint8_t { Shuttle, Defiant, Akira, Cruiser, Supply, EnemyTorpedo, OwnTorpedo };

// One thing in view. Id tells the same thing apart from one look to the next, as an eye follows it.
struct Thing {
    const void* Id = nullptr;
    Kind What = Kind::Shuttle;
    double X = 0, Y = 0, W = 0, H = 0;
    bool Burning = false;
    double CentreX() const { return X + W / 2; }
    double CentreY() const { return Y + H / 2; }
};

enum class Screen : std::uint8_t { Elsewhere, Flying, MissionText, TorpedoDialog, TransportDialog, GameMenu };

struct Sight {
    std::uint32_t Time = 0;  // milliseconds on the game's clock
    Screen Shows = Screen::Elsewhere;
    std::vector<std::string> DialogLines;
    bool DialogTakesInput = false;
    // The own ship, while a game shows.
    Thing Ship;
    double Phaser = 0, Shields = 0;  // the bars, 0 to 100
    int HullPercent = 0;
    int Torpedoes = 0;
    int Score = 0;
    bool Cloaked = false, ShieldsUp = false, WarpLit = false;
    int WarpX = 0, WarpY = 0;  // the middle of the warp button
    std::vector<Thing> Things;
};

// Reads the screen now. Things wholly outside the play area (above the top edge, behind the
// panel) are not seen.
Sight Look(std::uint32_t time);

}  // namespace honest
