#pragma once
// MIDI through FluidSynth with the system's General MIDI SoundFont, rendered
// straight at the output's rate. The length comes from the file's tempo map;
// a seek restarts FluidSynth's player at the tick that sounds there. Built
// into the MIDI module (decoder_module.h) with FluidSynth.

#include "platform/engine/decoder.h"
#include "platform/engine/midi_timeline.h"

#include <fluidsynth.h>

#include <vector>

class MidiDecoder final : public Decoder {
public:
    static constexpr const char* kSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

    // nullptr when the bytes are not a well-formed MIDI file or the
    // SoundFont cannot be loaded.
    static std::unique_ptr<MidiDecoder> Open(std::vector<std::uint8_t> file);
    ~MidiDecoder() override;

    std::uint64_t LengthFrames() const override { return m_lengthFrames; }
    std::uint32_t Read(std::int16_t* out, std::uint32_t frames) override;
    bool Seek(std::uint64_t frame) override;

private:
    MidiDecoder(std::vector<std::uint8_t> file, MidiTimeline timeline);
    bool StartPlayer(std::uint64_t frame);

    std::vector<std::uint8_t> m_file;
    MidiTimeline m_timeline;
    std::uint64_t m_lengthFrames = 0;
    std::uint64_t m_position = 0;
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    fluid_player_t* m_player = nullptr;
};
