// MissionTexts: the nine texts that tell the game's story at set distances — the welcome with the
// controls, the two sector ends, the second sector's briefing and one note per ship type — each
// with its threshold, in the fixed order in which the schedule tests them. Depends on Game
// (OpenGameDialog, GameBox, DialogKind).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Game {

struct TMissionText {
    std::int32_t Threshold;  // the distance from which the text is due
    void (*Show)();
    bool EndsSector;  // showing it lights the warp and holds the distance
};

// In the order the schedule tests them; the index is the text's pending flag.
extern const std::array<TMissionText, 9> MissionTexts;
constexpr std::size_t TextSector1Cleared = 2;
constexpr std::size_t TextGameCompleted = 3;

// Each opens GameBox (large for the first four, small for the ship notes) and fills it.
void ShowWelcome();
void ShowSector2();
void ShowSector1Cleared();
void ShowGameCompleted();
void ShowShuttleNote();
void ShowDefiantNote();
void ShowAkiraNote();
void ShowInterpidNote();
void ShowSupplyNote();

}  // namespace Game
