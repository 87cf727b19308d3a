// SoundDevice: what the sound components need from the platform's audio — an output device
// that can be opened, and playback buffers made on it from a wave format: lock and unlock to
// fill them, duplicate (sharing the samples), play once or looping, stop, position, frequency,
// pan, volume, status and restore after the device was lost. Each buffer belongs to a group
// (effects or music) whose volume the player sets. Every operation reports a SoundResult
// instead of throwing. Implemented by the software mixer (AudioMixer); tests hand
// the engine a fake. No SDL here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace platform {

// The wave format record as a RIFF "fmt " chunk stores it (the PCM part).
struct WaveFormat {
    std::uint16_t FormatTag = 0;  // 1 = PCM, the only tag the mixer plays
    std::uint16_t Channels = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
};

inline constexpr std::uint16_t WaveFormatPCM = 1;

enum class SoundResult : std::uint8_t {
    Ok,
    BufferLost,    // the device was lost; Restore the buffer before using it again
    InvalidParam,  // a value out of range; the old value stays in force
    InvalidCall,   // the call does not fit the buffer's state (unlock without lock, ...)
    BadFormat,     // a wave format the mixer cannot play
    NoDevice,      // the device is not open
};

// Status bits as the sound components test them.
inline constexpr std::uint32_t SoundStatusPlaying = 1;
inline constexpr std::uint32_t SoundStatusLost = 2;
inline constexpr std::uint32_t SoundStatusLooping = 4;

// Ranges of the buffer settings: volume and pan in hundredths of a decibel, frequency in
// samples per second (0 = the wave's own rate).
inline constexpr int SoundVolumeMin = -10000;
inline constexpr int SoundVolumeMax = 0;
inline constexpr int SoundPanLeft = -10000;
inline constexpr int SoundPanRight = 10000;
inline constexpr std::uint32_t SoundFrequencyOriginal = 0;
inline constexpr std::uint32_t SoundFrequencyMin = 100;
inline constexpr std::uint32_t SoundFrequencyMax = 200000;

// The groups whose volumes the player sets apart, in percent: 0 silent, 100 each buffer as its
// own volume and pan make it.
enum class SoundGroup : std::uint8_t { Effects, Music };
inline constexpr std::size_t SoundGroupCount = 2;
inline constexpr int SoundGroupVolumeMax = 100;

class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;

    // A new buffer playing the same samples (not copied); stopped, at position 0.
    virtual std::unique_ptr<SoundBuffer> Duplicate(SoundResult& result) = 0;

    // Write access to all of the buffer's bytes until Unlock; the new bytes take effect at Unlock.
    virtual SoundResult Lock(std::span<std::uint8_t>& bytes) = 0;
    virtual SoundResult Unlock() = 0;

    virtual SoundResult Play(bool looping) = 0;
    virtual SoundResult Stop() = 0;
    // Positions are byte offsets into the samples.
    virtual SoundResult GetCurrentPosition(std::uint32_t& position) = 0;
    virtual SoundResult SetCurrentPosition(std::uint32_t position) = 0;
    virtual SoundResult SetFrequency(std::uint32_t frequency) = 0;
    virtual SoundResult SetPan(int pan) = 0;
    virtual SoundResult SetVolume(int volume) = 0;
    virtual SoundResult GetStatus(std::uint32_t& status) = 0;
    // A new buffer is in the effects group; a duplicate is in its original's group.
    virtual SoundResult SetGroup(SoundGroup group) = 0;
    // Makes a lost buffer usable again (its bytes stay as they were).
    virtual SoundResult Restore() = 0;
};

class SoundDevice {
public:
    virtual ~SoundDevice() = default;

    // False when no audio output can be had; the game then stays silent.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // A stopped buffer of byteCount bytes (silence) in the given format.
    virtual std::unique_ptr<SoundBuffer> CreateBuffer(const WaveFormat& format, std::size_t byteCount,
                                                      SoundResult& result) = 0;

    // Scales every buffer of the group, playing or not, after its own volume and pan; a value
    // outside 0..SoundGroupVolumeMax counts as the nearer end. Kept while the device closes.
    virtual void SetGroupVolume(SoundGroup group, int percent) = 0;
};

}  // namespace platform
