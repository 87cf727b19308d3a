// Stream: byte streams for the object-stream reader and writer — an in-memory stream that
// both reads and grows, bounded reads that raise "Stream read error", and whole-file load/save
// with "Cannot open file %s". Depends on Classes only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/assets/Classes.h"

ZARVOTH_DECLARE_EXCEPTION(EStreamError, Exception);
ZARVOTH_DECLARE_EXCEPTION(EReadError, EStreamError);
ZARVOTH_DECLARE_EXCEPTION(EFOpenError, EStreamError);
ZARVOTH_DECLARE_EXCEPTION(EFCreateError, EStreamError);

// A growable byte buffer with a position. Reads never pass the end; ReadBuffer raises
// "Stream read error" instead of returning a short read.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) {}

    std::size_t Size() const { return Bytes.size(); }
    std::size_t Position() const { return Pos; }
    std::size_t Remaining() const { return Bytes.size() - Pos; }
    // Positions past the end are clamped to the end.
    void Seek(std::size_t position) { Pos = position < Bytes.size() ? position : Bytes.size(); }
    void Skip(std::size_t count) { Seek(count > Remaining() ? Bytes.size() : Pos + count); }

    // Copies up to count bytes; returns how many were copied.
    std::size_t Read(void* buffer, std::size_t count);
    void ReadBuffer(void* buffer, std::size_t count);
    // Takes exactly count bytes (checked against what remains before anything is allocated).
    std::vector<std::uint8_t> ReadBytes(std::size_t count);
    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }

    // Writes at the position, growing the buffer as needed.
    void Write(const void* buffer, std::size_t count);
    void WriteU8(std::uint8_t value) { Write(&value, 1); }
    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);
    void WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }
    void WriteBytes(const std::vector<std::uint8_t>& bytes) { Write(bytes.data(), bytes.size()); }
    void WriteText(const std::string& text) { Write(text.data(), text.size()); }

    const std::vector<std::uint8_t>& Data() const { return Bytes; }
    std::vector<std::uint8_t> TakeData() { Pos = 0; return std::move(Bytes); }

private:
    std::vector<std::uint8_t> Bytes;
    std::size_t Pos = 0;
};

[[noreturn]] void RaiseReadError();

// Reads a whole file while holding a shared advisory lock on it: Linux has no mandatory
// "deny write" sharing mode, so a file that a cooperating writer holds locked cannot be opened,
// and such a writer cannot start while it is read. Only a regular file is read; anything else
// (a FIFO, a device, a folder) raises at once. Raises "Cannot open file %s".
std::vector<std::uint8_t> LoadFileBytes(const std::string& fileName);
// Replaces a file with the bytes under an exclusive advisory lock, truncating only once the lock
// is held. Raises "Cannot create file %s".
void SaveFileBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes);
