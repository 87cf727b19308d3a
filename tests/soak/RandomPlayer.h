// RandomPlayer: random but plausible input for a soak of the real program. The player mostly
// flies, fires and uses the panel, types angles and distances into the dialogs and closes the
// mission texts; it opens the in-game menu, wanders the start menu and starts games and, when
// allowed, now and then quits. It does not see the screen: every move is a short sequence that
// makes sense on the screen it was meant for and is harmless on the others, and it releases
// whatever it pressed. Points are on the game's 800 x 600 surface.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct TSoakInput {
    enum TKind : std::uint8_t { MoveTo, ButtonDown, ButtonUp, KeyDown, KeyUp, Wait };
    TKind Kind = Wait;
    int X = 0;  // MoveTo
    int Y = 0;
    int Button = 0;        // ButtonDown and ButtonUp: 1 left, 3 right
    std::string Key;       // KeyDown and KeyUp: an X keysym name
    int Milliseconds = 0;  // Wait
};

struct TSoakArea {
    int Left, Top, Right, Bottom;  // right and bottom exclusive
    bool Holds(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

class TRandomPlayer {
public:
    TRandomPlayer(std::uint32_t seed, bool mayQuit);

    // The first move starts a game from the start menu, so that a soak meets a game early.
    std::vector<TSoakInput> NextMove();

    // Where a click can end the program: the start menu's exit, the in-game menu's quit item and
    // the best-score screen's send area.
    static bool EndsTheProgram(int x, int y);

private:
    int Between(int low, int high);
    bool Chance(int percent);
    template <class T, std::size_t N>
    const T& OneOf(const std::array<T, N>& choices) {
        return choices[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
    }
    void Pause(int low, int high);
    void MoveTo(int x, int y);
    // A click inside the area, away from its edges, and never where a click would end the
    // program unless that is allowed.
    void ClickIn(const TSoakArea& area, int button = 1);
    void Key(TSoakInput::TKind kind, const std::string& key);
    void Tap(const std::string& key);
    void Type(const std::string& text);

    void Steer();
    void Fire();
    void Dialog(char opener, int highest);
    void PanelButton();
    void GameMenu();
    void StartAGame();
    void BrowseMenu();
    void Quit();

    std::mt19937 Random;
    bool MayQuit;
    bool Started = false;
    std::vector<TSoakInput> Move;
};
