// MissionTexts: the nine texts that tell the game's story at set distances — the welcome with the
// controls, the two sector ends, the second sector's briefing and one note per ship type — each
// with its threshold and title, in the fixed order in which the schedule tests them. Depends on Game
// (OpenGameDialog, GameBox, DialogKind).
#pragma once

#include <algorithm>
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

// The texts in the order the schedule tests them; a text's place is the index of its pending flag.
enum TMissionTextId : std::size_t {
    TextWelcome,
    TextSector2,
    TextSector1Cleared,
    TextGameCompleted,
    TextShuttleNote,
    TextDefiantNote,
    TextAkiraNote,
    TextInterpidNote,
    TextSupplyNote,
    MissionTextCount
};

struct TMissionText {
    std::int32_t Threshold = 0;  // the distance from which the text is due
    std::string_view Title;      // the bold line the text opens with
    void (*Show)() = nullptr;
    bool EndsSector = false;  // showing it lights the warp and holds the distance
};

// Each text is put in its own place, so that a place and its text cannot drift apart.
constexpr std::array<TMissionText, MissionTextCount> MakeMissionTexts() {
    std::array<TMissionText, MissionTextCount> texts{};
    texts[TextWelcome] = {15, "Welcome to the game: Zarvoth Mutador...", ShowWelcome, false};
    texts[TextSector2] = {17015, "Sector2", ShowSector2, false};
    texts[TextSector1Cleared] = {17000, "Sector1 cleared", ShowSector1Cleared, true};
    texts[TextGameCompleted] = {27700, "Game completed", ShowGameCompleted, true};
    texts[TextShuttleNote] = {300, "Federation Shuttle", ShowShuttleNote, false};
    texts[TextDefiantNote] = {950, "Federation Defiant", ShowDefiantNote, false};
    texts[TextAkiraNote] = {17350, "Federation Akira", ShowAkiraNote, false};
    texts[TextInterpidNote] = {4350, "Federation Interpid", ShowInterpidNote, false};
    texts[TextSupplyNote] = {3850, "Cardassian supply ship", ShowSupplyNote, false};
    return texts;
}

inline constexpr std::array<TMissionText, MissionTextCount> MissionTexts = MakeMissionTexts();
static_assert(std::none_of(MissionTexts.begin(), MissionTexts.end(),
                           [](const TMissionText& text) { return text.Title.empty(); }),
              "every place has its text");

}  // namespace Game
