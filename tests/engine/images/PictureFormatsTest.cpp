// Picture payload classes other than "TDIB": JPEG, BMP file and icon, and building pictures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/images/Graphics.h"
#include "engine/images/JPEGImage.h"
#include "tests/engine/assets/AssetBytes.h"
#include "tests/engine/images/JPEGSupport.h"

namespace {

void LoadPayload(TPicture& picture, const Bytes& payload) {
    TMemoryStream s(payload.Data);
    picture.LoadFromData(s);
}

// 2 x 2, 24 bits, bottom-up: bottom row blue, green; top row red, white.
Bytes Dib24() {
    Bytes b = InfoHeader(2, 2, 24);
    b.U8(255).U8(0).U8(0).U8(0).U8(255).U8(0).U16(0);
    b.U8(0).U8(0).U8(255).U8(255).U8(255).U8(255).U16(0);
    return b;
}

void ExpectDib24(const TPicture& p) {
    ASSERT_EQ(p.Width(), 2);
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(p.Pixels(), (std::vector<TColor>{RGB(255, 0, 0), RGB(255, 255, 255), RGB(0, 0, 255), RGB(0, 255, 0)}));
}

}  // namespace

TEST(JPEGPicture, DecodesExactlyAsLibjpegDoes) {
    const std::vector<std::uint8_t> colour = CompressJPEG(37, 21, GradientPixels(37, 21));
    TPicture picture;
    LoadPayload(picture, Sized("TJPEGImage", colour));
    EXPECT_EQ(picture.GraphicClass(), "TJPEGImage");
    EXPECT_EQ(picture.Width(), 37);
    EXPECT_EQ(picture.Height(), 21);
    EXPECT_EQ(picture.Pixels(), ReferenceDecodeJPEG(colour));

    const std::vector<std::uint8_t> gray = CompressJPEG(8, 8, GradientPixels(8, 8), true);
    LoadPayload(picture, Sized("TJPEGImage", gray));
    EXPECT_EQ(picture.Pixels(), ReferenceDecodeJPEG(gray));
    EXPECT_EQ(GetRValue(picture.Pixel(3, 5)), GetBValue(picture.Pixel(3, 5)));
}

TEST(JPEGPicture, CorruptStreamsRaiseAJPEGError) {
    std::vector<std::uint8_t> data = CompressJPEG(16, 16, GradientPixels(16, 16));
    std::vector<std::uint8_t> cut(data.begin(), data.begin() + 20);
    EXPECT_THROW(DecodeJPEG(cut), EJPEGError);
    EXPECT_THROW(DecodeJPEG({0x00, 0x01, 0x02}), EJPEGError);
    EXPECT_THAT([] { DecodeJPEG({}); }, testing::ThrowsMessage<EJPEGError>(testing::StartsWith("JPEG error #")));
    // Image larger than the picture limits: refused at the header.
    std::vector<std::uint8_t> wide = data;
    for (std::size_t i = 0; i + 8 < wide.size(); ++i) {
        if (wide[i] == 0xFF && wide[i + 1] == 0xC0) {  // start of frame: height, width at +5, +7
            wide[i + 5] = 0xFF;
            wide[i + 6] = 0xFF;
            wide[i + 7] = 0xFF;
            wide[i + 8] = 0xFF;
            break;
        }
    }
    EXPECT_THROW(DecodeJPEG(wide), EJPEGError);
}

TEST(BitmapPicture, ReadsABmpFileHonouringItsPixelOffset) {
    Bytes file;
    const Bytes dib = Dib24();
    file.Text("BM").U32(static_cast<std::uint32_t>(14 + dib.Size())).U32(0).U32(54).Raw(dib);
    TPicture picture;
    LoadPayload(picture, Sized("TBitmap", file.Data));
    EXPECT_EQ(picture.GraphicClass(), "TBitmap");
    ExpectDib24(picture);

    // Pixels placed 6 bytes after the header, as the offset says.
    Bytes gap;
    Bytes header = InfoHeader(2, 2, 24);
    gap.Text("BM").U32(0).U32(0).U32(60).Raw(header).U32(0).U16(0);
    gap.Raw(std::vector<std::uint8_t>(dib.Data.begin() + 40, dib.Data.end()));
    LoadPayload(picture, Sized("TBitmap", gap.Data));
    ExpectDib24(picture);

    EXPECT_THROW(LoadPayload(picture, Sized("TBitmap", Bytes().Text("XX").U32(0).Data)), EInvalidGraphic);
    EXPECT_THROW(LoadPayload(picture, Bytes().Short("TBitmap").U32(1000).U8(1)), EReadError);
}

// Image tools write BMP files with the 108- and 124-byte headers, whose bit-field masks sit in
// the header itself.
TEST(BitmapPicture, ReadsTheLongerHeadersOfImageToolsAndTheirMasks) {
    for (const std::uint32_t headerSize : {108u, 124u}) {
        Bytes header;
        header.U32(headerSize).U32(2).U32(1).U16(1).U16(32).U32(3).U32(8).U32(0).U32(0).U32(0).U32(0);
        header.U32(0x0000FF00).U32(0x00FF0000).U32(0xFF000000).U32(0x000000FF);  // red, green, blue, alpha
        header.Raw(std::vector<std::uint8_t>(headerSize - 56, 0));
        Bytes file;
        const auto offset = static_cast<std::uint32_t>(14 + headerSize);
        file.Text("BM").U32(offset + 8).U32(0).U32(offset).Raw(header);
        file.U8(0xFF).U8(1).U8(2).U8(3).U8(0xFF).U8(4).U8(5).U8(6);  // alpha, red, green, blue
        TPicture picture;
        LoadPayload(picture, Sized("TBitmap", file.Data));
        ASSERT_EQ(picture.Width(), 2) << headerSize;
        EXPECT_EQ(picture.Pixel(0, 0), RGB(1, 2, 3)) << headerSize;
        EXPECT_EQ(picture.Pixel(1, 0), RGB(4, 5, 6)) << headerSize;

        // A bare "TDIB" picture keeps to the two headers it has always had.
        TMemoryStream bare(header.Data);
        EXPECT_THROW(DecodeDIB(bare), EInvalidGraphic);
    }
}

TEST(IconPicture, FirstImageWithoutItsMask) {
    Bytes image = InfoHeader(2, 4, 24);  // height doubled: colour rows + AND mask
    const Bytes dib = Dib24();
    image.Raw(std::vector<std::uint8_t>(dib.Data.begin() + 40, dib.Data.end()));
    image.U32(0).U32(0);  // AND mask rows
    Bytes icon;
    icon.U16(0).U16(1).U16(1);
    icon.U8(2).U8(2).U8(0).U8(0).U16(1).U16(24).U32(static_cast<std::uint32_t>(image.Size())).U32(22);
    icon.Raw(image);
    TPicture picture;
    LoadPayload(picture, Sized("TIcon", icon.Data));
    EXPECT_EQ(picture.GraphicClass(), "TIcon");
    ExpectDib24(picture);

    Bytes badOffset = icon;
    badOffset.Data[18] = 0xF0;
    EXPECT_THROW(LoadPayload(picture, Sized("TIcon", badOffset.Data)), EInvalidIcon);
    Bytes png = icon;
    png.Data[22] = 0x89;  // a PNG-compressed image
    EXPECT_THROW(LoadPayload(picture, Sized("TIcon", png.Data)), EInvalidIcon);
}

TEST(Picture, AssignPixelsStoresEightOrTwentyFourBitDIBs) {
    TPicture picture;
    picture.AssignPixels(2, 1, {RGB(1, 2, 3), 0xFF000000u | RGB(4, 5, 6)});
    EXPECT_EQ(picture.GraphicClass(), "TDIB");
    EXPECT_EQ(picture.Pixel(1, 0), RGB(4, 5, 6));  // the high byte is not a colour
    TMemoryStream out;
    picture.SaveToData(out);
    EXPECT_EQ(out.Data()[5 + 14], 8);  // bit count after "TDIB" and 14 header bytes

    EXPECT_THROW(picture.AssignPixels(2, 2, {1, 2, 3}), EInvalidGraphic);
    EXPECT_THROW(picture.AssignPixels(20000, 1, std::vector<TColor>(20000)), EInvalidGraphic);
    picture.AssignPixels(0, 0, {});
    EXPECT_TRUE(picture.Empty());
}

TEST(Picture, NonDIBPicturesAreWrittenAsDIBs) {
    Bytes file;
    file.Text("BM").U32(0).U32(0).U32(54).Raw(Dib24());
    TPicture picture;
    LoadPayload(picture, Sized("TBitmap", file.Data));
    TMemoryStream out;
    picture.SaveToData(out);
    out.Seek(0);
    TPicture copy;
    copy.LoadFromData(out);
    EXPECT_EQ(copy.GraphicClass(), "TDIB");
    ExpectDib24(copy);
}
