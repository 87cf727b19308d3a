// zarvoth-assets, run as a program: extract/pack round trips, listing, the contact sheet and
// the refusal of bad files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "platform/ImageFile.h"
#include "tests/engine/assets/AssetBytes.h"
#include "tests/engine/images/JPEGSupport.h"
#include "tests/tools/ToolRun.h"

namespace fs = std::filesystem;

namespace {

class ZarvothAssets : public testing::Test {
protected:
    fs::path Dir;

    void SetUp() override {
        Dir = fs::path(testing::TempDir()) / ("zarvoth_assets_" + std::to_string(::getpid()) + "_" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    ToolOutcome Run(const std::string& args) { return RunTool("zarvoth-assets", args, Dir); }

    std::string Path(const std::string& name) const { return (Dir / name).string(); }

    // Extracts the file to a/, packs a/ into packed, and extracts that to b/.
    void ExtractPackExtract(const std::string& source, const std::string& packed) {
        ASSERT_EQ(Run("extract " + source + " " + Path("a")).Status, 0);
        ASSERT_EQ(Run("pack " + Path("a") + " " + Path(packed)).Status, 0);
        ASSERT_EQ(Run("extract " + Path(packed) + " " + Path("b")).Status, 0);
    }
};

// A graphics file with a paletted picture, a deep-colour one with patterns and skips, a JPEG,
// an item without picture, and a colour table.
std::string MakeGraphicsFile(const std::string& path) {
    TPictureCollection list;
    list.ComponentName = "DXImageList1";
    list.ColorTable.assign(TPictureCollection::ColorTableSize, 0x5A);
    TPictureCollectionItem& cursor = list.Add();
    cursor.Name = "Cursor";
    cursor.TransparentColor = RGB(252, 2, 252);
    cursor.Picture.AssignPixels(3, 2, {RGB(252, 2, 252), 1, 2, 3, 4, RGB(252, 2, 252)});
    TPictureCollectionItem& ships = list.Add();
    ships.Name = "Ships";
    ships.PatternWidth = 20;
    ships.PatternHeight = 10;
    ships.SkipWidth = 4;
    ships.SkipHeight = 2;
    ships.SystemMemory = true;
    ships.Transparent = false;
    ships.Picture.AssignPixels(44, 22, GradientPixels(44, 22));  // 968 colours: 24-bit
    list.Add().Name = "Nothing";
    list.SaveToFile(path);
    return path;
}

std::string MakeJPEGFile(const std::string& path) {
    const Bytes jpeg = Sized("TJPEGImage", CompressJPEG(9, 7, GradientPixels(9, 7)));
    WriteBytes(path, GraphicsFile({Bytes().Str("Name", "Photo").Binary("Picture.Data", jpeg)}));
    return path;
}

std::string MakeSoundFile(const std::string& path) {
    TWaveCollection list;
    list.ComponentName = "DXWaveList2";
    TWaveCollectionItem& music = list.Add();
    music.Name = "Music";
    music.SetLooped(true);
    std::vector<std::uint8_t> samples(20000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::uint8_t>(i * 7);
    }
    music.Wave.SetPCM(22050, 16, 2, samples);
    TWaveCollectionItem& beep = list.Add();
    beep.Name = "Beep";
    beep.SetMaxPlayingCount(3);
    beep.Wave.SetPCM(11025, 8, 1, {128, 255, 0});
    list.SaveToFile(path);
    return path;
}

platform::RgbImage Png(const std::string& path) {
    platform::RgbImage image;
    std::string error;
    EXPECT_TRUE(platform::LoadPng(path, image, error)) << error;
    return image;
}

}  // namespace

TEST_F(ZarvothAssets, ExtractPackExtractKeepsManifestPixelsAndColourTable) {
    const std::string source = MakeGraphicsFile(Path("g.dxg"));
    ASSERT_NO_FATAL_FAILURE(ExtractPackExtract(source, "packed.dxg"));
    const std::string manifest = ReadText(Dir / "a/manifest.json");
    EXPECT_EQ(manifest, ReadText(Dir / "b/manifest.json"));
    const auto json = nlohmann::json::parse(manifest);
    EXPECT_EQ(json["RootClass"], "TPictureCollectionComponent");
    EXPECT_EQ(json["Name"], "DXImageList1");
    ASSERT_EQ(json["Items"].size(), 3u);
    EXPECT_EQ(json["Items"][1]["SkipWidth"], 4);
    EXPECT_EQ(json["Items"][1]["SystemMemory"], true);
    EXPECT_EQ(json["Items"][0]["TransparentColor"], "0xFC02FC");
    EXPECT_TRUE(json["Items"][2]["Picture"].is_null());

    TPictureCollection original;
    original.LoadFromFile(source);
    for (const char* png : {"000.png", "001.png"}) {
        const platform::RgbImage a = Png((Dir / "a" / png).string());
        EXPECT_EQ(a.Pixels, Png((Dir / "b" / png).string()).Pixels);
    }
    EXPECT_EQ(Png((Dir / "a/001.png").string()).Pixels, original.Items(1).Picture.Pixels());
    EXPECT_FALSE(fs::exists(Dir / "a/002.png"));

    TPictureCollection packed;
    packed.LoadFromFile(Path("packed.dxg"));
    EXPECT_EQ(packed.ColorTable, original.ColorTable);
    EXPECT_EQ(packed.Items(0).Picture.Pixels(), original.Items(0).Picture.Pixels());
}

TEST_F(ZarvothAssets, JPEGPicturesAreExtractedAsDecoded) {
    const std::string source = MakeJPEGFile(Path("photo.dxg"));
    ASSERT_EQ(Run("extract " + source + " " + Path("a")).Status, 0);
    TPictureCollection list;
    list.LoadFromFile(source);
    EXPECT_EQ(Png((Dir / "a/000.png").string()).Pixels, list.Items(0).Picture.Pixels());
    ASSERT_EQ(Run("pack " + Path("a") + " " + Path("p.dxg")).Status, 0);
    TPictureCollection packed;
    packed.LoadFromFile(Path("p.dxg"));
    EXPECT_EQ(packed.Items(0).Picture.GraphicClass(), "TDIB");
    EXPECT_EQ(packed.Items(0).Picture.Pixels(), list.Items(0).Picture.Pixels());
}

TEST_F(ZarvothAssets, SoundsRoundTripWithTheirSamples) {
    const std::string source = MakeSoundFile(Path("s.dxw"));
    ASSERT_NO_FATAL_FAILURE(ExtractPackExtract(source, "packed.dxw"));
    EXPECT_EQ(ReadText(Dir / "a/manifest.json"), ReadText(Dir / "b/manifest.json"));
    EXPECT_EQ(ReadText(Dir / "a/000.wav"), ReadText(Dir / "b/000.wav"));
    EXPECT_EQ(ReadText(Dir / "a/000.wav").substr(0, 4), "RIFF");
    EXPECT_EQ(ReadText(source), ReadText(Dir / "packed.dxw"));  // nothing was re-encoded
}

TEST_F(ZarvothAssets, ListsOneLinePerItem) {
    const ToolOutcome pictures = Run("list " + MakeGraphicsFile(Path("g.dxg")));
    ASSERT_EQ(pictures.Status, 0);
    EXPECT_NE(pictures.Out.find("001 \"Ships\""), std::string::npos) << pictures.Out;
    EXPECT_NE(pictures.Out.find("44x22"), std::string::npos);
    EXPECT_NE(pictures.Out.find("pattern 20x10 count 4 skip 4,2 transparent no"), std::string::npos) << pictures.Out;
    EXPECT_NE(pictures.Out.find("(none)"), std::string::npos) << pictures.Out;
    const ToolOutcome sounds = Run("list " + MakeSoundFile(Path("s.dxw")));
    ASSERT_EQ(sounds.Status, 0);
    EXPECT_NE(sounds.Out.find("looped yes max 0 format 1 rate 22050 channels 2 bits 16 length 20000"), std::string::npos)
        << sounds.Out;
    EXPECT_EQ(std::count(sounds.Out.begin(), sounds.Out.end(), '\n'), 2);
}

// A root written with a prefix byte and a position integer (as a child would be) is still read.
TEST_F(ZarvothAssets, ASoundFileWhoseRootCarriesAPositionIsASoundFile) {
    std::string bytes = ReadText(MakeSoundFile(Path("s.dxw")));
    const std::size_t signature = bytes.find("TPF0");
    ASSERT_NE(signature, std::string::npos);
    bytes.insert(signature + 4, "\xF2\x02\x05");  // flags with "position follows", int8 5
    std::ofstream(Path("prefixed.dxw"), std::ios::binary) << bytes;
    const ToolOutcome sounds = Run("list " + Path("prefixed.dxw"));
    ASSERT_EQ(sounds.Status, 0) << sounds.Err;
    EXPECT_NE(sounds.Out.find("looped yes max 0 format 1 rate 22050"), std::string::npos) << sounds.Out;
}

TEST_F(ZarvothAssets, ContactSheetShowsEveryPictureWithItsPatternGrid) {
    const std::string source = MakeGraphicsFile(Path("g.dxg"));
    ASSERT_EQ(Run("sheet " + source + " " + Path("sheet.png")).Status, 0);
    const platform::RgbImage sheet = Png(Path("sheet.png"));
    EXPECT_EQ(sheet.Width, 1024);
    EXPECT_GT(sheet.Height, 22);
    EXPECT_NE(std::find(sheet.Pixels.begin(), sheet.Pixels.end(), RGB(255, 255, 0)), sheet.Pixels.end());  // grid
    // The cursor's transparent colour is shown as a checkerboard, not as itself.
    EXPECT_EQ(std::find(sheet.Pixels.begin(), sheet.Pixels.end(), RGB(252, 2, 252)), sheet.Pixels.end());
    EXPECT_NE(std::find(sheet.Pixels.begin(), sheet.Pixels.end(), RGB(255, 255, 255)), sheet.Pixels.end());  // digits
}

TEST_F(ZarvothAssets, BadFilesAreRefusedWithTheReadersMessage) {
    WriteBytes(Path("bad.dxg"), GraphicsFile({Bytes().Str("Name", "A").Int8("Bogus", 1)}));
    const ToolOutcome bad = Run("list " + Path("bad.dxg"));
    EXPECT_EQ(bad.Status, 2);
    EXPECT_EQ(bad.Err, "zarvoth-assets: " + Path("bad.dxg") +
                           ": Error reading TPictureCollectionItem.Bogus: Property Bogus does not exist\n");
    const ToolOutcome missing = Run("extract " + Path("none.dxg") + " " + Path("x"));
    EXPECT_EQ(missing.Status, 2);
    EXPECT_EQ(missing.Err, "zarvoth-assets: " + Path("none.dxg") + ": Cannot open file " + Path("none.dxg") + "\n");
    std::ofstream(Path("short.dxw"), std::ios::binary) << "\xFF\x0A";
    const ToolOutcome truncated = Run("sheet " + Path("short.dxw") + " " + Path("s.png"));
    EXPECT_EQ(truncated.Status, 2);
    EXPECT_NE(truncated.Err.find("Invalid stream format"), std::string::npos);
}
