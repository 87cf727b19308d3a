// DIB decoding: headers, bit depths, colour tables, bit fields, run-length data, row order.
#include <gtest/gtest.h>

#include "engine/images/DIB.h"
#include "tests/engine/assets/AssetBytes.h"

namespace {

TPixelImage Decode(const Bytes& b) {
    TMemoryStream s(b.Data);
    return DecodeDIB(s);
}

std::string DecodeError(const Bytes& b) {
    try {
        Decode(b);
    } catch (const Exception& e) {
        return e.what();
    }
    return "(decoded)";
}

// A 4 x 3 test picture and its 8-bit encoding with a 4-colour table.
const TColor Palette4[4] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(10, 20, 30)};
const int Indices[3][4] = {{0, 1, 2, 3}, {3, 3, 1, 1}, {2, 0, 0, 2}};  // top row first

// A 4 x 3 picture's header with the 4-colour table, then its pixel data.
Bytes TestPicture(int height, int bits, int compression, const Bytes& data) {
    Bytes b = InfoHeader(4, height, bits, compression, static_cast<std::uint32_t>(data.Size()), 4);
    for (const TColor c : Palette4) {
        Entry(b, c);
    }
    return b.Raw(data);
}

Bytes Uncompressed8(bool topDown) {
    Bytes b;
    for (int row = 0; row < 3; ++row) {
        const int y = topDown ? row : 2 - row;
        for (const int i : Indices[y]) {
            b.U8(i);
        }
    }
    return TestPicture(topDown ? -3 : 3, 8, 0, b);
}

// A picture with the two colours black and RGB(9, 9, 9), then its pixel data.
Bytes TwoColourPicture(int width, int height, int bits, int compression, const Bytes& data) {
    Bytes b = InfoHeader(width, height, bits, compression, static_cast<std::uint32_t>(data.Size()), 2);
    Entry(b, RGB(0, 0, 0));
    Entry(b, RGB(9, 9, 9));
    return b.Raw(data);
}

void ExpectTestPicture(const TPixelImage& image) {
    ASSERT_EQ(image.Width, 4);
    ASSERT_EQ(image.Height, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(image.Pixel(x, y), Palette4[Indices[y][x]]) << x << "," << y;
        }
    }
}

}  // namespace

TEST(DIB, NegativeHeightIsTopRowFirst) {
    ExpectTestPicture(Decode(Uncompressed8(false)));
    ExpectTestPicture(Decode(Uncompressed8(true)));
}

// The table has "colours used" entries, 256 when that is 0 or above 256; an index past the
// table is black rather than a read past it.
TEST(DIB, ColourTableSizes) {
    const struct {
        std::uint32_t ColorsUsed;
        int Entries, Index;
        TColor Expected;
    } cases[] = {{0, 256, 200, RGB(200, 1, 2)},    {16, 16, 15, RGB(15, 1, 2)},       {2, 2, 9, 0},
                 {300, 256, 77, RGB(77, 1, 2)}, {100000, 256, 77, RGB(77, 1, 2)}};
    for (const auto& c : cases) {
        Bytes b = InfoHeader(1, 1, 8, 0, 0, c.ColorsUsed);
        for (int i = 0; i < c.Entries; ++i) {
            Entry(b, RGB(i, 1, 2));
        }
        b.U8(c.Index).U8(0).U8(0).U8(0);
        EXPECT_EQ(Decode(b).Pixel(0, 0), c.Expected) << c.ColorsUsed;
    }
}

TEST(DIB, OneAndFourBitsAndTheCoreHeader) {
    Bytes mono = InfoHeader(10, 1, 1);
    Entry(mono, RGB(0, 0, 0));
    Entry(mono, RGB(255, 255, 255));
    mono.U8(0b10100000).U8(0b01000000).U8(0).U8(0);
    const TPixelImage m = Decode(mono);
    EXPECT_EQ(m.Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(m.Pixel(1, 0), 0u);
    EXPECT_EQ(m.Pixel(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(m.Pixel(9, 0), RGB(255, 255, 255));

    Bytes core;
    core.U32(12).U16(3).U16(1).U16(1).U16(4);
    for (int i = 0; i < 16; ++i) {
        core.U8(i).U8(i * 2).U8(i * 3);  // 3-byte entries
    }
    core.U8(0x1F).U8(0x20).U16(0);
    const TPixelImage c = Decode(core);
    EXPECT_EQ(c.Pixel(0, 0), RGB(3, 2, 1));
    EXPECT_EQ(c.Pixel(1, 0), RGB(45, 30, 15));
    EXPECT_EQ(c.Pixel(2, 0), RGB(6, 4, 2));
}

TEST(DIB, SixteenBitsAre555WithoutBitFieldsAnd565WithThem) {
    Bytes plain = InfoHeader(2, 1, 16);
    plain.U16(0x7C00).U16(0x03FF);  // red; green + blue
    const TPixelImage p = Decode(plain);
    EXPECT_EQ(p.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(p.Pixel(1, 0), RGB(0, 255, 255));

    Bytes fields = InfoHeader(1, 1, 16, 3);
    fields.U32(0xF800).U32(0x07E0).U32(0x001F).U16(0x07E0).U16(0);
    EXPECT_EQ(Decode(fields).Pixel(0, 0), RGB(0, 255, 0));

    Bytes odd = InfoHeader(1, 1, 16, 3);
    odd.U32(0x0F00).U32(0x00F0).U32(0x000F).U32(0);
    EXPECT_EQ(DecodeError(odd), "PixelFormat in invalid");
}

TEST(DIB, TwentyFourAndThirtyTwoBits) {
    Bytes b24 = InfoHeader(1, 2, 24);
    b24.U8(1).U8(2).U8(3).U8(0).U8(4).U8(5).U8(6).U8(0);  // bottom row, then top
    const TPixelImage p = Decode(b24);
    EXPECT_EQ(p.Pixel(0, 1), RGB(3, 2, 1));
    EXPECT_EQ(p.Pixel(0, 0), RGB(6, 5, 4));

    Bytes b32 = InfoHeader(1, 1, 32);
    b32.U8(10).U8(20).U8(30).U8(99);
    EXPECT_EQ(Decode(b32).Pixel(0, 0), RGB(30, 20, 10));

    Bytes fields = InfoHeader(1, 1, 32, 3);
    fields.U32(0x000000FF).U32(0x0000FF00).U32(0x00FF0000).U8(10).U8(20).U8(30).U8(0);
    EXPECT_EQ(Decode(fields).Pixel(0, 0), RGB(10, 20, 30));
}

TEST(DIB, RunLengthPicturesMatchTheirUncompressedTwin) {
    // 8-bit: row 0 (bottom) = indices 2 0 0 2, row 1 = 3 3 1 1, row 2 = 0 1 2 3.
    Bytes rle8;
    rle8.U8(1).U8(2).U8(2).U8(0).U8(1).U8(2).U8(0).U8(0);     // encoded runs, end of line
    rle8.U8(2).U8(3).U8(2).U8(1).U8(0).U8(0);                 // runs, end of line
    rle8.U8(0).U8(4).U8(0).U8(1).U8(2).U8(3).U8(0).U8(1);     // absolute run of 4, end of bitmap
    ExpectTestPicture(Decode(TestPicture(3, 8, 1, rle8)));

    Bytes rle4;
    rle4.U8(1).U8(0x20).U8(2).U8(0x00).U8(1).U8(0x20).U8(0).U8(0);
    rle4.U8(2).U8(0x33).U8(2).U8(0x11).U8(0).U8(0);
    rle4.U8(0).U8(3).U8(0x01).U8(0x20).U8(1).U8(0x30).U8(0).U8(1);  // absolute 3 nibbles, padded; run
    ExpectTestPicture(Decode(TestPicture(3, 4, 2, rle4)));
}

TEST(DIB, EveryAcceptedBitCountTakesEveryAcceptedCompression) {
    // Bit fields at 24 bits: the masks say where the channels are (here red and blue swapped).
    Bytes fields24 = InfoHeader(1, 1, 24, 3);
    fields24.U32(0x0000FF).U32(0x00FF00).U32(0xFF0000).U8(10).U8(20).U8(30).U8(0);
    EXPECT_EQ(Decode(fields24).Pixel(0, 0), RGB(10, 20, 30));
    Bytes fields8 = InfoHeader(2, 1, 8, 3, 0, 2);
    fields8.U32(0xFF0000).U32(0x00FF00).U32(0x0000FF);
    Entry(fields8, RGB(0, 0, 0));
    Entry(fields8, RGB(9, 9, 9));
    fields8.U8(1).U8(0).U16(0);
    EXPECT_EQ(Decode(fields8).Pixels, (std::vector<TColor>{RGB(9, 9, 9), 0}));

    // Run-length data whatever the bit count: the compression names the encoding.
    struct Case {
        int BitCount;
        int Compression;
        std::vector<TColor> Expected;
    };
    const Case cases[] = {
        {24, 1, {RGB(9, 9, 9), RGB(9, 9, 9)}},  // 8-bit runs: index 1 twice
        {1, 1, {RGB(9, 9, 9), RGB(9, 9, 9)}},
        {8, 2, {0, RGB(9, 9, 9)}},  // 4-bit runs: nibbles 0 and 1
    };
    for (const Case& c : cases) {
        Bytes rle;
        rle.U8(2).U8(0x01).U8(0).U8(1);
        EXPECT_EQ(Decode(TwoColourPicture(2, 1, c.BitCount, c.Compression, rle)).Pixels, c.Expected)
            << c.BitCount << " bits, compression " << c.Compression;
    }
}

TEST(DIB, RunLengthNeverWritesOutsideThePicture) {
    Bytes rle;
    rle.U8(255).U8(1);                  // far longer than the row
    rle.U8(0).U8(2).U8(250).U8(250);    // delta far out
    rle.U8(5).U8(1);
    rle.U8(0).U8(200).U8(1);            // absolute run with missing data
    const TPixelImage image = Decode(TwoColourPicture(3, 2, 8, 1, rle));
    EXPECT_EQ(image.Pixel(0, 1), RGB(9, 9, 9));  // bottom row filled, clipped at the row end
    EXPECT_EQ(image.Pixel(2, 1), RGB(9, 9, 9));
    EXPECT_EQ(image.Pixel(0, 0), 0u);            // untouched

    Bytes delta;
    delta.U8(0).U8(2).U8(2).U8(1).U8(1).U8(1).U8(0).U8(1);  // right 2, up 1, one pixel, end
    const TPixelImage moved = Decode(TwoColourPicture(4, 2, 8, 1, delta));
    EXPECT_EQ(moved.Pixel(2, 0), RGB(9, 9, 9));
    EXPECT_EQ(moved.Pixels, (std::vector<TColor>{0, 0, RGB(9, 9, 9), 0, 0, 0, 0, 0}));
}

TEST(DIB, InvalidHeadersAndSizes) {
    EXPECT_EQ(DecodeError(Bytes().U32(64)), "DIB is invalid");
    EXPECT_EQ(DecodeError(InfoHeader(1, 1, 7)), "Bitcount in invalid (7)");
    EXPECT_EQ(DecodeError(InfoHeader(1, 1, 8, 5)), "DIB is invalid");
    EXPECT_EQ(DecodeError(InfoHeader(-1, 1, 24)), "DIB is invalid");
    EXPECT_EQ(DecodeError(InfoHeader(20000, 1, 24)), "DIB is invalid");
    EXPECT_EQ(DecodeError(InfoHeader(1, INT32_MIN, 24)), "DIB is invalid");
    EXPECT_EQ(DecodeError(InfoHeader(16384, 16384, 1)), "DIB is invalid");  // over the pixel cap
    EXPECT_EQ(DecodeError(InfoHeader(4, 4, 24)), "Stream read error");     // rows missing
    EXPECT_EQ(DecodeError(InfoHeader(4, 4, 8, 1, 1000, 1).U32(0)), "Stream read error");
    EXPECT_EQ(DecodeError(Bytes().U32(40).U32(1)), "Stream read error");
    EXPECT_TRUE(Decode(Bytes()).Empty());
}

TEST(DIB, EncodingPicksEightOrTwentyFourBits) {
    TPixelImage few{3, 2, {1, 2, 3, 3, 2, 1}};
    const std::vector<std::uint8_t> eight = EncodeDIB(few);
    EXPECT_EQ(eight[14], 8);
    EXPECT_EQ(eight.size(), 40u + 1024u + 2u * 4u);
    TMemoryStream s(eight);
    EXPECT_EQ(DecodeDIB(s).Pixels, few.Pixels);

    TPixelImage many{257, 1, {}};
    for (int i = 0; i < 257; ++i) {
        many.Pixels.push_back(RGB(i, i >> 8, 5));
    }
    const std::vector<std::uint8_t> deep = EncodeDIB(many);
    EXPECT_EQ(deep[14], 24);
    TMemoryStream s2(deep);
    EXPECT_EQ(DecodeDIB(s2).Pixels, many.Pixels);
}
