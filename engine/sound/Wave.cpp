// Wave: RIFF WAVE reading and writing, and the block-wise sample memory.
#include "engine/sound/Wave.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t RiffHeaderSize = 12;
constexpr std::size_t ChunkHeaderSize = 8;
constexpr std::size_t PCMFormatSize = 18;

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

void TWaveStream::RaiseIfOpen() const {
    if (Opened) {
        throw EWaveError("Stream is already open");
    }
}

void TWaveStream::OpenRead() {
    RaiseIfOpen();
    Opened = true;
    Writing = false;
    std::uint8_t header[RiffHeaderSize] = {};
    Stream.Read(header, sizeof header);
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
        throw EWaveError("Wave is invalid");
    }
    for (;;) {
        std::uint8_t chunk[ChunkHeaderSize] = {};  // running off the end reads identifier 0
        const bool wholeHeader = Stream.Read(chunk, sizeof chunk) == sizeof chunk;
        if (LittleEndian32(chunk) == 0) {
            break;
        }
        const std::uint32_t length = LittleEndian32(chunk + 4);
        ChunkOverrun = ChunkOverrun || !wholeHeader || length > Stream.Remaining();
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            FormatRecord = Stream.ReadBytes(length);
        } else {
            if (std::memcmp(chunk, "data", 4) == 0) {
                DataPosition = Stream.Position();
                DataLength = length;
                DataFound = true;
            }
            Stream.Skip(length);  // no pad byte after an odd length
        }
    }
}

void TWaveStream::ReadData(std::uint8_t* buffer) {
    Stream.Seek(DataPosition);
    Stream.ReadBuffer(buffer, DataLength);
}

void TWaveStream::OpenWrite() {
    RaiseIfOpen();
    Opened = true;
    Writing = true;
    Start = Stream.Position();
    Stream.WriteText("RIFF");
    Stream.WriteU32(0);
    Stream.WriteText("WAVE");
}

void TWaveStream::WriteChunk(const char id[4], const std::uint8_t* data, std::size_t size) {
    Stream.Write(id, 4);
    Stream.WriteU32(static_cast<std::uint32_t>(size));
    Stream.Write(data, size);
}

void TWaveStream::Close() {
    if (Opened && Writing) {
        const std::size_t end = Stream.Position();
        Stream.Seek(Start + 4);
        Stream.WriteU32(static_cast<std::uint32_t>(end - Start - 8));
        Stream.Seek(end);
    }
    Opened = false;
}

void TWave::DefineProperties(TPropertyList& list) {
    list.Binary(
        "WAVE", [this](TMemoryStream& s) { LoadFromStream(s); }, [this](TMemoryStream& s) { SaveToStream(s); },
        [this] { return HasData(); });
}

int TWave::FormatField(std::size_t offset, std::size_t width) const {
    if (offset + width > FormatRecord.size()) {
        return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = width; i > 0; --i) {
        value = (value << 8) | FormatRecord[offset + i - 1];
    }
    return static_cast<int>(value);
}

void TWave::SetSize(int size) {
    const std::size_t newSize = size > 0 ? static_cast<std::size_t>(size) : 0;
    const std::size_t blocks = (newSize + BlockSize - 1) / BlockSize;
    if (blocks != Samples.size() / BlockSize) {
        std::vector<std::uint8_t> resized(blocks * BlockSize);
        std::copy_n(Samples.begin(), std::min({newSize, static_cast<std::size_t>(SampleSize), Samples.size()}),
                    resized.begin());
        Samples = std::move(resized);
    } else if (newSize > static_cast<std::size_t>(SampleSize)) {
        std::fill(Samples.begin() + SampleSize, Samples.begin() + static_cast<std::ptrdiff_t>(newSize), std::uint8_t{0});
    }
    SampleSize = static_cast<int>(newSize);
}

void TWave::SetPCM(int samplesPerSec, int bitsPerSample, int channels, const std::vector<std::uint8_t>& samples) {
    const int blockAlign = channels * bitsPerSample / 8;
    std::vector<std::uint8_t> format(PCMFormatSize, 0);
    PutLittleEndian(format, 0, WAVE_FORMAT_PCM, 2);
    PutLittleEndian(format, 2, static_cast<std::uint32_t>(channels), 2);
    PutLittleEndian(format, 4, static_cast<std::uint32_t>(samplesPerSec), 4);
    PutLittleEndian(format, 8, static_cast<std::uint32_t>(samplesPerSec * blockAlign), 4);
    PutLittleEndian(format, 12, static_cast<std::uint32_t>(blockAlign), 2);
    PutLittleEndian(format, 14, static_cast<std::uint32_t>(bitsPerSample), 2);
    FormatRecord = std::move(format);
    SetSize(static_cast<int>(samples.size()));
    std::copy(samples.begin(), samples.end(), Samples.begin());
}

void TWave::Clear() {
    FormatRecord.clear();
    SetSize(0);
}

void TWave::LoadFromStream(TMemoryStream& stream) {
    TWaveStream wave(stream);
    wave.OpenRead();
    if (wave.DataSize() > stream.Size() - wave.DataOffset() || wave.DataSize() > static_cast<std::uint32_t>(INT32_MAX)) {
        RaiseReadError();
    }
    std::vector<std::uint8_t> format = wave.Format();
    SetSize(static_cast<int>(wave.DataSize()));
    wave.ReadData(Samples.data());
    FormatRecord = std::move(format);
    wave.Close();
}

void TWave::SaveToStream(TMemoryStream& stream) const {
    if (!HasData()) {
        return;
    }
    TWaveStream wave(stream);
    wave.OpenWrite();
    wave.WriteChunk("fmt ", FormatRecord.data(), FormatRecord.size());
    wave.WriteChunk("data", Samples.data(), static_cast<std::size_t>(SampleSize));
    wave.Close();
}
