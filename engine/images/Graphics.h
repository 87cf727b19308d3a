// Graphics: TPicture, the picture of an image item, and the picture payloads it reads: the
// "Picture.Data" bytes are a graphic class name then that class's data — "TDIB" (a DIB),
// "TBitmap" (length + BMP file), "TJPEGImage" (length + JPEG stream), "TIcon" (length + icon
// file, its first image), "TMetafile" or any other class: no picture. Pictures are always
// written back as "TDIB" (a DIB read from a file is written back byte for byte).
// Depends on DIB, JPEGImage and Persistent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/images/DIB.h"
#include "engine/assets/Persistent.h"

ZARVOTH_DECLARE_EXCEPTION(EInvalidIcon, EInvalidGraphic);

class TPicture : public TPersistent {
public:
    std::string ClassName() const override { return "TPicture"; }
    // Publishes the binary "Data" (stored only when there is a picture).
    void DefineProperties(TPropertyList& list) override;

    int Width() const { return Image.Width; }
    int Height() const { return Image.Height; }
    bool Empty() const { return Image.Empty(); }
    // Colour at (x, y), top row y = 0; the caller keeps inside Width x Height.
    TColor Pixel(int x, int y) const { return Image.Pixel(x, y); }
    const std::vector<TColor>& Pixels() const { return Image.Pixels; }
    // The class the picture was read as ("TDIB", "TJPEGImage", ...); empty without a picture.
    const std::string& GraphicClass() const { return Graphic; }

    // A picture built in memory; stored as an 8-bit palettised DIB when it has at most 256
    // colours, else as a 24-bit one. Raises "DIB is invalid" for a size the reader would refuse.
    void AssignPixels(int width, int height, std::vector<TColor> pixels);
    void Clear();

    // The "Data" payload: graphic class name as a short string, then its data.
    void LoadFromData(TMemoryStream& stream);
    void SaveToData(TMemoryStream& stream) const;

private:
    std::string Graphic;
    TPixelImage Image;
    std::vector<std::uint8_t> DIBData;  // what follows "TDIB" when written; empty: encode Image
};

// Payload decoders, exposed for the tests and tools.
TPixelImage DecodeBitmapFile(TMemoryStream& stream);  // a BMP file with its 14-byte header
TPixelImage DecodeIconFile(TMemoryStream& stream);    // the first image of an icon file
