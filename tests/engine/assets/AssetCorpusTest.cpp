// The fuzz seeds for the asset reader: small valid graphics and sound files covering each
// picture class and DIB form. The committed seeds must equal what is generated here; set
// ZARVOTH_WRITE_ASSET_CORPUS to a directory to (re)write them there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "tests/engine/assets/AssetBytes.h"
#include "tests/engine/images/JPEGSupport.h"

namespace {

Bytes Item(const std::string& name, const Bytes& payload) {
    Bytes item;
    item.Str("Name", name).Int8("PatternHeight", 2).Int8("PatternWidth", 2).Binary("Picture.Data", payload);
    item.Int8("SkipHeight", 1).Bool("SystemMemory", false).Bool("Transparent", true).Ident("TransparentColor", "clFuchsia");
    return item;
}

Bytes SmallPalette(Bytes b, int entries) {
    for (int i = 0; i < entries; ++i) {
        Entry(b, RGB(i * 40, 255 - i * 30, i * 7));
    }
    return b;
}

std::map<std::string, Bytes> Seeds() {
    std::map<std::string, Bytes> seeds;
    Bytes dib8 = SmallPalette(InfoHeader(4, 2, 8, 0, 8, 4), 4);
    dib8.U8(0).U8(1).U8(2).U8(3).U8(3).U8(2).U8(1).U8(0);
    Bytes rle8 = SmallPalette(InfoHeader(4, 2, 8, 1, 12, 4), 4);
    rle8.U8(4).U8(1).U8(0).U8(0).U8(0).U8(4).U8(0).U8(1).U8(2).U8(3).U8(0).U8(1);
    Bytes rle4 = SmallPalette(InfoHeader(4, -2, 4, 2, 12, 4), 4);
    rle4.U8(4).U8(0x12).U8(0).U8(0).U8(0).U8(2).U8(1).U8(0).U8(0).U8(3).U8(0x23).U8(0x10).U8(0).U8(1);
    Bytes dib16 = InfoHeader(2, 2, 16, 3);
    dib16.U32(0xF800).U32(0x07E0).U32(0x001F).U16(0xF800).U16(0x07E0).U16(0x001F).U16(0xFFFF);
    Bytes core;
    core.U32(12).U16(8).U16(1).U16(1).U16(1).U8(0).U8(0).U8(0).U8(255).U8(255).U8(255).U8(0xA5).U8(0).U8(0).U8(0);
    Bytes bmp;
    Bytes dib32 = InfoHeader(2, 1, 32);
    dib32.U32(0x00FF0000).U32(0x0000FF00);
    bmp.Text("BM").U32(static_cast<std::uint32_t>(14 + dib32.Size())).U32(0).U32(54).Raw(dib32);
    Bytes icon;
    Bytes iconImage = InfoHeader(1, 2, 24);
    iconImage.U8(1).U8(2).U8(3).U8(0).U32(0);
    icon.U16(0).U16(1).U16(1).U8(1).U8(1).U8(0).U8(0).U16(1).U16(24).U32(static_cast<std::uint32_t>(iconImage.Size())).U32(22).Raw(iconImage);

    seeds["dib-forms.dxg"] = GraphicsFile({Item("Eight", DIBPayload(dib8)), Item("RunLength8", DIBPayload(rle8)),
                                           Item("RunLength4", DIBPayload(rle4)), Item("Sixteen", DIBPayload(dib16)),
                                           Item("Core", DIBPayload(core))});
    seeds["other-classes.dxg"] = GraphicsFile({Item("Bitmap", Sized("TBitmap", bmp.Data)), Item("Icon", Sized("TIcon", icon.Data)),
                                               Item("Meta", Sized("TMetafile", {}))});
    seeds["jpeg.dxg"] = GraphicsFile({Item("Jpeg", Sized("TJPEGImage", CompressJPEG(8, 8, GradientPixels(8, 8))))});

    Bytes wave;
    wave.Text("RIFF").U32(46).Text("WAVE").Text("fmt ").U32(16).U16(1).U16(1).U32(8000).U32(8000).U16(1).U16(8);
    wave.Text("data").U32(6).U8(128).U8(200).U8(255).U8(128).U8(56).U8(0);
    seeds["sound.dxw"] = SoundFile(
        {Bytes().Str("Name", "Beep").Bool("Looped", false).Int8("MaxPlayingCount", 2).Binary("Wave.WAVE", wave)});
    return seeds;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(AssetCorpus, SeedsLoadAndMatchTheCommittedCorpus) {
    const std::filesystem::path committed = std::filesystem::path(ZARVOTH_SOURCE_DIR) / "fuzz/corpus/asset_reader";
    const char* target = std::getenv("ZARVOTH_WRITE_ASSET_CORPUS");
    for (const auto& [name, seed] : Seeds()) {
        TMemoryStream stream(seed.Data);
        if (name.ends_with(".dxw")) {
            TWaveCollection sounds;
            ASSERT_NO_THROW(sounds.LoadFromStream(stream)) << name;
            EXPECT_EQ(sounds.Items(0).Wave.Size(), 6);
        } else {
            TPictureCollection pictures;
            ASSERT_NO_THROW(pictures.LoadFromStream(stream)) << name;
            for (int i = 0; i < pictures.Count(); ++i) {
                EXPECT_EQ(pictures.Items(i).Picture.Empty(), pictures.Items(i).Name == "Meta") << name << " " << i;
            }
        }
        EXPECT_LT(seed.Size(), 4096u) << name;
        if (target != nullptr) {
            WriteBytes((std::filesystem::path(target) / name).string(), seed);
        } else {
            EXPECT_EQ(ReadFile(committed / name), seed.Data) << name << " differs from the committed seed";
        }
    }
}
