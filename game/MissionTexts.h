// MissionTexts: the nine texts that tell the game's story at set distances — the welcome with the
// controls, the two sector ends, the second sector's briefing and one note per ship type — each
// with its threshold and title, in the fixed order in which the schedule tests them. Depends on Game
// (OpenGameDialog, GameBox, DialogKind).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Game {

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

struct TMissionText {
    std::int32_t Threshold;  // the distance from which the text is due
    std::string_view Title;  // the bold line the text opens with
    void (*Show)();
    bool EndsSector;  // showing it lights the warp and holds the distance
};

// In the order the schedule tests them; the index is the text's pending flag.
inline constexpr std::array<TMissionText, 9> MissionTexts = {{
    {15, "Welcome to the game: Zarvoth Mutador...", ShowWelcome, false},
    {17015, "Sector2", ShowSector2, false},
    {17000, "Sector1 cleared", ShowSector1Cleared, true},
    {27700, "Game completed", ShowGameCompleted, true},
    {300, "Federation Shuttle", ShowShuttleNote, false},
    {950, "Federation Defiant", ShowDefiantNote, false},
    {17350, "Federation Akira", ShowAkiraNote, false},
    {4350, "Federation Interpid", ShowInterpidNote, false},
    {3850, "Cardassian supply ship", ShowSupplyNote, false},
}};

// The place in the table of the text that `show` opens; a routine missing from the table does
// not compile.
constexpr std::size_t TextIndex(void (*show)()) {
    for (std::size_t index = 0; index < MissionTexts.size(); ++index) {
        if (MissionTexts[index].Show == show) {
            return index;
        }
    }
    throw "not a mission text";
}

constexpr std::size_t TextWelcome = TextIndex(ShowWelcome);
constexpr std::size_t TextSector2 = TextIndex(ShowSector2);
constexpr std::size_t TextSector1Cleared = TextIndex(ShowSector1Cleared);
constexpr std::size_t TextGameCompleted = TextIndex(ShowGameCompleted);
constexpr std::size_t TextShuttleNote = TextIndex(ShowShuttleNote);
constexpr std::size_t TextDefiantNote = TextIndex(ShowDefiantNote);
constexpr std::size_t TextAkiraNote = TextIndex(ShowAkiraNote);
constexpr std::size_t TextInterpidNote = TextIndex(ShowInterpidNote);
constexpr std::size_t TextSupplyNote = TextIndex(ShowSupplyNote);

}  // namespace Game
