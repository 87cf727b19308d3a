// Tests of the content generator: runs build/bin/zarvoth-content into a temporary folder, loads
// the four files through the engine's collections and checks what the game relies on — item
// counts and order, pattern sizes and frame counts, the sizes the screen layouts depend on,
// colour-key safety, legibility of the plates under the game's text, sound formats and the
// music's loop seam — and that two runs write the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "support/GameData.h"
#include "support/MixerScene.h"

namespace {

namespace fs = std::filesystem;

constexpr TColor Key = 0xFF00FF;
const char* const FileNames[] = {"GGraphics.dxg", "MGraphics.dxg", "Sound.dxw", "Music.dxw"};

const fs::path& Generator = ContentGenerator();

// The click areas of the main menu's five items, on the screen.
const TRect MainMenuItems[] = {{50, 180, 180, 205}, {590, 175, 740, 200}, {185, 250, 290, 275}, {40, 335, 170, 360},
                               {625, 325, 720, 350}};

fs::path Generate(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("zarvoth-content-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string command = Generator.string() + " " + folder.string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder;
}

std::vector<char> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Content {
    fs::path Folder;
    TPictureCollection Game;
    TPictureCollection Menu;
    TWaveCollection Effects;
    TWaveCollection Music;
};

const Content& Loaded() {
    static Content content;
    static const bool loaded = [] {
        content.Folder = SharedContent();
        content.Game.LoadFromFile((content.Folder / "GGraphics.dxg").string());
        content.Menu.LoadFromFile((content.Folder / "MGraphics.dxg").string());
        content.Effects.LoadFromFile((content.Folder / "Sound.dxw").string());
        content.Music.LoadFromFile((content.Folder / "Music.dxw").string());
        return true;
    }();
    (void)loaded;
    return content;
}

const TPictureCollectionItem& Game(int index) {
    return Loaded().Game.Items(index);
}

const TPictureCollectionItem& Menu(int index) {
    return Loaded().Menu.Items(index);
}

TRect SizeAt(const TPictureCollectionItem& item, int x, int y) {
    return Bounds(x, y, item.Picture.Width(), item.Picture.Height());
}

bool Contains(const TRect& outer, const TRect& inner) {
    return outer.Left <= inner.Left && outer.Top <= inner.Top && inner.Right <= outer.Right && inner.Bottom <= outer.Bottom;
}

// Relative luminance and contrast ratio as used for text legibility.
double Luminance(TColor c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

double Contrast(TColor a, TColor b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lowest contrast between the text colour and any pixel of the area (picture coordinates).
double WorstContrast(const TPictureCollectionItem& item, const TRect& area, TColor text) {
    double worst = 1e9;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            worst = std::min(worst, Contrast(item.Picture.Pixel(x, y), text));
        }
    }
    return worst;
}

// Mean luminance of the non-key pixels of a pattern (or of the whole picture for index -1).
double MeanLuminance(const TPictureCollectionItem& item, int pattern = -1) {
    const int w = pattern < 0 ? item.Picture.Width() : item.PatternWidth;
    const int left = pattern < 0 ? 0 : pattern * w;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < item.Picture.Height(); ++y) {
        for (int x = left; x < left + w; ++x) {
            const TColor c = item.Picture.Pixel(x, y);
            if (c != Key) {
                sum += Luminance(c);
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : 0.0;
}

const std::int16_t* Samples(const TWaveCollectionItem& item) {
    return reinterpret_cast<const std::int16_t*>(item.Wave.Data());
}

// Loudest sample, in decibels below full scale; where it is, in frames.
struct SoundPeak {
    double Decibels = -200;
    int Frame = 0;
};

SoundPeak PeakOf(const TWaveCollectionItem& item) {
    const std::int16_t* samples = Samples(item);
    int peak = 0;
    int at = 0;
    for (int k = 0; k < item.Wave.Size() / 2; ++k) {
        if (std::abs(static_cast<int>(samples[k])) > peak) {
            peak = std::abs(static_cast<int>(samples[k]));
            at = k;
        }
    }
    return {20 * std::log10(std::max(peak, 1) / 32768.0), at / item.Wave.Channels()};
}

// An item as a voice of a mixer scene, from a frame of its samples on.
SceneVoice Voice(const TWaveCollectionItem& item, int pan, double startSeconds, int fromFrame = 0) {
    const TWave& wave = item.Wave;
    const auto word = [](int value) { return static_cast<std::uint16_t>(value); };
    const auto rate = static_cast<std::uint32_t>(wave.SamplesPerSec());
    const platform::WaveFormat format{word(wave.FormatTag()), word(wave.Channels()), rate,
                                      rate * word(wave.BlockAlign()), word(wave.BlockAlign()), word(wave.BitsPerSample())};
    std::vector<std::uint8_t> bytes(wave.Data() + fromFrame * wave.BlockAlign(), wave.Data() + wave.Size());
    return {format, std::move(bytes), pan, 0, static_cast<std::size_t>(std::lround(startSeconds * rate)), item.Looped()};
}

int Frames(const TPictureCollectionItem& item) {
    return item.Picture.Width() / item.PatternWidth;
}

// The sanitizer build makes only the test program; without the generator there is nothing to
// check.
class ContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(Generator)) {
            GTEST_SKIP() << "zarvoth-content is not built in " << ZARVOTH_BIN_DIR;
        }
    }
};

TEST_F(ContentTest, GameGraphicsHoldEveryIndexTheGameUses) {
    ASSERT_EQ(Loaded().Game.Count(), 54);
    for (int i = 0; i < Loaded().Game.Count(); ++i) {
        EXPECT_FALSE(Game(i).Picture.Empty()) << i;
        EXPECT_TRUE(Game(i).Transparent) << i;
        EXPECT_EQ(Game(i).TransparentColor, Key) << i;
    }
}

TEST_F(ContentTest, ShipsHaveThreeBankingFramesOfOneSizePerShip) {
    for (int i = 0; i <= 9; ++i) {
        const auto& ship = Game(i);
        ASSERT_GT(ship.PatternWidth, 0) << i;
        ASSERT_GT(ship.PatternHeight, 0) << i;
        EXPECT_EQ(ship.Picture.Width(), 3 * ship.PatternWidth) << i;
        EXPECT_EQ(ship.Picture.Height(), ship.PatternHeight) << i;
    }
    for (int first : {0, 3}) {
        for (int variant = 1; variant < 3; ++variant) {
            EXPECT_EQ(Game(first + variant).PatternWidth, Game(first).PatternWidth);
            EXPECT_EQ(Game(first + variant).PatternHeight, Game(first).PatternHeight);
        }
    }
    // Shuttle < Defiant < Akira < Interpid, and the supply ship is one picture.
    for (int i = 6; i < 9; ++i) {
        EXPECT_LT(Game(i).PatternWidth * Game(i).PatternHeight, Game(i + 1).PatternWidth * Game(i + 1).PatternHeight);
    }
    EXPECT_EQ(Game(10).PatternWidth, 0);
    EXPECT_EQ(Game(10).PatternHeight, 0);
    EXPECT_GT(Game(0).PatternWidth, Game(3).PatternWidth);
}

TEST_F(ContentTest, PlayerShipsShowTheirPhaserEmittersWhereTheBeamsStart) {
    const auto opaque = [](const TPictureCollectionItem& item, int x, int y) {
        return item.Picture.Pixel(item.PatternWidth + x, y) != Key;  // the level frame
    };
    const auto& heavy = Game(0);
    const int emitterY = heavy.PatternHeight / 2 - 20;
    EXPECT_TRUE(opaque(heavy, 5, emitterY));
    EXPECT_TRUE(opaque(heavy, heavy.PatternWidth - 5, emitterY));
    // The emitters glow: brighter than the hull around the middle.
    EXPECT_GT(GetGValue(heavy.Picture.Pixel(heavy.PatternWidth + 5, emitterY)), 150);
    const auto& light = Game(3);
    EXPECT_TRUE(opaque(light, light.PatternWidth / 2, light.PatternHeight / 2));
    EXPECT_GT(GetGValue(light.Picture.Pixel(light.PatternWidth + light.PatternWidth / 2, light.PatternHeight / 2)), 150);
}

TEST_F(ContentTest, CloakedShipIsMostlySeeThroughAndShieldsFillTheCell) {
    for (int first : {0, 3}) {
        const auto count = [](const TPictureCollectionItem& item) {
            return std::count_if(item.Picture.Pixels().begin(), item.Picture.Pixels().end(),
                                 [](TColor c) { return c != Key; });
        };
        EXPECT_LT(count(Game(first + 1)) * 2, count(Game(first)));
        EXPECT_GT(count(Game(first + 2)), count(Game(first)));
        // The bubble reaches the cell's edges.
        const auto& shields = Game(first + 2);
        EXPECT_NE(shields.Picture.Pixel(shields.PatternWidth / 2, 0), Key);
        EXPECT_NE(shields.Picture.Pixel(0, shields.PatternHeight / 2), Key);
    }
}

TEST_F(ContentTest, EffectStripsHaveTheirFrameCounts) {
    EXPECT_EQ(Game(15).PatternWidth, Game(15).PatternHeight);
    EXPECT_EQ(Frames(Game(15)), 3);
    EXPECT_EQ(Frames(Game(16)), 9);
    EXPECT_EQ(Game(16).Picture.Height(), Game(16).PatternHeight);
    // Beams are thin strips that add light: no key pixels, brightest in the middle.
    for (int beam : {11, 12}) {
        const auto& strip = Game(beam);
        EXPECT_EQ(strip.Picture.Width(), 4);
        const int y = strip.Picture.Height() / 2;
        EXPECT_GT(Luminance(strip.Picture.Pixel(1, y)), Luminance(strip.Picture.Pixel(0, y)));
        for (TColor c : strip.Picture.Pixels()) {
            EXPECT_NE(c, Key);
        }
    }
    // The player's torpedo points up: its bright head is in the upper half.
    const auto& torpedo = Game(13);
    EXPECT_GT(torpedo.Picture.Height(), torpedo.Picture.Width());
    EXPECT_GT(Luminance(torpedo.Picture.Pixel(torpedo.Picture.Width() / 2, torpedo.Picture.Height() / 3)),
              Luminance(torpedo.Picture.Pixel(torpedo.Picture.Width() / 2, torpedo.Picture.Height() * 5 / 6)));
}

TEST_F(ContentTest, ButtonsFitTheirPlacesWithoutOverlapping) {
    const struct {
        std::vector<int> Images;
        int MaxWidth, MaxHeight;
    } limits[] = {
        {{17, 18, 19, 20}, 86, 20}, {{21, 22}, 185, 600}, {{23, 24}, 150, 600}, {{27, 28}, 160, 32}, {{29}, 60, 30}};
    for (const auto& limit : limits) {
        for (int i : limit.Images) {
            EXPECT_LE(Game(i).Picture.Width(), limit.MaxWidth) << i;
            EXPECT_LE(Game(i).Picture.Height(), limit.MaxHeight) << i;
        }
    }
    const TRect screen{0, 0, 800, 600};
    // Each button with its picture for the other state, which must cover the same click area.
    const struct {
        int Image, Other, X, Y;
    } panel[] = {{21, 22, 425, 555}, {23, 24, 610, 555}, {25, 26, 689, 98},
                 {18, 17, 250, 548}, {20, 19, 336, 548}, {28, 27, 264, 568}};
    for (const auto& a : panel) {
        EXPECT_TRUE(Contains(screen, SizeAt(Game(a.Image), a.X, a.Y))) << a.Image;
        EXPECT_EQ(SizeAt(Game(a.Image), a.X, a.Y), SizeAt(Game(a.Other), a.X, a.Y)) << a.Image;
        for (const auto& b : panel) {
            if (&a != &b) {
                EXPECT_FALSE(OverlapRect(SizeAt(Game(a.Image), a.X, a.Y), SizeAt(Game(b.Image), b.X, b.Y)))
                    << a.Image << " " << b.Image;
            }
        }
    }
    // OK and Cancel sit 85 and 150 px left of a box's right edge, 40 px above its bottom.
    for (int box : {31, 32}) {
        const int w = Game(box).Picture.Width();
        const int h = Game(box).Picture.Height();
        const TRect ok = SizeAt(Game(29), w - 85, h - 40);
        const TRect cancel = SizeAt(Game(30), w - 150, h - 40);
        EXPECT_FALSE(OverlapRect(ok, cancel));
        EXPECT_TRUE(Contains({0, 0, w, h}, ok));
        EXPECT_TRUE(Contains({0, 0, w, h}, cancel));
    }
}

// The small plate's size puts the torpedo and transport prompts on their input fields; the lines
// themselves are checked on the game's own dialogs in the dialog pictures.
TEST_F(ContentTest, DialogPlatesHaveTheirSizesAndFitTheScreen) {
    EXPECT_EQ(Game(31).Picture.Width(), 292);
    EXPECT_EQ(Game(31).Picture.Height(), 252);
    EXPECT_LE(Game(32).Picture.Width(), 800);
    EXPECT_LE(Game(32).Picture.Height(), 540);
}

TEST_F(ContentTest, PlatesUnderTheGameTextAreLightEnoughToRead) {
    // Score lines in RGB(114, 57, 51) at (10, 10) to (10, 34) on the plate drawn at (9, 0).
    EXPECT_GE(WorstContrast(Game(34), {1, 10, 100, 46}, RGB(114, 57, 51)), 4.5);
    // Dialog text in RGB(0, 51, 51) from the margin down to above the buttons.
    EXPECT_GE(WorstContrast(Game(31), {20, 20, Game(31).Picture.Width() - 20, 190}, RGB(0, 51, 51)), 4.5);
    EXPECT_GE(WorstContrast(Game(32), {20, 20, Game(32).Picture.Width() - 20, Game(32).Picture.Height() - 60},
                            RGB(0, 51, 51)),
              4.5);
    // The best score number in RGB(49, 85, 65) at (245, 213) of the screen.
    EXPECT_GE(WorstContrast(Menu(9), {255, 213, 400, 240}, RGB(49, 85, 65)), 4.5);
}

TEST_F(ContentTest, PanelPiecesCoverTheirGaugesAndHolders) {
    const auto& pod = Game(35);
    EXPECT_TRUE(Contains(SizeAt(pod, 680, 0), SizeAt(Game(25), 689, 98)));
    EXPECT_TRUE(Contains(SizeAt(pod, 680, 0), SizeAt(Game(53), 712, 10)));
    EXPECT_TRUE(Contains(SizeAt(Game(38), 30, 553), {33, 556, 236, 565}));
    EXPECT_TRUE(Contains(SizeAt(Game(39), 30, 572), {33, 575, 236, 584}));
    EXPECT_TRUE(Contains(SizeAt(Game(40), 763, 148), {767, 152, 776, 523}));
    EXPECT_EQ(SizeAt(Game(33), 0, 0).Bottom, 535);
    EXPECT_EQ(SizeAt(Game(36), 791, 138).Right, 800);
    EXPECT_EQ(SizeAt(Game(37), 0, 535), (TRect{0, 535, 800, 600}));
    // The in-game menu panel holds its four items.
    for (int item = 45; item <= 52; ++item) {
        const int row = (item - 45) / 2;
        EXPECT_TRUE(Contains(SizeAt(Game(44), 200, 88), SizeAt(Game(item), 294, 200 + 40 * row))) << item;
        EXPECT_LE(Game(item).Picture.Height(), 40) << item;
    }
}

TEST_F(ContentTest, NoPictureColourFallsOntoTheKeyInSixteenBits) {
    const auto nearKey = [](TColor c) {
        return std::abs((GetRValue(c) >> 3) - 31) <= 1 && (GetGValue(c) >> 2) <= 1 && std::abs((GetBValue(c) >> 3) - 31) <= 1;
    };
    for (const TPictureCollection* list : {&Loaded().Game, &Loaded().Menu}) {
        for (int i = 0; i < list->Count(); ++i) {
            for (TColor c : list->Items(i).Picture.Pixels()) {
                if (c != Key) {
                    ASSERT_FALSE(nearKey(c)) << i;
                }
            }
        }
    }
}

TEST_F(ContentTest, MenuScreensCaptionEveryClickArea) {
    ASSERT_EQ(Loaded().Menu.Count(), 13);
    EXPECT_EQ(Menu(12).Picture.Width(), 8) << "a lit volume slot";
    EXPECT_EQ(Menu(12).Picture.Height(), 19);
    for (int i = 7; i <= 11; ++i) {
        EXPECT_EQ(Menu(i).Picture.Width(), 810) << i;
        EXPECT_EQ(Menu(i).Picture.Height(), 600) << i;
    }
    for (int i : {5, 6}) {
        EXPECT_EQ(Menu(i).Picture.Width(), 33);
        EXPECT_EQ(Menu(i).Picture.Height(), 29);
    }
    // Bright caption pixels inside each click area (screen x + 10 in the picture).
    const struct {
        int Screen;
        TRect Area;
    } areas[] = {{7, MainMenuItems[0]},        {7, MainMenuItems[1]},       {7, MainMenuItems[2]},
                 {7, MainMenuItems[3]},        {7, MainMenuItems[4]},       {11, {30, 535, 322, 561}},
                 {11, {550, 535, 738, 561}}, {9, {20, 547, 309, 571}},  {9, {230, 265, 505, 300}},
                 {8, {37, 550, 333, 577}},  {10, {30, 554, 322, 578}}, {8, {292, 143, 316, 168}},
                 {8, {426, 143, 450, 168}}, {8, {292, 175, 316, 200}}, {8, {426, 175, 450, 200}}};
    for (const auto& a : areas) {
        int bright = 0;
        for (int y = a.Area.Top; y < a.Area.Bottom; ++y) {
            for (int x = a.Area.Left; x < a.Area.Right; ++x) {
                bright += Luminance(Menu(a.Screen).Picture.Pixel(x + 10, y)) > 0.5 ? 1 : 0;
            }
        }
        EXPECT_GT(bright, 40) << a.Screen << " at " << a.Area.Left << "," << a.Area.Top;
    }
}

TEST_F(ContentTest, HoverHighlightsFitBesideTheirItems) {
    const auto& items = MainMenuItems;
    const TPoint places[] = {{251, 182}, {459, 177}, {369, 252}, {225, 336}, {537, 329}};
    for (int i = 0; i < 5; ++i) {
        const TRect lamp = SizeAt(Menu(i), places[i].X, places[i].Y);
        EXPECT_TRUE(Contains({0, 0, 800, 600}, lamp)) << i;
        for (int j = 0; j < 5; ++j) {
            EXPECT_FALSE(OverlapRect(lamp, items[j])) << i << " " << j;
            if (j != i) {
                EXPECT_FALSE(OverlapRect(lamp, SizeAt(Menu(j), places[j].X, places[j].Y))) << i << " " << j;
            }
        }
        // Beside its own item: level with it (the background joins the two with a line).
        EXPECT_LT(lamp.Top, items[i].Bottom) << i;
        EXPECT_GT(lamp.Bottom, items[i].Top) << i;
    }
}

TEST_F(ContentTest, EffectsAreShortMonoSixteenBitSoundsWithoutClicks) {
    ASSERT_EQ(Loaded().Effects.Count(), 9);
    for (int i = 0; i < 9; ++i) {
        const auto& item = Loaded().Effects.Items(i);
        EXPECT_EQ(item.Wave.FormatTag(), WAVE_FORMAT_PCM) << i;
        EXPECT_EQ(item.Wave.BitsPerSample(), 16) << i;
        EXPECT_EQ(item.Wave.SamplesPerSec(), 44100) << i;
        EXPECT_EQ(item.Wave.Channels(), 1) << i;
        const double seconds = item.Wave.Size() / 2.0 / 44100.0;
        EXPECT_GT(seconds, 0.05) << i;
        EXPECT_LT(seconds, 3.0) << i;
        EXPECT_FALSE(item.Looped()) << i;
        EXPECT_GT(item.MaxPlayingCount(), 0) << i;
        const std::int16_t* samples = Samples(item);
        EXPECT_LT(std::abs(samples[0]), 2000) << i;
        EXPECT_LT(std::abs(samples[item.Wave.Size() / 2 - 1]), 300) << i;
    }
    // Effects that stack (phaser, explosions) may overlap more than one-off ones (warp).
    EXPECT_GT(Loaded().Effects.Items(3).MaxPlayingCount(), Loaded().Effects.Items(8).MaxPlayingCount());
}

// Effects peak near -6 dB at most and the music well below them, so that a fight over the
// music's loudest second sums below full scale: the output's limiter has little to do.
TEST_F(ContentTest, SoundsAreMasteredWithHeadroomForAFight) {
    const TWaveCollection& effects = Loaded().Effects;
    double loudest = -200;
    for (int i = 0; i < effects.Count(); ++i) {
        const double peak = PeakOf(effects.Items(i)).Decibels;
        EXPECT_GT(peak, -14.0) << i;
        EXPECT_LT(peak, -5.5) << i;
        loudest = std::max(loudest, peak);
    }
    EXPECT_GT(loudest, -7.0);
    const SoundPeak music = PeakOf(Loaded().Music.Items(0));
    EXPECT_LT(music.Decibels, loudest - 6);
    EXPECT_GT(music.Decibels, -20.0);

    // Two phasers, a torpedo and two explosions, panned as the game pans sources at x = 300,
    // 520, 0, 250 and 550, with the torpedo and the explosions at several distances from the
    // first shot.
    const int musicFrom = std::max(0, music.Frame - 44100);
    for (const double shift : {0.0, 0.01, 0.03, 0.07, 0.15}) {
        const std::vector<SceneVoice> fight{Voice(Loaded().Music.Items(0), 0, 0, musicFrom),
                                            Voice(effects.Items(0), -1429, 0.9),
                                            Voice(effects.Items(0), 1714, 1.25),
                                            Voice(effects.Items(1), -5714, 0.95 + shift),
                                            Voice(effects.Items(3), -2143, 0.9 + shift),
                                            Voice(effects.Items(3), 2143, 1.2 + shift)};
        const double peak = 20 * std::log10(ScenePeak(PlayScene(fight, 3 * 44100, false)));
        std::printf("a fight with the effects %.2f s apart peaks at %.2f dBFS\n", shift, peak);
        EXPECT_LT(peak, 0.0) << shift;
    }
}

TEST_F(ContentTest, MusicIsAMinuteOfStereoThatLoopsWithoutAClick) {
    ASSERT_EQ(Loaded().Music.Count(), 1);
    const auto& item = Loaded().Music.Items(0);
    EXPECT_EQ(item.Wave.SamplesPerSec(), 44100);
    EXPECT_EQ(item.Wave.BitsPerSample(), 16);
    EXPECT_EQ(item.Wave.Channels(), 2);
    EXPECT_TRUE(item.Looped());
    const int frames = item.Wave.Size() / 4;
    EXPECT_GE(frames, 60 * 44100);
    const std::int16_t* samples = Samples(item);
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<int> steps;
        for (int i = 0; i + 1 < frames; i += 3) {
            steps.push_back(std::abs(samples[2 * (i + 1) + channel] - samples[2 * i + channel]));
        }
        std::sort(steps.begin(), steps.end());
        const int typical = steps[steps.size() * 99 / 100];
        const int seam = std::abs(samples[channel] - samples[2 * (frames - 1) + channel]);
        EXPECT_LE(seam, typical) << channel;
        // Not silence either side of the seam.
        EXPECT_GT(steps[steps.size() / 2], 20);
    }
}

TEST_F(ContentTest, SpriteEdgesFadeToDarkNotToTheKey) {
    // A pixel next to a key pixel is an anti-aliased edge: on average darker than the inside.
    for (int i : {0, 3, 6, 7, 8, 9, 10}) {
        const auto& p = Game(i).Picture;
        double edge = 0, inside = 0;
        int edges = 0, insides = 0;
        for (int y = 1; y + 1 < p.Height(); ++y) {
            for (int x = 1; x + 1 < p.Width(); ++x) {
                if (p.Pixel(x, y) == Key) {
                    continue;
                }
                const bool border = p.Pixel(x - 1, y) == Key || p.Pixel(x + 1, y) == Key || p.Pixel(x, y - 1) == Key ||
                                    p.Pixel(x, y + 1) == Key;
                (border ? edge : inside) += Luminance(p.Pixel(x, y));
                ++(border ? edges : insides);
            }
        }
        ASSERT_GT(edges, 0) << i;
        ASSERT_GT(insides, 0) << i;
        EXPECT_LT(edge / edges, inside / insides) << i;
    }
}

TEST_F(ContentTest, BankingFramesDifferFromTheLevelOne) {
    for (int i : {0, 3, 6, 7, 8, 9}) {
        const auto& ship = Game(i);
        int leftDiffers = 0, rightDiffers = 0;
        for (int y = 0; y < ship.PatternHeight; ++y) {
            for (int x = 0; x < ship.PatternWidth; ++x) {
                const TColor level = ship.Picture.Pixel(ship.PatternWidth + x, y);
                leftDiffers += ship.Picture.Pixel(x, y) != level ? 1 : 0;
                rightDiffers += ship.Picture.Pixel(2 * ship.PatternWidth + x, y) != level ? 1 : 0;
            }
        }
        EXPECT_GT(leftDiffers, ship.PatternWidth) << i;
        EXPECT_GT(rightDiffers, ship.PatternWidth) << i;
    }
}

TEST_F(ContentTest, StarsBrightenByKindAndTheExplosionBurnsDownToSmoke) {
    const auto& stars = Game(15);
    EXPECT_LT(MeanLuminance(stars, 0) * 1.2, MeanLuminance(stars, 1));
    EXPECT_LT(MeanLuminance(stars, 1), MeanLuminance(stars, 2));
    const auto& explosion = Game(16);
    EXPECT_GT(MeanLuminance(explosion, 2), 2 * MeanLuminance(explosion, 8));
    // The last frame, which stays up after the player's ship is destroyed, still shows smoke.
    EXPECT_GT(MeanLuminance(explosion, 8), 0.0);
}

TEST_F(ContentTest, ButtonStatesLookDifferent) {
    // Lit (on, ready, highlighted) against idle or not ready.
    const std::pair<int, int> litIdle[] = {{17, 18}, {19, 20}, {27, 28}, {46, 45}, {48, 47}, {50, 49}, {52, 51}};
    for (const auto& [lit, idle] : litIdle) {
        EXPECT_GT(MeanLuminance(Game(lit)), MeanLuminance(Game(idle))) << lit;
    }
    // Open (its dialog or menu showing) against normal.
    for (int normal : {21, 23, 25}) {
        EXPECT_NE(Game(normal).Picture.Pixels(), Game(normal + 1).Picture.Pixels()) << normal;
    }
    EXPECT_GT(MeanLuminance(Menu(6)), MeanLuminance(Menu(5)));
    // Gauge fills in the panel's colours: phaser green, shields blue, hull warm.
    const auto mid = [](int index) {
        const auto& p = Game(index).Picture;
        return p.Pixel(p.Width() / 2, p.Height() / 2);
    };
    EXPECT_GT(GetGValue(mid(41)), GetBValue(mid(41)));
    EXPECT_GT(GetBValue(mid(42)), GetRValue(mid(42)));
    EXPECT_GT(GetRValue(mid(43)), GetBValue(mid(43)));
}

TEST_F(ContentTest, MusicIsRealStereoWithQuietAndBusySections) {
    const auto& item = Loaded().Music.Items(0);
    const std::int16_t* samples = Samples(item);
    const int frames = item.Wave.Size() / 4;
    int differing = 0;
    for (int i = 0; i < frames; i += 101) {
        differing += samples[2 * i] != samples[2 * i + 1] ? 1 : 0;
    }
    EXPECT_GT(differing, frames / 101 / 2);
    // Loudness of the first and second quarters: the intro is gentler than the full beat.
    const auto rms = [&](int from, int to) {
        double sum = 0;
        for (int i = from; i < to; ++i) {
            sum += static_cast<double>(samples[2 * i]) * samples[2 * i];
        }
        return std::sqrt(sum / (to - from));
    };
    EXPECT_LT(rms(0, frames / 4) * 1.2, rms(frames / 4, frames / 2));
}

TEST_F(ContentTest, TwoRunsWriteTheSameBytes) {
    const fs::path second = Generate("again");
    for (const char* name : FileNames) {
        const auto a = Bytes(Loaded().Folder / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == Bytes(second / name)) << name;
    }
    fs::remove_all(second);
}

}  // namespace
