#include "platform/engine/mpg123_decoder.h"

#include "platform/engine/decoder_module.h"

#include <fcntl.h>
#include <mpg123.h>
#include <unistd.h>

#include <cstdio>

namespace {

// Everything set before the file is opened: 16-bit stereo at whatever rate
// the file has, mono doubled to both speakers at its full level, and no
// resampling and no messages on standard error. Every rate is allowed here
// and one other than the output's refused once the file is open: refused
// here, libmpg123 would print its refusal even when told to be quiet.
bool Configure(mpg123_handle* handle)
{
    if (mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_AUTO_RESAMPLE, 0) != MPG123_OK ||
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0) != MPG123_OK ||
        mpg123_format_none(handle) != MPG123_OK)
        return false;
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        if (mpg123_format(handle, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) return false;
    }
    return true;
}

// True when the file carries LAME's Info tag, which gives its length exactly
// and the encoder's delay and padding for a gapless start and end. Without
// one, libmpg123 guesses the length from the first frame alone, which for
// variable bit rate can be a small part of the truth.
bool HasLengthTag(mpg123_handle* handle)
{
    long delay = -1;
    double unused = 0;
    return mpg123_getstate(handle, MPG123_ENC_DELAY, &delay, &unused) == MPG123_OK && delay >= 0;
}

// True when what comes next is in the output's own format.
bool AtOutputRate(mpg123_handle* handle)
{
    long rate = 0;
    int channels = 0, encoding = 0;
    return mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK && rate == long(kOutputRate);
}

} // namespace

std::unique_ptr<Mpg123Decoder> Mpg123Decoder::Open(const char* path)
{
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (!handle) return nullptr;
    std::unique_ptr<Mpg123Decoder> decoder(new Mpg123Decoder(handle));
    // Opened here rather than by libmpg123, which would leave the file open in
    // any program the player starts.
    decoder->m_file = open(path, O_RDONLY | O_CLOEXEC);
    if (decoder->m_file < 0 || !Configure(handle)) return nullptr;
    // Finding the format reads up to the first frame.
    if (mpg123_open_fd(handle, decoder->m_file) != MPG123_OK || !AtOutputRate(handle)) return nullptr;
    if (!HasLengthTag(handle)) return nullptr;
    // From the tag, less the encoder's delay and padding.
    const off_t length = mpg123_length(handle);
    if (length > 0) decoder->m_lengthFrames = std::uint64_t(length);
    return decoder;
}

Mpg123Decoder::~Mpg123Decoder()
{
    mpg123_close(m_handle);
    mpg123_delete(m_handle);
    if (m_file >= 0) close(m_file);
}

std::uint32_t Mpg123Decoder::Read(std::int16_t* out, std::uint32_t frames)
{
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    const std::size_t wanted = std::size_t(frames) * kBytesPerFrame;
    std::size_t done = 0;
    while (!m_finished && done < wanted) {
        std::size_t got = 0;
        const int result = mpg123_read(m_handle, bytes + done, wanted - done, &got);
        done += got;
        // A damaged frame is skipped inside libmpg123, which resynchronises on
        // the next; what comes back here is the end or a file it cannot go on
        // with. A change of rate in mid-file ends the stream as damage does. A
        // read that gives nothing and says nothing is the end too, so that it
        // cannot spin.
        if (result == MPG123_NEW_FORMAT)
            m_finished = !AtOutputRate(m_handle);
        else if (result != MPG123_OK || got == 0)
            m_finished = true;
    }
    return std::uint32_t(done / kBytesPerFrame);
}

bool Mpg123Decoder::Seek(std::uint64_t frame)
{
    // Exact to the frame: libmpg123 reads frame headers forward from the
    // nearest place it has indexed. On the stream's decoder thread.
    m_finished = mpg123_seek(m_handle, off_t(frame), SEEK_SET) < 0;
    return !m_finished;
}

Decoder* lirvan_open_decoder_v1(const char* path) { return Mpg123Decoder::Open(path).release(); }
