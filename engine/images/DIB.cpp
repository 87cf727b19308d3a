// DIB: header parsing, colour tables, row and run-length decoding, and the 8/24-bit encoder.
#include "engine/images/DIB.h"

#include <bit>
#include <unordered_map>

namespace {

constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t CoreHeaderSize = 12;
// The longer headers of BMP files (version 4 and 5): the information header, then the channel
// masks (red, green, blue, alpha) and colour-space fields.
constexpr std::uint32_t V4HeaderSize = 108;
constexpr std::uint32_t V5HeaderSize = 124;
enum Compression : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

[[noreturn]] void RaiseInvalidDIB() { throw EInvalidGraphic("DIB is invalid"); }

struct Header {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    int BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ImageSize = 0;
    std::uint32_t ColorsUsed = 0;
    std::size_t EntrySize = 4;
    bool MasksInHeader = false;  // a version 4 or 5 header carries the bit-field masks itself
    std::uint32_t RedMask = 0;
    std::uint32_t GreenMask = 0;
    std::uint32_t BlueMask = 0;
};

// One colour channel described by a bit mask, widened to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : Shift(mask == 0 ? 0 : std::countr_zero(mask)), Bits(std::popcount(mask)), Mask(mask) {}

    int Extract(std::uint32_t pixel) const {
        if (Bits == 0) {
            return 0;
        }
        const std::uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8) {
            return static_cast<int>(v >> (Bits - 8));
        }
        std::uint32_t out = 0;  // repeat the bits so full intensity stays 255
        for (int at = 8 - Bits; at > -Bits; at -= Bits) {
            out |= at >= 0 ? v << at : v >> -at;
        }
        return static_cast<int>(out & 0xFF);
    }

private:
    int Shift;
    int Bits;
    std::uint32_t Mask;
};

struct Masks {
    Channel Red, Green, Blue;
    TColor Decode(std::uint32_t pixel) const {
        return RGB(Red.Extract(pixel), Green.Extract(pixel), Blue.Extract(pixel));
    }
};

Header ReadHeader(TMemoryStream& stream, bool bitmapFile) {
    Header h;
    const std::uint32_t size = stream.ReadU32();
    const bool versionHeader = bitmapFile && (size == V4HeaderSize || size == V5HeaderSize);
    if (size == InfoHeaderSize || versionHeader) {
        h.Width = stream.ReadI32();
        h.Height = stream.ReadI32();
        stream.ReadU16();  // planes
        h.BitCount = stream.ReadU16();
        h.Compression = stream.ReadU32();
        h.ImageSize = stream.ReadU32();
        stream.ReadU32();  // resolutions
        stream.ReadU32();
        h.ColorsUsed = stream.ReadU32();
        stream.ReadU32();  // colours important
        if (versionHeader) {
            h.MasksInHeader = true;
            h.RedMask = stream.ReadU32();
            h.GreenMask = stream.ReadU32();
            h.BlueMask = stream.ReadU32();
            stream.ReadBytes(size - InfoHeaderSize - 12);  // alpha mask, colour space, profile
        }
    } else if (size == CoreHeaderSize) {
        h.Width = stream.ReadU16();
        h.Height = stream.ReadU16();
        stream.ReadU16();
        h.BitCount = stream.ReadU16();
        h.EntrySize = 3;
    } else {
        RaiseInvalidDIB();
    }
    switch (h.BitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32:
            break;
        default:
            throw EInvalidGraphic(Format("Bitcount in invalid (%d)", h.BitCount));
    }
    if (h.Compression > BI_BITFIELDS) {
        RaiseInvalidDIB();
    }
    CheckPictureSize(h.Width, h.Height < 0 ? -h.Height : h.Height);
    return h;
}

Masks ReadMasks(TMemoryStream& stream, const Header& h) {
    std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    if (h.Compression == BI_BITFIELDS && h.MasksInHeader) {
        red = h.RedMask;
        green = h.GreenMask;
        blue = h.BlueMask;
    } else if (h.Compression == BI_BITFIELDS) {
        red = stream.ReadU32();
        green = stream.ReadU32();
        blue = stream.ReadU32();
    } else if (h.BitCount == 16) {
        red = 0x7C00, green = 0x03E0, blue = 0x001F;
    }
    if (h.BitCount == 16 && !(red == 0x7C00 && green == 0x03E0 && blue == 0x001F) &&
        !(red == 0xF800 && green == 0x07E0 && blue == 0x001F)) {
        throw EInvalidGraphic("PixelFormat in invalid");
    }
    return Masks{Channel(red), Channel(green), Channel(blue)};
}

std::vector<TColor> ReadColorTable(TMemoryStream& stream, const Header& h) {
    std::uint32_t count = h.ColorsUsed;
    if (count == 0 && h.BitCount <= 8) {
        count = 1u << h.BitCount;
    }
    count = count > 256 ? 256 : count;
    const std::vector<std::uint8_t> bytes = stream.ReadBytes(count * h.EntrySize);
    std::vector<TColor> table(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = bytes.data() + i * h.EntrySize;
        table[i] = RGB(e[2], e[1], e[0]);
    }
    return table;
}

// Writes decoded rows in stream order to their place in a top-first picture.
class RowTarget {
public:
    RowTarget(TPixelImage& image, bool bottomUp) : Image(image), BottomUp(bottomUp) {}
    TColor* Row(std::int64_t streamRow) const {
        const std::int64_t y = BottomUp ? Image.Height - 1 - streamRow : streamRow;
        return Image.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Image.Width);
    }

private:
    TPixelImage& Image;
    bool BottomUp;
};

TColor LookUp(const std::vector<TColor>& table, unsigned index) { return index < table.size() ? table[index] : 0; }

void DecodeRows(TMemoryStream& stream, const Header& h, const Masks& masks, const std::vector<TColor>& table,
                const RowTarget& target, TPixelImage& image) {
    const std::size_t rowBytes = ((static_cast<std::size_t>(h.BitCount) * static_cast<std::size_t>(image.Width) + 31) / 32) * 4;
    const std::vector<std::uint8_t> data = stream.ReadBytes(rowBytes * static_cast<std::size_t>(image.Height));
    for (int row = 0; row < image.Height; ++row) {
        const std::uint8_t* src = data.data() + static_cast<std::size_t>(row) * rowBytes;
        TColor* out = target.Row(row);
        for (int x = 0; x < image.Width; ++x) {
            switch (h.BitCount) {
                case 1:
                    out[x] = LookUp(table, (src[x / 8] >> (7 - x % 8)) & 1u);
                    break;
                case 4:
                    out[x] = LookUp(table, (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xFu);
                    break;
                case 8:
                    out[x] = LookUp(table, src[x]);
                    break;
                case 16:
                    out[x] = masks.Decode(static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8)));
                    break;
                case 24: {
                    const std::uint8_t* p = src + 3 * x;
                    out[x] = masks.Decode(p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16));
                    break;
                }
                default: {
                    const std::uint8_t* p = src + 4 * x;
                    const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
                    out[x] = masks.Decode(v);
                    break;
                }
            }
        }
    }
}

// 8- and 4-bit run-length data. Pixels beyond a row's end are dropped; the position never
// leaves the picture for writing; missing data ends the picture early.
void DecodeRunLength(TMemoryStream& stream, const Header& h, const std::vector<TColor>& table,
                     const RowTarget& target, TPixelImage& image) {
    const std::vector<std::uint8_t> d = stream.ReadBytes(h.ImageSize);
    const bool fourBit = h.Compression == BI_RLE4;
    std::int64_t x = 0;
    std::int64_t y = 0;
    auto put = [&](unsigned index) {
        if (x < image.Width) {
            target.Row(y)[x] = LookUp(table, index);
        }
        ++x;
    };
    auto nibble = [](std::uint8_t byte, unsigned k) { return k % 2 == 0 ? byte >> 4 : byte & 0xFu; };
    std::size_t i = 0;
    while (i + 1 < d.size() && y < image.Height) {
        const unsigned count = d[i];
        const unsigned value = d[i + 1];
        i += 2;
        if (count > 0) {
            for (unsigned k = 0; k < count; ++k) {
                put(fourBit ? nibble(static_cast<std::uint8_t>(value), k) : value);
            }
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta: right, then up (towards later rows)
            if (i + 1 >= d.size()) {
                break;
            }
            x += d[i];
            y += d[i + 1];
            i += 2;
        } else {  // absolute run, padded to a 16-bit boundary
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            if (i + bytes > d.size()) {
                break;
            }
            for (unsigned k = 0; k < value; ++k) {
                put(fourBit ? nibble(d[i + k / 2], k) : d[i + k]);
            }
            i += (bytes + 1) & ~std::size_t{1};
        }
    }
}

}  // namespace

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0 || width > MaxPictureSide || height > MaxPictureSide ||
        static_cast<std::size_t>(width * height) > MaxPicturePixels) {
        RaiseInvalidDIB();
    }
}

TPixelImage DecodeDIB(TMemoryStream& stream, std::optional<TBitmapFileFrame> file) {
    TPixelImage image;
    if (stream.Remaining() == 0) {
        return image;
    }
    const Header h = ReadHeader(stream, file.has_value());
    const Masks masks = ReadMasks(stream, h);
    const std::vector<TColor> table = ReadColorTable(stream, h);
    if (file && file->PixelOffset > stream.Position()) {
        stream.Seek(file->PixelOffset);
    }
    const bool bottomUp = h.Height > 0;
    const std::int64_t height = bottomUp ? h.Height : -h.Height;
    const bool compressed = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    // Uncompressed data must be present in full before the picture is allocated.
    if (!compressed) {
        const std::uint64_t rowBytes = ((static_cast<std::uint64_t>(h.BitCount) * static_cast<std::uint64_t>(h.Width) + 31) / 32) * 4;
        if (rowBytes * static_cast<std::uint64_t>(height) > stream.Remaining()) {
            RaiseReadError();
        }
    } else if (h.ImageSize > stream.Remaining()) {
        RaiseReadError();
    }
    if (h.Width == 0 || height == 0) {
        return image;
    }
    image.Width = static_cast<int>(h.Width);
    image.Height = static_cast<int>(height);
    image.Pixels.assign(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height), 0);
    const RowTarget target(image, bottomUp);
    if (compressed) {
        DecodeRunLength(stream, h, table, target, image);
    } else {
        DecodeRows(stream, h, masks, table, target, image);
    }
    return image;
}

std::vector<std::uint8_t> EncodeDIB(const TPixelImage& image) {
    std::unordered_map<TColor, std::uint8_t> index;
    std::vector<TColor> palette;
    for (const TColor c : image.Pixels) {
        if (palette.size() > 256) {
            break;
        }
        if (index.emplace(c & 0xFFFFFF, static_cast<std::uint8_t>(palette.size())).second) {
            palette.push_back(c & 0xFFFFFF);
        }
    }
    const bool paletted = palette.size() <= 256;
    const int bitCount = paletted ? 8 : 24;
    const std::size_t rowBytes = ((static_cast<std::size_t>(bitCount) * static_cast<std::size_t>(image.Width) + 31) / 32) * 4;
    TMemoryStream out;
    out.WriteU32(InfoHeaderSize);
    out.WriteI32(image.Width);
    out.WriteI32(image.Height);
    out.WriteU16(1);
    out.WriteU16(static_cast<std::uint16_t>(bitCount));
    out.WriteU32(BI_RGB);
    out.WriteU32(static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(image.Height)));
    for (int i = 0; i < 4; ++i) {
        out.WriteU32(0);  // resolutions, colours used (0 = all 256), colours important
    }
    if (paletted) {
        for (std::size_t i = 0; i < 256; ++i) {
            const TColor c = i < palette.size() ? palette[i] : 0;
            const std::uint8_t entry[4] = {static_cast<std::uint8_t>(GetBValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
                                           static_cast<std::uint8_t>(GetRValue(c)), 0};
            out.Write(entry, 4);
        }
    }
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = image.Height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), std::uint8_t{0});
        for (int x = 0; x < image.Width; ++x) {
            const TColor c = image.Pixel(x, y) & 0xFFFFFF;
            if (paletted) {
                row[static_cast<std::size_t>(x)] = index.at(c);
            } else {
                row[3 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(GetBValue(c));
                row[3 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(GetGValue(c));
                row[3 * static_cast<std::size_t>(x) + 2] = static_cast<std::uint8_t>(GetRValue(c));
            }
        }
        out.WriteBytes(row);
    }
    return out.TakeData();
}
