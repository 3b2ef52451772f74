#pragma once
// MP3 at 44,100 Hz with LAME's Info tag, as LAME and the encoders built on it
// write by default, through libmpg123, which decodes straight to the output's
// 16-bit stereo. It is the whole of a small module (decoder_module.h):
// libmpg123 needs nothing but the C library, where FFmpeg's libraries bring a
// hundred more, so a session that plays such MP3s never loads FFmpeg. Every
// other rate is FFmpeg's to resample, since libmpg123's own resampler is a
// crude one; an MP3 without the tag is FFmpeg's to estimate the length of.

#include "platform/engine/decoder.h"

struct mpg123_handle_struct;

class Mpg123Decoder final : public Decoder {
public:
    // nullptr unless the file is MP3 at 44,100 Hz with the tag; the caller
    // then gives the file to FFmpeg.
    static std::unique_ptr<Mpg123Decoder> Open(const char* path);
    ~Mpg123Decoder() override;

    std::uint64_t LengthFrames() const override { return m_lengthFrames; }
    std::uint32_t Read(std::int16_t* out, std::uint32_t frames) override;
    bool Seek(std::uint64_t frame) override;

private:
    explicit Mpg123Decoder(mpg123_handle_struct* handle) : m_handle(handle) { }

    mpg123_handle_struct* m_handle;
    int m_file = -1;
    std::uint64_t m_lengthFrames = 0;
    bool m_finished = false;
};
