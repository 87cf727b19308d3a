// Text benchmarks: what an open dialog and the game's overlay cost a frame, drawn by the engine
// (the lines' coverage kept, a frame only blends it on) against rendering and blending the same
// lines with SDL_ttf every frame, on the same 800 x 600 RGB565 back surface. The large welcome box is
// the real message box over the real main window (SDL's dummy driver) with the generated
// pictures; its SDL side blits the same plate and button with SDL and renders its lines afresh.
// The box's lines alone are measured too. Targets: every ratio <= 0.15.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/Ratios.h"
#include "engine/display/SurfaceCanvas.h"
#include "game/Main.h"
#include "game/Texts.h"
#include "platform/AudioMixer.h"
#include "platform/InputDevices.h"
#include "platform/SdlWindow.h"
#include "platform/Text.h"
#include "support/FakeAudioOutput.h"
#include "support/GameData.h"
#include "support/TempDirectory.h"

namespace {

struct Line {
    std::string Text;
    bool Bold;
    int Size;  // points
    TColor Color;
    int X;
    int Y;
};

// The main window with the game graphics loaded, and SDL's view of its back surface.
struct Scene {
    Scene() {
        ProvideGameData();
        std::string error;
        if (!Window.Create("Zarvoth Mutador", 800, 600, error)) {
            std::fprintf(stderr, "bench_text: no window: %s\n", error.c_str());
            std::exit(1);
        }
        Form = std::make_unique<TForm1>(Window, platform::Application::Instance(), TFormDevices{&Sound, &Input});
        Form->DXImageList1->Items().LoadFromFile("Data/GGraphics.dxg");
        TDirectDrawSurface& back = *Form->DXDraw1->Surface();
        BackView = SDL_CreateRGBSurfaceWithFormatFrom(back.Row(0), back.Width(), back.Height(), 16, back.Width() * 2,
                                                      SDL_PIXELFORMAT_RGB565);
        TTF_Init();
    }

    TempDirectory Folder;
    platform::SdlWindow Window;
    platform::AudioMixer Sound{std::make_unique<FakeAudioOutput>()};
    platform::SdlInputDevice Input;
    std::unique_ptr<TForm1> Form;
    SDL_Surface* BackView = nullptr;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// The welcome text as the game opens it.
std::unique_ptr<TMessageBox> WelcomeBox() {
    auto box = std::make_unique<TMessageBox>();
    box->SetBackground(32);
    box->SetVisible(true);
    box->Center();
    box->SetFontSize(10);
    box->SetBold(true);
    box->SetFontColor(RGB(0, 51, 51));
    box->AddText("Welcome to the game: Zarvoth Mutador...");
    box->AddSpace(15);
    box->SetBold(false);
    box->AddText(
        "You are a captain of a one ship from the zarvoth fleet. Your house guiled the federation and other zarvoths. "
        "You are the only survival from squadron, which was sended to ambush the federation fleet. Now you must face "
        "against superiority of federation ships. Cardassians, whose are in this area, have promised us to help you "
        "with resupply, so do not shoot on them! Use your shields for protection, cloak for sneak attack and weapons to "
        "destroy as much enemy ships as is possible, the victory of your house depends on you...");
    box->AddText("Win or die with honor!!!");
    box->AddSpace(50);
    box->SetBold(true);
    box->AddText("Controls:");
    box->AddSpace(15);
    for (const char* line : {"Player move    ...... arrows (A,S,D,W)", "Fire phaser    ...... left mouse",
                             "Fire torpedo   ...... T", "Cloak ship     ...... C", "Enable shields ...... right mouse (H)",
                             "Transport      ...... R", "Game menu      ...... ESC (M)"}) {
        box->AddText(line);
    }
    return box;
}

// The lines of a box where it draws them.
std::vector<Line> LinesOf(const TMessageBox& box) {
    std::vector<Line> lines;
    int y = box.Y() + 20;
    for (const TLine& line : box.Lines()) {
        y += box.LineSpacing();
        if (!line.Text.empty()) {
            lines.push_back({line.Text, line.Bold, line.Size, line.Color, box.X() + 20, y});
        }
        y += line.Size;
    }
    return lines;
}

const std::vector<Line>& OverlayLines() {
    static const std::vector<Line> lines = {{"Score: 12345", false, 8, RGB(114, 57, 51), 10, 10},
                                            {"Torpedos: 30", false, 8, RGB(114, 57, 51), 10, 22},
                                            {"FPS: 60", false, 8, RGB(114, 57, 51), 10, 34}};
    return lines;
}

// SDL's view of a picture's surface, keyed like it.
SDL_Surface* SdlView(TDirectDrawSurface& surface) {
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(surface.Row(0), surface.Width(), surface.Height(), 16,
                                                           surface.Width() * 2, SDL_PIXELFORMAT_RGB565);
    SDL_SetColorKey(view, SDL_TRUE, surface.ColorKey());
    return view;
}

// Every line rendered by SDL_ttf, smoothed from the unhinted outlines as the canvas draws them,
// and blended on, as a renderer without kept lines would.
class SdlTtfLines {
public:
    SdlTtfLines(const char* family, std::vector<Line> lines) : FLines(std::move(lines)) {
        for (const Line& line : FLines) {
            TFont font;
            font.Size = line.Size;
            FFonts.push_back(Open(platform::ResolveFontFile(family, line.Bold), font.PixelHeight()));
        }
    }

    void Draw(SDL_Surface* target) {
        for (std::size_t i = 0; i < FLines.size(); ++i) {
            const Line& line = FLines[i];
            const SDL_Color color{static_cast<Uint8>(GetRValue(line.Color)), static_cast<Uint8>(GetGValue(line.Color)),
                                  static_cast<Uint8>(GetBValue(line.Color)), 255};
            SDL_Surface* rendered = TTF_RenderUTF8_Blended(FFonts[i], line.Text.c_str(), color);
            SDL_Rect at{line.X, line.Y, 0, 0};
            SDL_BlitSurface(rendered, nullptr, target, &at);
            SDL_FreeSurface(rendered);
        }
    }

private:
    TTF_Font* Open(const std::string& file, int pixels) {
        const auto key = std::make_pair(file, pixels);
        if (FOpen.count(key) == 0) {
            FOpen[key] = TTF_OpenFont(file.c_str(), pixels);
            TTF_SetFontHinting(FOpen[key], TTF_HINTING_NONE);
        }
        return FOpen[key];
    }

    std::vector<Line> FLines;
    std::vector<TTF_Font*> FFonts;
    std::map<std::pair<std::string, int>, TTF_Font*> FOpen;
};

// The lines through the surface's canvas, as the box and the overlay draw them.
void EngineLines(TDirectDrawSurface& back, const char* family, const std::vector<Line>& lines) {
    TDirectDrawSurfaceCanvas& canvas = back.Canvas();
    for (const Line& line : lines) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Name = family;
        canvas.Font.Size = line.Size;
        canvas.Font.Style = line.Bold ? TFontStyle::Bold : TFontStyle::Regular;
        canvas.Font.Color = line.Color;
        canvas.TextOut(line.X, line.Y, line.Text);
    }
    canvas.Release();
}

std::vector<RatioCase> Cases() {
    Scene& scene = TheScene();
    TDirectDrawSurface& back = *scene.Form->DXDraw1->Surface();
    static const std::unique_ptr<TMessageBox> welcome = WelcomeBox();
    static const std::vector<Line> welcomeText = LinesOf(*welcome);
    static SdlTtfLines welcomeLines("Courier New", welcomeText);
    static SdlTtfLines overlayLines("Verdana", OverlayLines());
    TPictureCollection& pictures = scene.Form->DXImageList1->Items();
    static SDL_Surface* const plate = SdlView(pictures.Items(32).PatternSurface(0));
    static SDL_Surface* const okButton = SdlView(pictures.Items(29).PatternSurface(0));
    const TGButton& ok = welcome->OkButton();
    return {
        {"Welcome box: plate, " + std::to_string(welcomeText.size()) + " lines, OK", 0.15,
         [] { welcome->Draw(); },
         [&ok, &scene] {
             SDL_Rect plateAt{welcome->X(), welcome->Y(), 0, 0};
             SDL_BlitSurface(plate, nullptr, scene.BackView, &plateAt);
             welcomeLines.Draw(scene.BackView);
             SDL_Rect okAt{ok.X(), ok.Y(), 0, 0};
             SDL_BlitSurface(okButton, nullptr, scene.BackView, &okAt);
         }},
        {"Welcome box's " + std::to_string(welcomeText.size()) + " lines alone", 0.15,
         [&back] { EngineLines(back, "Courier New", welcomeText); }, [&scene] { welcomeLines.Draw(scene.BackView); }},
        {"Overlay: three lines", 0.15, [&back] { EngineLines(back, "Verdana", OverlayLines()); },
         [&scene] { overlayLines.Draw(scene.BackView); }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    return RunRatioBenchmarks(argc, argv, Cases());
}
