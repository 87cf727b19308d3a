// WindowGeometry: where the 800 x 600 picture goes and how large a window is made for it. Full
// screen fills the screen as far as the aspect ratio allows; a window shows the picture at the
// largest whole multiple that fits (every frame pixel a square of window pixels), and shrinks it
// only in a window smaller than the picture. Plain arithmetic, no SDL.
#pragma once

namespace platform {

struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct Size {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// What the window manager's frame adds around a window's client area.
struct FrameBorders {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The picture's place in an output, centred with bars. With wholeMultiples the picture is shown
// at the largest whole factor that fits, when one does; otherwise as large as the aspect allows.
ScreenRect PictureRect(Size output, Size picture, bool wholeMultiples);

// The client size of a window opened for the picture in a work area whose windows carry the
// given frame: the largest whole multiple of the picture that fits with its frame, or, where not
// even the picture itself fits, the largest size of the picture's aspect that does.
Size WindowSizeFor(Size picture, Size workArea, FrameBorders borders);

// Whether a window of this client size fits the work area with its frame.
bool WindowFits(Size client, Size workArea, FrameBorders borders);

}  // namespace platform
