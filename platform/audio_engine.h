#pragma once
// The audio engine the player drives: thirteen operations, named and shaped as
// the player's transport and timer call them. Every operation given handle 0, a
// freed handle, or called before AudioInit fails without effect.

#include <cstdint>
#include <memory>

using HSTREAM = std::uint32_t;

// AudioGetData request: 1,024 spectrum magnitudes, lowest frequency first.
inline constexpr std::uint32_t kAudioDataFft2048 = 0x80000002u;
inline constexpr int kSpectrumValues = 1024;
// AudioGetVolume before AudioInit (all bits set).
inline constexpr std::uint32_t kAudioVolumeUnknown = 0xFFFFFFFFu;
// AudioGetData failure.
inline constexpr std::uint32_t kAudioDataError = 0xFFFFFFFFu;
// The output's shape, which every stream is decoded to: 16-bit stereo frames at
// 44,100 Hz. Lengths and positions count bytes of such audio.
inline constexpr std::uint32_t kOutputRate = 44100;
inline constexpr std::uint32_t kOutputChannels = 2;
inline constexpr std::uint32_t kBytesPerFrame = kOutputChannels * sizeof(std::int16_t);
inline constexpr std::uint64_t kBytesPerSecond = std::uint64_t{kOutputRate} * kBytesPerFrame;

class AudioEngine {
public:
    virtual ~AudioEngine() = default;

    // Opens the output. A repeated call is harmless.
    virtual bool AudioInit(int device, std::uint32_t freq, std::uint32_t flags, void* window,
                           const void* clsid) = 0;
    // A new stream, stopped at position 0; 0 when the file cannot be played.
    virtual HSTREAM AudioStreamCreateFile(bool mem, const char* file, std::uint32_t offset,
                                          std::uint32_t length, std::uint32_t flags) = 0;
    virtual bool AudioStreamFree(HSTREAM handle) = 0;
    // Starts, resumes where paused, or just goes on.
    virtual bool AudioPlay(HSTREAM handle, bool restart) = 0;
    virtual bool AudioPause(HSTREAM handle) = 0;
    virtual bool AudioStop(HSTREAM handle) = 0;
    // Non-zero while playing or paused; 0 once played to the end, stopped or dead.
    virtual std::uint32_t AudioIsActive(HSTREAM handle) = 0;
    // 0 for a dead handle.
    virtual std::uint64_t AudioGetLength(HSTREAM handle) = 0;
    // What has reached the output; 0 for a dead handle.
    virtual std::uint64_t AudioGetPosition(HSTREAM handle) = 0;
    virtual bool AudioSetPosition(HSTREAM handle, std::uint64_t position) = 0;
    // With kAudioDataFft2048 writes exactly kSpectrumValues floats; kAudioDataError on failure.
    virtual std::uint32_t AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request) = 0;
    // 0..100, or kAudioVolumeUnknown before AudioInit.
    virtual std::uint32_t AudioGetVolume() = 0;
    virtual bool AudioSetVolume(std::uint32_t volume) = 0;
};

// The engine that plays through the system's sound server.
std::unique_ptr<AudioEngine> CreateSystemAudioEngine();
