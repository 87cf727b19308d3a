// Waves: the RIFF image, the 8096-byte blocks and sound files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/sound/WaveCollection.h"
#include "tests/engine/assets/AssetBytes.h"

namespace {

std::string WaveError(const Bytes& image) {
    TWave wave;
    TMemoryStream s(image.Data);
    try {
        wave.LoadFromStream(s);
    } catch (const Exception& e) {
        return e.what();
    }
    return "(loaded)";
}

}  // namespace

TEST(WaveImage, ReadsFormatAndSamplesSkippingOtherChunks) {
    Bytes chunks;
    chunks.Raw(Chunk("fmt ", PcmFormat(22050, 8, 1))).Raw(Chunk("LIST", Bytes().Text("abc")));  // odd, no pad
    chunks.Raw(Chunk("data", Bytes().U8(1).U8(2).U8(3)));
    TWave wave;
    TMemoryStream s(Riff(chunks).Data);
    wave.LoadFromStream(s);
    EXPECT_EQ(wave.FormatTag(), 1);
    EXPECT_EQ(wave.Channels(), 1);
    EXPECT_EQ(wave.SamplesPerSec(), 22050);
    EXPECT_EQ(wave.BitsPerSample(), 8);
    EXPECT_EQ(wave.FormatSize(), 16);
    ASSERT_EQ(wave.Size(), 3);
    EXPECT_EQ(wave.Data()[2], 3);
}

TEST(WaveImage, MissingDataChunkGivesAnEmptyWave) {
    TWave wave;
    TMemoryStream s(Riff(Chunk("fmt ", PcmFormat(11025, 16, 2))).Data);
    wave.LoadFromStream(s);
    EXPECT_EQ(wave.Size(), 0);
    EXPECT_EQ(wave.Channels(), 2);
    EXPECT_FALSE(wave.HasData());
}

TEST(WaveImage, BadImagesAreRefused) {
    EXPECT_EQ(WaveError(Bytes().Text("RIFX").U32(4).Text("WAVE")), "Wave is invalid");
    EXPECT_EQ(WaveError(Bytes().Text("RIFF").U32(4).Text("AVI ")), "Wave is invalid");
    EXPECT_EQ(WaveError(Bytes().Text("RIFF")), "Wave is invalid");
    EXPECT_EQ(WaveError(Bytes()), "Wave is invalid");
    // Stated lengths beyond the image.
    EXPECT_EQ(WaveError(Riff(Bytes().Text("fmt ").U32(1000).U16(1))), "Stream read error");
    EXPECT_EQ(WaveError(Riff(Bytes().Text("data").U32(0xFFFFFFF0u).U8(1))), "Stream read error");
    // A skipped chunk running off the end just ends the chunk list.
    EXPECT_EQ(WaveError(Riff(Bytes().Text("junk").U32(0xFFFFFFF0u))), "(loaded)");
}

TEST(WaveImage, WritesFmtThenDataAndNothingWhenEmpty) {
    TWave wave;
    wave.SetPCM(8000, 16, 1, {1, 2, 3, 4});
    TMemoryStream out;
    wave.SaveToStream(out);
    const Bytes expected = Riff(Bytes()
                                    .Raw(Chunk("fmt ", PcmFormat(8000, 16, 1).U16(0)))
                                    .Raw(Chunk("data", Bytes().U8(1).U8(2).U8(3).U8(4))));
    EXPECT_EQ(out.Data(), expected.Data);

    TWave empty;
    empty.SetPCM(8000, 16, 1, {});
    TMemoryStream none;
    empty.SaveToStream(none);
    EXPECT_EQ(none.Size(), 0u);
}

TEST(WaveImage, SampleMemoryGrowsIn8096ByteBlocks) {
    TWave wave;
    wave.SetSize(1);
    EXPECT_EQ(wave.Capacity(), 8096u);
    wave.Data()[0] = 42;
    const std::uint8_t* block = wave.Data();
    wave.SetSize(8096);
    EXPECT_EQ(wave.Data(), block);  // same block count: no reallocation
    wave.SetSize(8097);
    EXPECT_EQ(wave.Capacity(), 2u * 8096u);
    EXPECT_EQ(wave.Data()[0], 42);
    wave.SetSize(0);
    EXPECT_EQ(wave.Capacity(), 0u);

    TWave copy;
    wave.SetPCM(44100, 8, 1, std::vector<std::uint8_t>(10000, 7));
    copy = wave;
    EXPECT_EQ(copy.Size(), 10000);
    EXPECT_EQ(copy.Format(), wave.Format());
    EXPECT_EQ(copy.Data()[9999], 7);
}

TEST(WaveImage, AStreamOpensOnce) {
    TMemoryStream s(Riff(Chunk("fmt ", PcmFormat(8000, 8, 1))).Data);
    TWaveStream stream(s);
    stream.OpenRead();
    EXPECT_THAT([&] { stream.OpenRead(); }, testing::ThrowsMessage<EWaveError>("Stream is already open"));
    EXPECT_THROW(stream.OpenWrite(), EWaveError);
    stream.Close();
    s.Seek(0);
    EXPECT_NO_THROW(stream.OpenRead());
}

TEST(SoundFile, ReadsItemsAndSavesThemBack) {
    Bytes image = Riff(Bytes().Raw(Chunk("fmt ", PcmFormat(22050, 8, 1))).Raw(Chunk("data", Bytes().U8(9).U8(8))));
    Bytes item;
    item.Str("Name", "Phaser").Bool("Looped", true).Int8("MaxPlayingCount", -3).Binary("Wave.WAVE", image);
    Bytes second;
    second.Str("Name", "Silent").Int8("MaxPlayingCount", 4);
    TWaveCollection list;
    TMemoryStream s(SoundFile({item, second}).Data);
    list.LoadFromStream(s);
    ASSERT_EQ(list.Count(), 2);
    const TWaveCollectionItem& phaser = list.Items(0);
    EXPECT_EQ(phaser.Name, "Phaser");
    EXPECT_TRUE(phaser.Looped());
    EXPECT_EQ(phaser.MaxPlayingCount(), 0);  // negative becomes 0
    EXPECT_EQ(phaser.Wave.Size(), 2);
    EXPECT_EQ(list.Items(1).MaxPlayingCount(), 4);
    EXPECT_THROW(list.Items(2), EListError);

    TMemoryStream saved;
    list.SaveToStream(saved);
    TWaveCollection copy;
    saved.Seek(0);
    copy.LoadFromStream(saved);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.ComponentName, "DXWaveList1");
    EXPECT_EQ(copy.Items(0).Wave.Format(), phaser.Wave.Format());
    EXPECT_EQ(copy.Items(0).Wave.Data()[1], 8);
    EXPECT_TRUE(copy.Items(0).Looped());
    EXPECT_EQ(copy.Items(1).Wave.Size(), 0);
}

TEST(SoundFile, BadWavePayloadNamesTheItemProperty) {
    Bytes item;
    item.Binary("Wave.WAVE", Bytes().Text("RIFF").U32(0).Text("WAV_"));
    TWaveCollection list;
    TMemoryStream s(SoundFile({item}).Data);
    EXPECT_THAT([&] { list.LoadFromStream(s); },
                testing::ThrowsMessage<Exception>("Error reading TWaveCollectionItem.Wave.WAVE: Wave is invalid"));
    EXPECT_EQ(list.Count(), 0);
}
