// Texts: the message box and its input field.
#include "game/Texts.h"

#include <cmath>
#include <limits>

#include "engine/display/SurfaceCanvas.h"
#include "game/Main.h"

namespace {

constexpr int OkImage = 29;
constexpr int CancelImage = 30;
constexpr const char* BoxFont = "Courier New";
constexpr char Caret = '|';

// The canvas set up for one line of the box's text: transparent, "Courier New".
TDirectDrawSurfaceCanvas& TextCanvas(TDirectDrawSurface& surface, bool bold, int size, TColor color) {
    TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = BoxFont;
    canvas.Font.Style = bold ? TFontStyle::Bold : TFontStyle::Regular;
    canvas.Font.Color = color;
    canvas.Font.Size = size;
    return canvas;
}

// A coordinate that stays an int however far the lines have run; one that far is off any surface.
int ClampToInt(std::int64_t value) {
    constexpr std::int64_t low = std::numeric_limits<int>::min();
    constexpr std::int64_t high = std::numeric_limits<int>::max();
    return static_cast<int>(value < low ? low : (value > high ? high : value));
}

}  // namespace

void PrepareGlyphs(TDirectDrawSurfaceCanvas& canvas) {
    static constexpr std::string_view Printable =
        " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
    // Drawn wholly outside the surface: only the rendering of its glyphs is wanted.
    canvas.TextOut(-100000, -100000, Printable);
    canvas.Release();
}

TMessageBox::TMessageBox() {
    FOkButton.SetImage(OkImage);
    FOkButton.SetVisible(false);
    FCancelButton.SetImage(CancelImage);
    FCancelButton.SetVisible(false);
    FCaretText.reserve(MaxInput + 1);
}

void TMessageBox::OpenFonts(int Size) {
    if (TDirectDrawSurface* surface = Main::BackSurface()) {
        for (const bool bold : {false, true}) {
            PrepareGlyphs(TextCanvas(*surface, bold, Size, 0));
        }
    }
}

void TMessageBox::SetPosition(int X, int Y) {
    FX = X;
    FY = Y;
}

void TMessageBox::SetBold(bool Value) {
    FBold = Value;
}

void TMessageBox::SetFontSize(int Value) {
    FFontSize = Value;
}

void TMessageBox::SetFontColor(TColor Value) {
    FFontColor = Value;
}

void TMessageBox::SetLineSpacing(int Value) {
    FLineSpacing = Value;
}

void TMessageBox::SetVisible(bool Value) {
    FVisible = Value;
}

void TMessageBox::SetBackground(int Index) {
    TPictureCollection* images = Main::ScreenImages();
    if (images == nullptr) {
        return;
    }
    FBackground = &images->Items(Index);
    FWidth = FBackground->Width();
    FHeight = FBackground->Height();
    FHasBackground = true;
    PlaceButtons();
}

void TMessageBox::Center() {
    const TDirectDrawSurface* surface = Main::BackSurface();
    const int surfaceWidth = surface != nullptr ? surface->Width() : 0;
    const int surfaceHeight = surface != nullptr ? surface->Height() : 0;
    FX = surfaceWidth / 2 - FWidth / 2;
    FY = surfaceHeight / 2 - FHeight / 2;
    PlaceButtons();
}

void TMessageBox::PlaceButtons() {
    FOkButton.SetVisible(true);
    FOkButton.SetPosition(FX + FWidth - 85, FY + FHeight - 40);
    FCancelButton.SetPosition(FX + FWidth - 150, FY + FHeight - 40);
}

int TMessageBox::CharsPerLine() const {
    // The width of a character is estimated from the size alone, as a 32-bit float.
    const auto charWidth = static_cast<float>(FFontSize * (9.0 / 11.0));
    const double perLine = (static_cast<double>(FWidth) - 2.0 * FMargin) / charWidth;
    if (!(perLine >= 1.0)) {  // also a size of 0, whose quotient is not a number or infinite
        return 0;
    }
    return perLine >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                      : static_cast<int>(perLine);
}

void TMessageBox::AddText(std::string_view Text) {
    const auto addLine = [this](std::string_view text) {
        FLines.push_back(TLine{std::string(text), FBold, FFontSize, FFontColor});
    };
    // A box too narrow for one character (or without a background yet) does not wrap: the
    // wrap would otherwise advance by nothing and never end.
    const int perLine = CharsPerLine();
    if (perLine >= 1) {
        const std::size_t width = static_cast<std::size_t>(perLine);
        while (Text.size() > width) {
            // The last space within CharsPerLine + 1 characters ends the line and stays on it;
            // a word without one is cut after CharsPerLine + 2 characters.
            const std::size_t space = Text.substr(0, width + 1).rfind(' ');
            const std::size_t take = space == std::string_view::npos ? width + 2 : space + 1;
            addLine(Text.substr(0, take));
            Text.remove_prefix(std::min(take, Text.size()));
        }
    }
    addLine(Text);
}

void TMessageBox::AddSpace(int Height) {
    FLines.push_back(TLine{std::string(), false, Height, 0});
}

void TMessageBox::AddEditLine(int X, int Y, std::uint8_t Mode) {
    FHasEditLine = true;
    FEditLine.Text.clear();
    FEditLine.X = X;
    FEditLine.Y = Y;
    FEditLine.Size = FFontSize;
    FEditLine.Color = FFontColor;
    FEditLine.Mode = Mode;
    FEditLine.Count = 0;
    FEditLine.Result.clear();
    FCancelButton.SetVisible(true);
}

void TMessageBox::KeyPress(char Key) {
    if (!FHasEditLine) {
        if (Key == Enter) {
            FClosed = true;
            FAccepted = true;
            FVisible = false;
        }
        return;
    }
    if (Key == Backspace && FEditLine.Count > 0) {
        FEditLine.Text.pop_back();
        --FEditLine.Count;
    }
    if (FEditLine.Count < MaxInput) {
        const bool accepted = (FEditLine.Mode == 0 && Key >= 'a' && Key <= 'z') ||
                              (FEditLine.Mode == 1 && Key >= '0' && Key <= '9');
        if (accepted) {
            FEditLine.Text.push_back(Key);
            ++FEditLine.Count;
        }
    }
    if (Key == Enter) {
        FEditLine.Result = FEditLine.Text;
        FClosed = true;
        FVisible = false;
    }
}

void TMessageBox::MouseDown(TPoint Point) {
    if (!FVisible) {
        return;
    }
    if (FHasEditLine || FHasCancel) {
        if (FOkButton.IsHit(Point)) {
            if (FHasEditLine) {
                FEditLine.Result = FEditLine.Text;
            }
            FClosed = true;
            FAccepted = true;
            FVisible = false;
        } else if (FCancelButton.IsHit(Point)) {
            FEditLine.Result.clear();
            FClosed = true;
            FAccepted = false;
            FVisible = false;
        } else {
            FEditLine.Result.clear();
        }
    } else if (FOkButton.IsHit(Point)) {
        FClosed = true;
        FAccepted = true;
        FVisible = false;
    }
}

void TMessageBox::ClearText() {
    FLines.clear();
}

void TMessageBox::Draw() {
    if (!FVisible) {
        return;
    }
    TDirectDrawSurface* surface = Main::BackSurface();
    if (surface != nullptr) {
        if (FHasBackground) {
            FBackground->Draw(surface, FX, FY, 0);
        }
        DrawLines();
        if (FHasEditLine) {
            DrawEditLine();
        }
    }
    FOkButton.Draw();
    FCancelButton.Draw();
}

void TMessageBox::DrawLines() {
    TDirectDrawSurface& surface = *Main::BackSurface();
    const int left = ClampToInt(static_cast<std::int64_t>(FX) + FMargin);
    std::int64_t y = static_cast<std::int64_t>(FY) + FMargin;
    for (const TLine& line : FLines) {
        y += FLineSpacing;
        TDirectDrawSurfaceCanvas& canvas = TextCanvas(surface, line.Bold, line.Size, line.Color);
        canvas.TextOut(left, ClampToInt(y), line.Text);
        canvas.Release();
        y += line.Size;
    }
}

void TMessageBox::DrawEditLine() {
    // The caret is hidden for the first 10 fiftieths of a second and shown for the next 10.
    FEditLine.BlinkTimer = static_cast<float>(FEditLine.BlinkTimer + 50.0 * Main::FrameTime);
    TDirectDrawSurfaceCanvas& canvas =
        TextCanvas(*Main::BackSurface(), false, FEditLine.Size, FEditLine.Color);
    if (FEditLine.BlinkTimer < 0.0f || FEditLine.BlinkTimer >= 10.0f) {
        FCaretText.assign(FEditLine.Text);
        FCaretText.push_back(Caret);
        canvas.TextOut(FEditLine.X, FEditLine.Y, FCaretText);
        if (FEditLine.BlinkTimer >= 20.0f) {
            FEditLine.BlinkTimer = 0.0f;
        }
    } else {
        canvas.TextOut(FEditLine.X, FEditLine.Y, FEditLine.Text);
    }
    canvas.Release();
}

void TMessageBox::ShowCancel() {
    FHasCancel = true;
    FCancelButton.SetVisible(true);
}

bool TMessageBox::IsClosed() const {
    return FClosed;
}

bool TMessageBox::IsAccepted() const {
    return FAccepted;
}

std::string TMessageBox::GetInput() const {
    return FHasEditLine ? FEditLine.Result : std::string();
}

void AddDialogTitle(TMessageBox& Box, std::string_view Title) {
    Box.SetFontSize(DialogFontSize);
    Box.SetBold(true);
    Box.SetFontColor(RGB(0, 51, 51));
    Box.AddText(Title);
    Box.AddSpace(15);
    Box.SetBold(false);
}
