// Texts: TMessageBox, the game's one dialog, and its input field TEditLine. The box is no window:
// its owner configures it, hands it every typed character and click, calls Draw once a frame
// on the back surface and polls IsClosed. It shows a background picture, word-wrapped lines in
// "Courier New", OK and optionally Cancel, and optionally one input field with a blinking
// caret. Depends on GButton, Main (image list, back surface, frame time) and the surface canvas.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/assets/Classes.h"
#include "game/GButton.h"

class TPictureCollectionItem;
class TDirectDrawSurfaceCanvas;

// Renders every printable character once in the canvas's font, so that later lines in that font
// only copy glyphs the font already holds.
void PrepareGlyphs(TDirectDrawSurfaceCanvas& canvas);

struct TLine {
    std::string Text;
    bool Bold = false;
    std::int32_t Size = 0;  // font size in points, also the line's height in pixels
    TColor Color = 0;
};

struct TEditLine {
    std::int32_t X = 0;  // surface coordinates of the input text
    std::int32_t Y = 0;
    std::string Text;
    std::int32_t Size = 0;
    TColor Color = 0;
    float BlinkTimer = 0.0f;  // caret phase in fiftieths of a second
    std::uint8_t Mode = 0;    // 0 lowercase letters, 1 digits
    std::int32_t Count = 0;   // characters typed, at most MaxInput
    std::string Result;       // what the owner reads back
};

// The text size in points of every dialog the game fills.
constexpr int DialogFontSize = 10;

class TMessageBox;
// Sets a dialog's font and colour and adds its bold title with the gap under it; the lines
// added after it are regular.
void AddDialogTitle(TMessageBox& Box, std::string_view Title);

class TMessageBox {
public:
    static constexpr std::int32_t MaxInput = 6;
    static constexpr char Backspace = 8;
    static constexpr char Enter = 13;

    TMessageBox();
    virtual ~TMessageBox() = default;
    TMessageBox(const TMessageBox&) = delete;
    TMessageBox& operator=(const TMessageBox&) = delete;

    // Moves the box only; the buttons follow at the next SetBackground or Center.
    virtual void SetPosition(int X, int Y);
    // Style, size and colour for the lines added from now on.
    virtual void SetBold(bool Value);
    virtual void SetFontSize(int Value);
    virtual void SetFontColor(TColor Value);
    // Extra pixels above every line, applied when drawing.
    virtual void SetLineSpacing(int Value);
    virtual void SetVisible(bool Value);
    // Picture Index of the current image list; the box takes its size and places the buttons.
    virtual void SetBackground(int Index);
    // Centres the box on the back surface and places the buttons.
    virtual void Center();
    // Appends the text as lines wrapped by estimated character width.
    virtual void AddText(std::string_view Text);
    // An empty line of the given height.
    virtual void AddSpace(int Height);
    // An input field at surface point (X, Y) taking letters (mode 0) or digits (mode 1); shows Cancel.
    virtual void AddEditLine(int X, int Y, std::uint8_t Mode);
    // A typed character: Backspace 8, Enter 13, the characters the field's mode accepts.
    virtual void KeyPress(char Key);
    // A click in surface coordinates on OK or Cancel.
    virtual void MouseDown(TPoint Point);
    virtual void ClearText();
    virtual void Draw();
    virtual void ShowCancel();
    virtual bool IsClosed() const;
    virtual bool IsAccepted() const;
    // The input field's result; empty without a field.
    virtual std::string GetInput() const;

    int X() const { return FX; }
    int Y() const { return FY; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Visible() const { return FVisible; }
    int LineSpacing() const { return FLineSpacing; }
    const std::vector<TLine>& Lines() const { return FLines; }
    bool HasEditLine() const { return FHasEditLine; }
    const TEditLine& EditLine() const { return FEditLine; }
    const TGButton& OkButton() const { return FOkButton; }
    const TGButton& CancelButton() const { return FCancelButton; }

    // Characters per line for the current width and font size; below 1 means no wrapping.
    int CharsPerLine() const;

    // Opens the boxes' font in both styles at a size and prepares its printable characters, so
    // that the frame showing the first box does not wait for the font files and glyphs.
    static void OpenFonts(int Size);

private:
    void PlaceButtons();
    void DrawLines();
    void DrawEditLine();

    int FX = 0;
    int FY = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FHasBackground = false;
    TPictureCollectionItem* FBackground = nullptr;  // not owned
    bool FVisible = true;
    bool FBold = false;
    std::int32_t FFontSize = 10;
    TColor FFontColor = RGB(0, 255, 0);
    std::int32_t FMargin = 20;
    std::int32_t FLineSpacing = 0;
    std::vector<TLine> FLines;
    bool FHasEditLine = false;
    TEditLine FEditLine;
    TGButton FOkButton;
    TGButton FCancelButton;
    bool FHasCancel = false;
    bool FAccepted = false;
    bool FClosed = false;
    std::string FCaretText;  // the input and its caret, kept so a frame allocates nothing
};
