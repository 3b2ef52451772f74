#include "platform/engine/ffmpeg_decoder.h"

#include "platform/engine/decoder_module.h"
#include "platform/engine/failure_note.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

constexpr AVRational kOutputTimeBase{1, int{kOutputRate}};
// Rates a real recording can have. A header claiming more (a damaged WAV may
// say 536 MHz) would have the resampler build its filters for minutes.
constexpr int kLowestInputRate = 1000;
constexpr int kHighestInputRate = 384000;

// Why a file gave no sound, said once for a file that is tried again.
FailureNote g_openNote;

} // namespace

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::Open(const char* path)
{
    std::unique_ptr<FfmpegDecoder> decoder(new FfmpegDecoder);
    // The first decoded sound proves the file playable; a file that only
    // looks like audio to the prober gives none.
    if (decoder->OpenFile(path) && decoder->DecodeMore()) return decoder;
    g_openNote.Say(std::string("cannot play \"") + path + "\": FFmpeg finds no playable audio in it");
    return nullptr;
}

FfmpegDecoder::~FfmpegDecoder()
{
    swr_free(&m_resampler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
}

bool FfmpegDecoder::OpenFile(const char* path)
{
    if (avformat_open_input(&m_format, path, nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(m_format, nullptr) < 0) return false;
    const AVCodec* codec = nullptr;
    m_streamIndex = av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (m_streamIndex < 0 || !codec) return false;
    const AVStream* stream = m_format->streams[m_streamIndex];
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec || avcodec_parameters_to_context(m_codec, stream->codecpar) < 0) return false;
    m_codec->pkt_timebase = stream->time_base;
    // The stream's own thread is the one to decode on.
    m_codec->thread_count = 1;
    if (avcodec_open2(m_codec, codec, nullptr) < 0) return false;
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame) return false;

    // Position 0 is where the audio track starts, which in MPEG and AVI files
    // is often not timestamp 0.
    if (stream->start_time != AV_NOPTS_VALUE) m_startTimestamp = stream->start_time;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        m_lengthFrames = av_rescale_q(stream->duration, stream->time_base, kOutputTimeBase);
    else if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0)
        m_lengthFrames = av_rescale_q(m_format->duration, AV_TIME_BASE_Q, kOutputTimeBase);
    return true;
}

std::uint32_t FfmpegDecoder::Read(std::int16_t* out, std::uint32_t frames)
{
    std::uint32_t done = 0;
    while (done < frames) {
        if (m_pendingOffset == m_pendingFrames && !DecodeMore()) break;
        const std::uint32_t n = std::min(frames - done, m_pendingFrames - m_pendingOffset);
        std::memcpy(out + 2 * done, m_pending.data() + 2 * m_pendingOffset, n * 2 * sizeof(std::int16_t));
        m_pendingOffset += n;
        done += n;
    }
    return done;
}

bool FfmpegDecoder::Seek(std::uint64_t frame)
{
    const std::int64_t target = m_startTimestamp +
        av_rescale_q(std::int64_t(frame), kOutputTimeBase, m_format->streams[m_streamIndex]->time_base);
    m_pendingFrames = m_pendingOffset = 0;
    if (av_seek_frame(m_format, m_streamIndex, target, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(m_format, m_streamIndex, target, AVSEEK_FLAG_ANY) < 0) {
        m_finished = true;
        return false;
    }
    avcodec_flush_buffers(m_codec);
    // The resampler may hold samples of the old place.
    swr_free(&m_resampler);
    m_inputDone = false;
    m_finished = false;
    m_aligning = true;
    m_seekFrame = frame;
    return true;
}

bool FfmpegDecoder::DecodeMore()
{
    m_pendingFrames = m_pendingOffset = 0;
    while (!m_finished) {
        const int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0) {
            const bool converted = Convert(*m_frame);
            av_frame_unref(m_frame);
            if (!converted)
                m_finished = true;
            else if (m_pendingOffset < m_pendingFrames)
                return true;
            continue;
        }
        if (received != AVERROR(EAGAIN) || m_inputDone) {
            // The end of the audio, or a decoder that cannot go on.
            m_finished = true;
            return Drain();
        }
        if (av_read_frame(m_format, m_packet) < 0) {
            // The end of the file, or a read error in a damaged one: either way
            // what the decoder still holds is the last of the stream.
            avcodec_send_packet(m_codec, nullptr);
            m_inputDone = true;
            continue;
        }
        // A damaged packet is skipped, as FFmpeg's own player does; the
        // decoder resynchronises on the next one.
        if (m_packet->stream_index == m_streamIndex) avcodec_send_packet(m_codec, m_packet);
        av_packet_unref(m_packet);
    }
    return false;
}

bool FfmpegDecoder::Convert(const AVFrame& frame)
{
    if (!m_resampler || frame.format != m_inFormat || frame.sample_rate != m_inRate ||
        frame.ch_layout.nb_channels != m_inChannels) {
        swr_free(&m_resampler);
        if (frame.sample_rate < kLowestInputRate || frame.sample_rate > kHighestInputRate) return false;
        AVChannelLayout inLayout{};
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&inLayout, frame.ch_layout.nb_channels);
        else if (av_channel_layout_copy(&inLayout, &frame.ch_layout) < 0)
            return false;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        const int made = swr_alloc_set_opts2(&m_resampler, &stereo, AV_SAMPLE_FMT_S16, kOutputRate, &inLayout,
                                             AVSampleFormat(frame.format), frame.sample_rate, 0, nullptr);
        av_channel_layout_uninit(&inLayout);
        if (made < 0) return false;
        // Mono goes to both speakers at its full level, not 3 dB down.
        if (frame.ch_layout.nb_channels == 1) {
            const double both[2] = {1.0, 1.0};
            swr_set_matrix(m_resampler, both, 1);
        }
        if (swr_init(m_resampler) < 0) return false;
        m_inFormat = frame.format;
        m_inRate = frame.sample_rate;
        m_inChannels = frame.ch_layout.nb_channels;
    }
    const int capacity = swr_get_out_samples(m_resampler, frame.nb_samples);
    if (capacity < 0) return false;
    m_pending.resize(std::size_t(capacity) * 2);
    std::uint8_t* out = reinterpret_cast<std::uint8_t*>(m_pending.data());
    const int converted = swr_convert(
        m_resampler, &out, capacity, const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
    if (converted < 0) return false;
    m_pendingFrames = std::uint32_t(converted);
    if (m_aligning) SkipToSeekTarget(frame.best_effort_timestamp);
    return true;
}

bool FfmpegDecoder::Drain()
{
    if (!m_resampler) return false;
    const int capacity = swr_get_out_samples(m_resampler, 0);
    if (capacity <= 0) return false;
    m_pending.resize(std::size_t(capacity) * 2);
    std::uint8_t* out = reinterpret_cast<std::uint8_t*>(m_pending.data());
    const int converted = swr_convert(m_resampler, &out, capacity, nullptr, 0);
    m_pendingFrames = converted > 0 ? std::uint32_t(converted) : 0;
    if (m_aligning) m_pendingOffset = m_pendingFrames; // the seek went past the last sound
    return m_pendingOffset < m_pendingFrames;
}

void FfmpegDecoder::SkipToSeekTarget(std::int64_t frameTimestamp)
{
    // A decoded frame without a timestamp is taken to start where we asked.
    if (frameTimestamp == AV_NOPTS_VALUE) {
        m_aligning = false;
        return;
    }
    const std::int64_t at = av_rescale_q(frameTimestamp - m_startTimestamp,
                                         m_format->streams[m_streamIndex]->time_base, kOutputTimeBase);
    const std::int64_t early = std::int64_t(m_seekFrame) - at;
    if (early < std::int64_t(m_pendingFrames)) {
        m_pendingOffset = std::uint32_t(std::max<std::int64_t>(early, 0));
        m_aligning = false;
    } else {
        m_pendingOffset = m_pendingFrames; // wholly before the target
    }
}

Decoder* lirvan_open_decoder_v1(const char* path)
{
    static std::once_flag quiet;
    // A damaged file is answered with a failed call, not with FFmpeg's log.
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_FATAL); });
    return FfmpegDecoder::Open(path).release();
}
