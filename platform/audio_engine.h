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
    virtual bool AudioInit() = 0;
    // A new stream of the whole file at path, stopped at position 0; 0 when the
    // file cannot be played.
    virtual HSTREAM AudioStreamCreateFile(const char* path) = 0;
    virtual bool AudioStreamFree(HSTREAM handle) = 0;
    // Starts, resumes where paused, or just goes on.
    virtual bool AudioPlay(HSTREAM handle) = 0;
    virtual bool AudioPause(HSTREAM handle) = 0;
    virtual bool AudioStop(HSTREAM handle) = 0;
    // Non-zero while playing or paused; 0 once its last sound was heard, stopped or dead.
    virtual std::uint32_t AudioIsActive(HSTREAM handle) = 0;
    // 0 for a dead handle.
    virtual std::uint64_t AudioGetLength(HSTREAM handle) = 0;
    // The play head: the place of the sound being heard (what was handed to
    // the output less what the output still holds queued); 0 for a dead handle.
    virtual std::uint64_t AudioGetPosition(HSTREAM handle) = 0;
    virtual bool AudioSetPosition(HSTREAM handle, std::uint64_t position) = 0;
    // With kAudioDataFft2048 writes exactly kSpectrumValues floats; kAudioDataError on failure.
    virtual std::uint32_t AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request) = 0;
    // 0..100, or kAudioVolumeUnknown before AudioInit.
    virtual std::uint32_t AudioGetVolume() = 0;
    virtual bool AudioSetVolume(std::uint32_t volume) = 0;
    // The path that the next track advance will create a stream for, so that the
    // engine may open it ahead and start it right after the playing stream's last
    // sample; null or empty forgets the one prepared. A prepared stream that has
    // started after the last one but is not the one then created is freed. True
    // when a stream was prepared.
    virtual bool AudioPrepareNext(const char* path) = 0;
};

// The operations as an engine declares them: one list for every engine.
#define LIRVAN_AUDIO_ENGINE_OPERATIONS                                                                       \
    bool AudioInit() override;                                                                               \
    HSTREAM AudioStreamCreateFile(const char* path) override;                                                \
    bool AudioStreamFree(HSTREAM handle) override;                                                           \
    bool AudioPlay(HSTREAM handle) override;                                                                 \
    bool AudioPause(HSTREAM handle) override;                                                                \
    bool AudioStop(HSTREAM handle) override;                                                                 \
    std::uint32_t AudioIsActive(HSTREAM handle) override;                                                    \
    std::uint64_t AudioGetLength(HSTREAM handle) override;                                                   \
    std::uint64_t AudioGetPosition(HSTREAM handle) override;                                                 \
    bool AudioSetPosition(HSTREAM handle, std::uint64_t position) override;                                  \
    std::uint32_t AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request) override;                \
    std::uint32_t AudioGetVolume() override;                                                                 \
    bool AudioSetVolume(std::uint32_t volume) override;                                                      \
    bool AudioPrepareNext(const char* path) override;

// The engine that plays through the system's sound server.
std::unique_ptr<AudioEngine> CreateSystemAudioEngine();
