#include "platform/engine/decoder.h"

#include "platform/engine/ffmpeg_decoder.h"
#include "platform/engine/midi_decoder.h"

#include <fstream>
#include <iterator>

namespace {

// A MIDI file bigger than this is not one; nothing is read into memory for it.
constexpr std::streamoff kMaxMidiBytes = 16 << 20;

} // namespace

std::unique_ptr<Decoder> OpenDecoder(const char* path)
{
    if (!LooksLikeMidi(path))
        return FfmpegDecoder::Open(path);
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file || file.tellg() > kMaxMidiBytes)
        return nullptr;
    file.seekg(0);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return MidiDecoder::Open(std::move(bytes));
}
