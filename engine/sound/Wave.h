// Wave: TWave, PCM samples with their wave format record, read from and written to a RIFF WAVE
// image ("fmt " then "data"). Sample memory grows in blocks of 8096 bytes and is reallocated
// only when the block count changes. TWaveStream reads or writes one image and refuses a
// second Open ("Stream is already open"). Depends on Persistent and Stream.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/assets/Persistent.h"
#include "engine/assets/Stream.h"

ZARVOTH_DECLARE_EXCEPTION(EWaveError, Exception);

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

class TWave : public TPersistent {
public:
    static constexpr std::size_t BlockSize = 8096;

    // Copying (the defaults) copies the format and the samples.
    std::string ClassName() const override { return "TWave"; }
    // Publishes the binary "WAVE" (written only when there are samples and a format).
    void DefineProperties(TPropertyList& list) override;

    // The format record as stored (a WAVEFORMATEX, normally PCM).
    const std::vector<std::uint8_t>& Format() const { return FormatRecord; }
    int FormatSize() const { return static_cast<int>(FormatRecord.size()); }
    void SetFormat(std::vector<std::uint8_t> format) { FormatRecord = std::move(format); }
    // Fields of the format record; 0 when the record is too short to hold them.
    int FormatTag() const { return FormatField(0, 2); }
    int Channels() const { return FormatField(2, 2); }
    int SamplesPerSec() const { return FormatField(4, 4); }
    int AvgBytesPerSec() const { return FormatField(8, 4); }
    int BlockAlign() const { return FormatField(12, 2); }
    int BitsPerSample() const { return FormatField(14, 2); }

    int Size() const { return SampleSize; }
    const std::uint8_t* Data() const { return Samples.data(); }
    std::uint8_t* Data() { return Samples.data(); }
    // Bytes reserved for samples: whole blocks.
    std::size_t Capacity() const { return Samples.size(); }
    // Resizes keeping the samples that fit; new bytes are zero.
    void SetSize(int size);

    // An 18-byte PCM WAVEFORMATEX and the given sample bytes.
    void SetPCM(int samplesPerSec, int bitsPerSample, int channels, const std::vector<std::uint8_t>& samples);
    void Clear();

    // The RIFF image. Reading raises "Wave is invalid" or "Stream read error".
    void LoadFromStream(TMemoryStream& stream);
    // A wave with no samples or no format writes nothing at all.
    void SaveToStream(TMemoryStream& stream) const;
    bool HasData() const { return SampleSize > 0 && !FormatRecord.empty(); }

private:
    int FormatField(std::size_t offset, std::size_t width) const;

    std::vector<std::uint8_t> FormatRecord;
    std::vector<std::uint8_t> Samples;  // capacity in whole blocks
    int SampleSize = 0;
};

// One RIFF WAVE image on a stream, read chunk by chunk or written.
class TWaveStream {
public:
    explicit TWaveStream(TMemoryStream& stream) : Stream(stream) {}
    // Checks "RIFF"/"WAVE" and finds the "fmt " and "data" chunks.
    void OpenRead();
    // Writes the RIFF header; Close fills in the length.
    void OpenWrite();
    void Close();

    const std::vector<std::uint8_t>& Format() const { return FormatRecord; }
    // What a reading image held beyond what the game needs, for tools that refuse doubtful files.
    bool HasDataChunk() const { return DataFound; }
    bool ChunksFit() const { return !ChunkOverrun; }
    std::uint32_t DataSize() const { return DataLength; }
    std::size_t DataOffset() const { return DataPosition; }
    // Reads the recorded "data" chunk into the buffer (DataSize bytes).
    void ReadData(std::uint8_t* buffer);
    void WriteChunk(const char id[4], const std::uint8_t* data, std::size_t size);

private:
    void RaiseIfOpen() const;

    TMemoryStream& Stream;
    bool Opened = false;
    bool Writing = false;
    std::size_t Start = 0;
    std::vector<std::uint8_t> FormatRecord;
    std::size_t DataPosition = 0;
    std::uint32_t DataLength = 0;
    bool DataFound = false;
    bool ChunkOverrun = false;  // a chunk's stated length ran past the end of the image
};
