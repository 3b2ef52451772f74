#include "platform/engine/midi_decoder.h"

#include "platform/engine/decoder_module.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <mutex>

namespace {

// Once, before FluidSynth's first settings: its chatter (missing presets,
// unknown controllers) is not the player's business, only its errors reach
// standard error; and of its audio drivers only the file renderer is known to
// it, since the engine plays its samples itself. Its SDL driver would ask SDL
// about devices while the output keeper starts or stops SDL's audio.
void PrepareFluidSynth()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const char* drivers[] = {"file", nullptr};
        fluid_audio_driver_register(drivers);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    });
}

// A MIDI file bigger than this is not one; nothing is read into memory for it.
constexpr std::streamoff kMaxMidiBytes = 16 << 20;

} // namespace

std::unique_ptr<MidiDecoder> MidiDecoder::Open(std::vector<std::uint8_t> file)
{
    std::optional<MidiTimeline> timeline = MidiTimeline::Parse(file);
    if (!timeline) return nullptr;
    PrepareFluidSynth();
    std::unique_ptr<MidiDecoder> decoder(new MidiDecoder(std::move(file), *timeline));
    if (!decoder->m_synth || fluid_synth_sfload(decoder->m_synth, kSoundFont, 1) == FLUID_FAILED ||
        !decoder->StartPlayer(0))
        return nullptr;
    return decoder;
}

MidiDecoder::MidiDecoder(std::vector<std::uint8_t> file, MidiTimeline timeline)
    : m_file(std::move(file)), m_timeline(timeline),
      m_lengthFrames(std::uint64_t(m_timeline.LengthSeconds() * kOutputRate + 0.5))
{
    m_settings = new_fluid_settings();
    if (!m_settings) return;
    fluid_settings_setnum(m_settings, "synth.sample-rate", kOutputRate);
    // The player advances with the samples rendered, not with a clock of its own.
    fluid_settings_setstr(m_settings, "player.timing-source", "sample");
    // Only the stream's decoder thread renders, so no locking inside the synth.
    fluid_settings_setint(m_settings, "synth.threadsafe-api", 0);
    m_synth = new_fluid_synth(m_settings);
}

MidiDecoder::~MidiDecoder()
{
    if (m_player) {
        fluid_player_stop(m_player);
        delete_fluid_player(m_player);
    }
    if (m_synth) delete_fluid_synth(m_synth);
    if (m_settings) delete_fluid_settings(m_settings);
}

bool MidiDecoder::StartPlayer(std::uint64_t frame)
{
    if (m_player) {
        fluid_player_stop(m_player);
        delete_fluid_player(m_player);
    }
    // Notes and controllers of the old place must not ring on.
    fluid_synth_system_reset(m_synth);
    m_player = new_fluid_player(m_synth);
    m_position = frame;
    // The seek is taken before play starts: the player replays the programs
    // and controllers before that tick, skipping their notes.
    return m_player && fluid_player_add_mem(m_player, m_file.data(), m_file.size()) == FLUID_OK &&
        (frame == 0 ||
         fluid_player_seek(m_player, int(m_timeline.TickAt(double(frame) / kOutputRate))) == FLUID_OK) &&
        fluid_player_play(m_player) == FLUID_OK;
}

std::uint32_t MidiDecoder::Read(std::int16_t* out, std::uint32_t frames)
{
    const std::uint32_t n =
        std::uint32_t(std::min<std::uint64_t>(frames, m_lengthFrames - std::min(m_position, m_lengthFrames)));
    if (n == 0 || fluid_synth_write_s16(m_synth, int(n), out, 0, 2, out, 1, 2) != FLUID_OK) return 0;
    m_position += n;
    return n;
}

bool MidiDecoder::Seek(std::uint64_t frame)
{
    if (StartPlayer(std::min(frame, m_lengthFrames))) return true;
    m_position = m_lengthFrames; // the stream ends
    return false;
}

Decoder* lirvan_open_decoder_v1(const char* path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file || file.tellg() > kMaxMidiBytes) return nullptr;
    file.seekg(0);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return MidiDecoder::Open(std::move(bytes)).release();
}
