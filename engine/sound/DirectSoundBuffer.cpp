// DirectSoundBuffer: recording results, loss reports and the buffer errors (see
// DirectSoundBuffer.h).
#include "engine/sound/DirectSoundBuffer.h"

#include <algorithm>

namespace {

std::uint16_t ReadWord(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t ReadLong(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(ReadWord(bytes, offset)) |
           (static_cast<std::uint32_t>(ReadWord(bytes, offset + 2)) << 16);
}

// Format tag, channels, rate, bytes per second, block align, bits per sample.
constexpr std::size_t PcmFormatRecordSize = 16;

}  // namespace

platform::WaveFormat WaveFormatFromRecord(std::span<const std::uint8_t> record) {
    if (record.size() < PcmFormatRecordSize) {
        return {};
    }
    return platform::WaveFormat{ReadWord(record, 0), ReadWord(record, 2),  ReadLong(record, 4),
                                ReadLong(record, 8), ReadWord(record, 12), ReadWord(record, 14)};
}

TDirectSoundBuffer::TDirectSoundBuffer(platform::SoundDevice& device, IBufferLossListener& lossListener)
    : FDevice(device), FLossListener(lossListener) {}

TDirectSoundBuffer::TDirectSoundBuffer(platform::SoundDevice& device, IBufferLossListener& lossListener,
                                       std::unique_ptr<platform::SoundBuffer> buffer)
    : FDevice(device), FLossListener(lossListener), FBuffer(std::move(buffer)) {}

platform::SoundBuffer& TDirectSoundBuffer::IBuffer() {
    if (!FBuffer) {
        throw EDirectSoundBufferError(Format("%s not made", "IDirectSoundBuffer"));
    }
    return *FBuffer;
}

void TDirectSoundBuffer::Record(platform::SoundResult result) {
    FDXResult = result;
    if (result == platform::SoundResult::BufferLost) {
        FLossListener.BufferLost();
    }
}

void TDirectSoundBuffer::LoadFromWave(std::span<const std::uint8_t> formatRecord,
                                      std::span<const std::uint8_t> samples) {
    FBuffer.reset();
    platform::SoundResult result = platform::SoundResult::Ok;
    FBuffer = FDevice.CreateBuffer(WaveFormatFromRecord(formatRecord), samples.size(), result);
    Record(result);
    if (!FBuffer) {
        throw EDirectSoundBufferError(Format("%s cannot be made", "Sound Buffer"));
    }
    std::span<std::uint8_t> target;
    Record(FBuffer->Lock(target));
    if (FDXResult != platform::SoundResult::Ok) {
        throw EDirectSoundBufferError(Format("%s cannot be locked", "Sound Buffer"));
    }
    std::copy_n(samples.begin(), std::min(samples.size(), target.size()), target.begin());
    Record(FBuffer->Unlock());
}

std::unique_ptr<TDirectSoundBuffer> TDirectSoundBuffer::Duplicate() {
    if (!FBuffer) {
        return nullptr;
    }
    platform::SoundResult result = platform::SoundResult::Ok;
    auto copy = FBuffer->Duplicate(result);
    Record(result);
    if (!copy) {
        return nullptr;
    }
    return std::make_unique<TDirectSoundBuffer>(FDevice, FLossListener, std::move(copy));
}

void TDirectSoundBuffer::Play(bool looping) { Record(IBuffer().Play(looping)); }

void TDirectSoundBuffer::Stop() { Record(IBuffer().Stop()); }

void TDirectSoundBuffer::SetPosition(std::uint32_t position) { Record(IBuffer().SetCurrentPosition(position)); }

void TDirectSoundBuffer::SetFrequency(int frequency) {
    if (frequency < 0) {
        Record(platform::SoundResult::InvalidParam);
        return;
    }
    Record(IBuffer().SetFrequency(static_cast<std::uint32_t>(frequency)));
}

void TDirectSoundBuffer::SetPan(int pan) { Record(IBuffer().SetPan(pan)); }

void TDirectSoundBuffer::SetVolume(int volume) { Record(IBuffer().SetVolume(volume)); }

void TDirectSoundBuffer::SetGroup(platform::SoundGroup group) { Record(IBuffer().SetGroup(group)); }

std::uint32_t TDirectSoundBuffer::Status() {
    std::uint32_t status = 0;
    Record(IBuffer().GetStatus(status));
    return status;
}

// Playing or looping; a failed status query counts as not playing.
bool TDirectSoundBuffer::Playing() {
    const std::uint32_t status = Status();
    return FDXResult == platform::SoundResult::Ok &&
           (status & (platform::SoundStatusPlaying | platform::SoundStatusLooping)) != 0;
}

bool TDirectSoundBuffer::Lost() {
    Status();
    return FDXResult == platform::SoundResult::BufferLost;
}
