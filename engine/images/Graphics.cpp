// Graphics: the picture payload classes and TPicture's reading and writing of them.
#include "engine/images/Graphics.h"

#include <cstring>

#include "engine/images/JPEGImage.h"

namespace {

constexpr std::uint16_t IconType = 1;
constexpr std::uint16_t CursorType = 2;

std::string ReadShortString(TMemoryStream& stream) {
    const std::vector<std::uint8_t> bytes = stream.ReadBytes(stream.ReadU8());
    return std::string(bytes.begin(), bytes.end());
}

// Length-prefixed data of "TBitmap", "TJPEGImage" and "TIcon".
std::vector<std::uint8_t> ReadSizedData(TMemoryStream& stream) { return stream.ReadBytes(stream.ReadU32()); }

[[noreturn]] void RaiseInvalidIcon() { throw EInvalidIcon("Icon image is not valid"); }

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

TPixelImage DecodeBitmapFile(TMemoryStream& stream) {
    char signature[2] = {};
    if (stream.Read(signature, 2) != 2 || signature[0] != 'B' || signature[1] != 'M') {
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    stream.ReadU32();  // file size
    stream.ReadU32();  // reserved
    const std::uint32_t pixelOffset = stream.ReadU32();
    return DecodeDIB(stream, TBitmapFileFrame{pixelOffset});
}

TPixelImage DecodeIconFile(TMemoryStream& stream) {
    const std::size_t start = stream.Position();
    const std::uint16_t reserved = stream.ReadU16();
    const std::uint16_t type = stream.ReadU16();
    const std::uint16_t count = stream.ReadU16();
    if (reserved != 0 || (type != IconType && type != CursorType) || count == 0) {
        RaiseInvalidIcon();
    }
    stream.Skip(8);  // width, height, colour count, reserved, planes/hotspot, bit count/hotspot
    const std::uint32_t size = stream.ReadU32();
    const std::uint32_t offset = stream.ReadU32();
    if (offset > stream.Size() - start || size > stream.Size() - start - offset) {
        RaiseInvalidIcon();
    }
    stream.Seek(start + offset);
    std::vector<std::uint8_t> image = stream.ReadBytes(size);
    // The stored height covers the colour rows and the AND mask below them: keep the colour rows.
    if (image.size() >= 40 && std::memcmp(image.data(), "\x28\0\0\0", 4) == 0) {
        std::int32_t height = 0;
        std::memcpy(&height, image.data() + 8, 4);
        PutU32(image, 8, static_cast<std::uint32_t>(height / 2));
    } else if (image.size() >= 12 && std::memcmp(image.data(), "\x0C\0\0\0", 4) == 0) {
        const auto height = static_cast<std::uint16_t>((image[6] | (image[7] << 8)) / 2);
        image[6] = static_cast<std::uint8_t>(height);
        image[7] = static_cast<std::uint8_t>(height >> 8);
    } else {
        RaiseInvalidIcon();  // also PNG-compressed icon images
    }
    TMemoryStream dib(std::move(image));
    return DecodeDIB(dib);
}

void TPicture::DefineProperties(TPropertyList& list) {
    list.Binary(
        "Data", [this](TMemoryStream& s) { LoadFromData(s); }, [this](TMemoryStream& s) { SaveToData(s); },
        [this] { return !Empty(); });
}

void TPicture::Clear() {
    Graphic.clear();
    Image = TPixelImage{};
    DIBData.clear();
}

void TPicture::AssignPixels(int width, int height, std::vector<TColor> pixels) {
    CheckPictureSize(width, height);
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw EInvalidGraphic("DIB is invalid");
    }
    for (TColor& c : pixels) {
        c &= 0xFFFFFF;
    }
    Clear();
    Image = TPixelImage{width, height, std::move(pixels)};
    if (!Image.Empty()) {
        Graphic = "TDIB";
        DIBData = EncodeDIB(Image);
    }
}

void TPicture::LoadFromData(TMemoryStream& stream) {
    Clear();
    const std::string graphic = ReadShortString(stream);
    TPixelImage image;
    std::vector<std::uint8_t> dibData;
    if (graphic == "TDIB") {
        const std::size_t start = stream.Position();
        image = DecodeDIB(stream);
        if (!image.Empty()) {
            stream.Seek(start);
            dibData = stream.ReadBytes(stream.Remaining());
        }
    } else if (graphic == "TBitmap") {
        TMemoryStream file(ReadSizedData(stream));
        image = DecodeBitmapFile(file);
    } else if (graphic == "TJPEGImage") {
        image = DecodeJPEG(ReadSizedData(stream));
    } else if (graphic == "TIcon") {
        TMemoryStream file(ReadSizedData(stream));
        image = DecodeIconFile(file);
    } else {
        return;  // "TMetafile" and unknown classes: no picture
    }
    Graphic = graphic;
    Image = std::move(image);
    DIBData = std::move(dibData);
}

void TPicture::SaveToData(TMemoryStream& stream) const {
    stream.WriteU8(4);
    stream.WriteText("TDIB");
    stream.WriteBytes(DIBData.empty() ? EncodeDIB(Image) : DIBData);
}
