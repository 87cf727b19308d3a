// AssetBytes: a small builder for hand-made object streams, DIBs and RIFF images in the tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/assets/Classes.h"

class Bytes {
public:
    Bytes& U8(int v) {
        Data.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& U16(int v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    Bytes& U32(std::uint32_t v) {
        return U8(static_cast<int>(v & 0xFF)).U8(static_cast<int>((v >> 8) & 0xFF))
            .U8(static_cast<int>((v >> 16) & 0xFF)).U8(static_cast<int>(v >> 24));
    }
    Bytes& Text(const std::string& s) {
        Data.insert(Data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& Short(const std::string& s) { return U8(static_cast<int>(s.size())).Text(s); }
    Bytes& Raw(const std::vector<std::uint8_t>& b) {
        Data.insert(Data.end(), b.begin(), b.end());
        return *this;
    }
    Bytes& Raw(const Bytes& b) { return Raw(b.Data); }
    std::size_t Size() const { return Data.size(); }

    // Property records.
    Bytes& Int8(const std::string& name, int v) { return Short(name).U8(2).U8(v); }
    Bytes& Int32(const std::string& name, std::uint32_t v) { return Short(name).U8(4).U32(v); }
    Bytes& Str(const std::string& name, const std::string& v) { return Short(name).U8(6).Short(v); }
    Bytes& Bool(const std::string& name, bool v) { return Short(name).U8(v ? 9 : 8); }
    Bytes& Ident(const std::string& name, const std::string& v) { return Short(name).U8(7).Short(v); }
    Bytes& Binary(const std::string& name, const Bytes& payload) {
        return Short(name).U8(10).U32(static_cast<std::uint32_t>(payload.Size())).Raw(payload);
    }

    std::vector<std::uint8_t> Data;
};

// The 40-byte information header.
inline Bytes InfoHeader(int width, int height, int bits, int compression = 0, std::uint32_t imageSize = 0,
                        std::uint32_t colorsUsed = 0) {
    Bytes b;
    b.U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(1).U16(bits);
    b.U32(static_cast<std::uint32_t>(compression)).U32(imageSize).U32(0).U32(0).U32(colorsUsed).U32(0);
    return b;
}

// A 4-byte palette entry of a colour value.
inline Bytes& Entry(Bytes& b, TColor c) { return b.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c)).U8(0); }

// A resource file: the resource header around an object stream.
inline Bytes ResourceFile(const Bytes& body, const std::string& resourceName) {
    Bytes file;
    file.U8(0xFF).U16(10).Text(resourceName).U8(0).U16(0x1030).U32(static_cast<std::uint32_t>(body.Size()));
    return file.Raw(body);
}

// A collection component's file around the given items (each the bytes between tag 1 and tag 0).
inline Bytes CollectionFile(const std::string& className, const std::string& resourceName,
                            const std::vector<Bytes>& items, const std::string& componentName) {
    Bytes body;
    body.Text("TPF0").Short(className).Short(componentName);
    body.Short("List").U8(14);
    for (const Bytes& item : items) {
        body.U8(1).Raw(item).U8(0);
    }
    body.U8(0).U8(0).U8(0);
    return ResourceFile(body, resourceName);
}

inline Bytes GraphicsFile(const std::vector<Bytes>& items, const std::string& resourceName = "GRAPHICS") {
    return CollectionFile("TPictureCollectionComponent", resourceName, items, "DXImageList1");
}

inline Bytes SoundFile(const std::vector<Bytes>& items) {
    return CollectionFile("TWaveCollectionComponent", "SOUND", items, "DXWaveList1");
}

// The "Picture.Data" payload of another graphic class: its name, the data's size, the data.
inline Bytes Sized(const std::string& graphic, const std::vector<std::uint8_t>& data) {
    return Bytes().Short(graphic).U32(static_cast<std::uint32_t>(data.size())).Raw(data);
}

// The "Picture.Data" payload of a DIB.
inline Bytes DIBPayload(const Bytes& dib) {
    Bytes b;
    return b.Short("TDIB").Raw(dib);
}

// A RIFF chunk, a RIFF "WAVE" image around chunks, and the 16-byte PCM format record.
inline Bytes Chunk(const std::string& id, const Bytes& body) {
    return Bytes().Text(id).U32(static_cast<std::uint32_t>(body.Size())).Raw(body);
}

inline Bytes Riff(const Bytes& chunks) {
    return Bytes().Text("RIFF").U32(static_cast<std::uint32_t>(chunks.Size() + 4)).Text("WAVE").Raw(chunks);
}

inline Bytes PcmFormat(std::uint32_t rate, int bits, int channels) {
    const int align = channels * bits / 8;
    return Bytes().U16(1).U16(channels).U32(rate).U32(rate * static_cast<std::uint32_t>(align)).U16(align).U16(bits);
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.Data.data()), static_cast<std::streamsize>(bytes.Size()));
}
