// RandomPlayer: the moves and how often each is made. The places are the game's own areas
// and buttons.
#include "RandomPlayer.h"

#include <algorithm>
#include <array>

namespace {

using TArea = TSoakArea;

constexpr TArea Screen{0, 0, 800, 600};
constexpr std::array<TArea, 3> Enders = {{{40, 335, 170, 360}, {294, 320, 506, 354}, {230, 265, 505, 300}}};

// The start menu.
constexpr TArea NewGameItem{50, 180, 180, 205};
constexpr TArea StartButton{550, 535, 738, 561};
constexpr TArea ExitItem{40, 335, 170, 360};
constexpr std::array<TArea, 2> ShipBoxes = {{{365, 142, 398, 175}, {608, 296, 641, 329}}};
// Options, best score and picture screen: the item that opens each, and the way back.
constexpr std::array<TArea, 3> ScreenItems = {{{185, 250, 290, 275}, {590, 175, 740, 200}, {625, 325, 720, 350}}};
constexpr std::array<TArea, 3> BackAreas = {{{37, 550, 333, 577}, {20, 547, 309, 571}, {30, 554, 322, 578}}};
// Sound, music, stereo and frame-rate boxes; vertical sync is clicked twice.
constexpr std::array<TArea, 4> OptionBoxes = {
    {{165, 141, 198, 170}, {165, 173, 198, 202}, {165, 206, 198, 235}, {690, 407, 723, 436}}};
constexpr TArea VSynchBox{690, 373, 723, 402};
constexpr std::array<TArea, 5> MainItems = {
    {NewGameItem, {590, 175, 740, 200}, {185, 250, 290, 275}, ExitItem, {625, 325, 720, 350}}};

// A game: the panel's buttons, and the in-game menu's items (new game, resume, start menu, quit).
constexpr std::array<TArea, 6> PanelButtons = {{{425, 555, 600, 585},
                                                {610, 555, 750, 585},
                                                {689, 98, 790, 125},
                                                {250, 548, 330, 565},
                                                {336, 548, 416, 565},
                                                {264, 568, 410, 590}}};
constexpr TArea RestartItem{294, 200, 506, 234};
constexpr TArea ResumeItem{294, 240, 506, 274};
constexpr TArea MainMenuItem{294, 280, 506, 314};
constexpr TArea QuitItem{294, 320, 506, 354};

constexpr std::array<const char*, 12> DirectionKeys = {"Left", "Right", "Up",   "Down", "a",    "d",
                                                       "w",    "s",     "KP_4", "KP_6", "KP_8", "KP_2"};

}  // namespace

TRandomPlayer::TRandomPlayer(std::uint32_t seed, bool mayQuit) : Random(seed), MayQuit(mayQuit) {}

bool TRandomPlayer::EndsTheProgram(int x, int y) {
    return std::any_of(Enders.begin(), Enders.end(), [&](const TArea& area) { return area.Holds(x, y); });
}

int TRandomPlayer::Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }

bool TRandomPlayer::Chance(int percent) { return Between(1, 100) <= percent; }

void TRandomPlayer::Pause(int low, int high) {
    TSoakInput wait;
    wait.Milliseconds = Between(low, high);
    Move.push_back(wait);
}

void TRandomPlayer::MoveTo(int x, int y) {
    TSoakInput move;
    move.Kind = TSoakInput::MoveTo;
    move.X = x;
    move.Y = y;
    Move.push_back(move);
}

void TRandomPlayer::ClickIn(const TArea& area, int button) {
    constexpr int margin = 3;
    int x = 0;
    int y = 0;
    do {
        x = Between(area.Left + margin, area.Right - 1 - margin);
        y = Between(area.Top + margin, area.Bottom - 1 - margin);
    } while (!MayQuit && EndsTheProgram(x, y));
    MoveTo(x, y);
    TSoakInput press;
    press.Kind = TSoakInput::ButtonDown;
    press.Button = button;
    Move.push_back(press);
    Pause(20, 120);
    press.Kind = TSoakInput::ButtonUp;
    Move.push_back(press);
}

void TRandomPlayer::Key(TSoakInput::TKind kind, const std::string& key) {
    TSoakInput input;
    input.Kind = kind;
    input.Key = key;
    Move.push_back(input);
}

void TRandomPlayer::Tap(const std::string& key) {
    Key(TSoakInput::KeyDown, key);
    Pause(20, 90);
    Key(TSoakInput::KeyUp, key);
    Pause(30, 150);
}

void TRandomPlayer::Type(const std::string& text) {
    for (const char c : text) {
        Tap(std::string(1, c));
    }
}

void TRandomPlayer::Steer() {
    std::vector<std::string> held = {OneOf(DirectionKeys)};
    if (const std::string second = OneOf(DirectionKeys); Chance(50) && second != held[0]) {
        held.push_back(second);
    }
    for (const std::string& key : held) {
        Key(TSoakInput::KeyDown, key);
    }
    Pause(150, 1500);
    if (Chance(30)) {
        ClickIn(Screen);
    }
    for (const std::string& key : held) {
        Key(TSoakInput::KeyUp, key);
    }
}

void TRandomPlayer::Fire() {
    const int shots = Between(1, 4);
    for (int i = 0; i < shots; ++i) {
        ClickIn(Screen, Chance(85) ? 1 : 3);
        Pause(60, 250);
    }
}

// The torpedo ('t', an angle up to 180) or transport ('r', a distance) dialog: digits, now and
// then a slip corrected with backspace or more digits than the field takes, then Enter.
void TRandomPlayer::Dialog(char opener, int highest) {
    Tap(std::string(1, opener));
    Pause(100, 500);
    if (Chance(15)) {
        Type("x9");
        Tap("BackSpace");
        Tap("BackSpace");
    }
    Type(std::to_string(Between(0, highest)) + (Chance(10) ? "12345678" : ""));
    Tap("Return");
}

void TRandomPlayer::PanelButton() {
    ClickIn(OneOf(PanelButtons));
}

void TRandomPlayer::GameMenu() {
    Tap(Chance(50) ? "Escape" : "m");
    Pause(200, 700);
    const int choice = Between(1, 100);
    if (choice <= 55) {
        ClickIn(ResumeItem);
    } else if (choice <= 70) {
        ClickIn(RestartItem);
    } else if (choice <= 90) {
        ClickIn(MainMenuItem);
    } else {
        Tap("m");
    }
}

void TRandomPlayer::StartAGame() {
    ClickIn(NewGameItem);
    Pause(200, 800);
    if (Chance(30)) {
        ClickIn(OneOf(ShipBoxes));
        Pause(100, 400);
    }
    ClickIn(StartButton);
}

void TRandomPlayer::BrowseMenu() {
    for (int hovers = Between(1, 4); hovers > 0; --hovers) {
        const TArea& item = OneOf(MainItems);
        MoveTo(Between(item.Left, item.Right - 1), Between(item.Top, item.Bottom - 1));
        Pause(100, 400);
    }
    const std::size_t screen = static_cast<std::size_t>(Between(0, static_cast<int>(ScreenItems.size()) - 1));
    ClickIn(ScreenItems[screen]);
    Pause(200, 1000);
    if (screen == 0) {
        ClickIn(OneOf(OptionBoxes));
        Pause(100, 400);
        if (Chance(20)) {  // off and on again: the display is set up anew twice
            ClickIn(VSynchBox);
            Pause(100, 300);
            ClickIn(VSynchBox);
        }
    }
    Pause(200, 800);
    ClickIn(BackAreas[screen]);
}

// From a game through its menu, or from the start menu; a best-score dialog is answered.
void TRandomPlayer::Quit() {
    if (Chance(50)) {
        Tap("Escape");
        Pause(200, 600);
        ClickIn(QuitItem);
    } else {
        ClickIn(ExitItem);
    }
    Pause(500, 1500);
    Tap("Return");
}

std::vector<TSoakInput> TRandomPlayer::NextMove() {
    Move.clear();
    const int pick = Between(1, 100);
    if (!Started) {
        StartAGame();
        Started = true;
    } else if (pick <= 24) {
        Steer();
    } else if (pick <= 44) {
        Fire();
    } else if (pick <= 52) {
        Tap(Chance(50) ? "c" : "h");
    } else if (pick <= 59) {
        Dialog('t', 180);
    } else if (pick <= 66) {
        Dialog('r', 40);
    } else if (pick <= 74) {
        Tap("Return");
    } else if (pick <= 80) {
        PanelButton();
    } else if (pick <= 87) {
        GameMenu();
    } else if (pick <= 95) {
        StartAGame();
    } else if (pick <= 99 || !MayQuit) {
        BrowseMenu();
    } else {
        Quit();
    }
    Pause(50, 400);
    return Move;
}
