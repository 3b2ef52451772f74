#pragma once
// Decoding through FFmpeg: any container and codec libavformat opens (MP3,
// WAV, WMA, the audio track of AVI and MPEG, ...), converted by libswresample
// to the output's 16-bit stereo at 44,100 Hz on the decoder thread. Built
// into the FFmpeg module (decoder_module.h) with FFmpeg's libraries.

#include "platform/engine/decoder.h"

#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

class FfmpegDecoder final : public Decoder {
public:
    // nullptr unless the file has an audio track that decodes to some sound;
    // its first frames are decoded here and kept for the first Read.
    static std::unique_ptr<FfmpegDecoder> Open(const char* path);
    ~FfmpegDecoder() override;

    std::uint64_t LengthFrames() const override { return m_lengthFrames; }
    std::uint32_t Read(std::int16_t* out, std::uint32_t frames) override;
    bool Seek(std::uint64_t frame) override;

private:
    FfmpegDecoder() = default;
    bool OpenFile(const char* path);
    // Refills m_pending with the next converted audio; false at the end.
    bool DecodeMore();
    bool Convert(const AVFrame& frame);
    bool Drain();
    // Drops the converted frames that lie before the frame a seek asked for.
    void SkipToSeekTarget(std::int64_t frameTimestamp);

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    SwrContext* m_resampler = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_streamIndex = -1;
    std::int64_t m_startTimestamp = 0;
    std::uint64_t m_lengthFrames = 0;
    // What the resampler was built for; a change mid-file rebuilds it.
    int m_inFormat = -1;
    int m_inRate = 0;
    int m_inChannels = 0;

    std::vector<std::int16_t> m_pending; // converted stereo frames not yet read
    std::uint32_t m_pendingFrames = 0;
    std::uint32_t m_pendingOffset = 0;
    bool m_inputDone = false; // demuxer exhausted, decoder being drained
    bool m_finished = false;
    // After a seek: the frame asked for, until the first decoded frame places us.
    bool m_aligning = false;
    std::uint64_t m_seekFrame = 0;
};
