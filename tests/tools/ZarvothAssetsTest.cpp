// zarvoth-assets, run as a program: extract/pack round trips, listing, the contact sheet and
// the refusal of bad files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

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

namespace {

// A hostile folder: its manifest, what else it holds, and the refusal — the offending path
// (under the test's folder unless absolute) and the reason.
struct HostileFolder {
    const char* Case;
    std::string Manifest;
    std::function<void(const fs::path& in)> Fill;
    std::string Path;
    std::string Reason;
};

std::string OneItem(const char* rootClass, const std::string& rootName, const std::string& file) {
    const bool picture = std::string(rootClass) == "TPictureCollectionComponent";
    nlohmann::json manifest = {{"RootClass", rootClass}, {"Name", rootName}};
    manifest["Items"] = {{{"Name", "a"}, {picture ? "Picture" : "Wave", {{"File", file}}}}};
    return manifest.dump();
}

std::string Sound(const std::string& file) { return OneItem("TWaveCollectionComponent", "S", file); }

Bytes BigEndian(Bytes b, std::uint32_t v) {
    return b.U8(static_cast<int>(v >> 24)).U8((v >> 16) & 0xFF).U8((v >> 8) & 0xFF).U8(v & 0xFF);
}

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

// The signature and a well-formed header chunk: a decoder would set out to read the picture.
Bytes PngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes b = BigEndian(Bytes().U8(0x89).Text("PNG\r\n\x1A\n"), 13).Text("IHDR");
    b = BigEndian(BigEndian(b, width), height).U8(8).U8(2).U8(0).U8(0).U8(0);
    return BigEndian(b, Crc32(b.Data, 12));
}

}  // namespace

TEST_F(ZarvothAssets, PackRefusesAHostileFolderNamingTheFileAndWritesNothing) {
    const Bytes fmt = Chunk("fmt ", PcmFormat(11025, 8, 1));
    const Bytes data = Chunk("data", Bytes().U8(128).U8(255));
    const Bytes wave = Riff(Bytes().Raw(fmt).Raw(data));
    WriteBytes(Path("outside.wav"), wave);
    const auto file = [](const std::string& name, const Bytes& bytes) {
        return [=](const fs::path& in) { WriteBytes((in / name).string(), bytes); };
    };
    const std::vector<HostileFolder> cases = {
        {"absolute path", Sound("/dev/zero"), {}, "/dev/zero", "not a file inside the folder"},
        {"climbs out", Sound("../outside.wav"), {}, "in/../outside.wav", "not a file inside the folder"},
        {"link out", Sound("link.wav"),
         [&](const fs::path& in) { fs::create_symlink(Dir / "outside.wav", in / "link.wav"); }, "in/link.wav",
         "leads outside the folder"},
        {"pipe", Sound("pipe.wav"), [](const fs::path& in) { ASSERT_EQ(::mkfifo((in / "pipe.wav").c_str(), 0600), 0); },
         "in/pipe.wav", "not a regular file"},
        {"too large", Sound("big.wav"),
         [&](const fs::path& in) {
             WriteBytes((in / "big.wav").string(), wave);
             fs::resize_file(in / "big.wav", (std::uintmax_t{256} << 20) + 1);
         },
         "in/big.wav", "larger than 268435456 bytes"},
        {"no data", Sound("a.wav"), file("a.wav", Riff(fmt)), "in/a.wav", "no samples in a \"data\" chunk"},
        {"no format", Sound("a.wav"), file("a.wav", Riff(data)), "in/a.wav", "no \"fmt \" chunk"},
        {"chunk past the end", Sound("a.wav"), file("a.wav", Riff(Bytes().Raw(fmt).Raw(data).Text("LIST").U32(99))),
         "in/a.wav", "a chunk runs past the end of the file"},
        {"root name", OneItem("TWaveCollectionComponent", "2 lists", "a.wav"), file("a.wav", wave),
         "in/manifest.json", "Name is not an identifier of at most 255 characters"},
        {"huge picture", OneItem("TPictureCollectionComponent", "G", "a.png"), file("a.png", PngHeader(30000, 30000)),
         "in/a.png", "PNG of 30000 x 30000 pixels; each side must be 1 to 16384"},
        {"colour", R"({"RootClass":"TPictureCollectionComponent","Items":[{"TransparentColor":"-1"}]})", {},
         "in/manifest.json", "item 0: colour -1 is not 0x and up to eight hex digits"},
        {"integer", R"({"RootClass":"TPictureCollectionComponent","Items":[{},{"PatternWidth":4294967296}]})", {},
         "in/manifest.json", "item 1: not a 32-bit integer: 4294967296"},
        {"deep manifest",
         R"({"RootClass":"TWaveCollectionComponent","Items":)" + std::string(500000, '[') + std::string(500000, ']') + "}",
         {}, "in/manifest.json", "nested deeper than 32 levels"},
    };
    for (const HostileFolder& c : cases) {
        SCOPED_TRACE(c.Case);
        fs::remove_all(Dir / "in");
        fs::create_directories(Dir / "in");
        std::ofstream(Dir / "in/manifest.json") << c.Manifest;
        if (c.Fill) {
            c.Fill(Dir / "in");
        }
        const ToolOutcome outcome = Run("pack " + Path("in") + " " + Path("out"));
        EXPECT_EQ(outcome.Status, 2);
        const std::string path = c.Path[0] == '/' ? c.Path : Path(c.Path);
        EXPECT_EQ(outcome.Err, "zarvoth-assets: " + path + ": " + c.Reason + "\n");
        EXPECT_FALSE(fs::exists(Dir / "out"));
    }
}
