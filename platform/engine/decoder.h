#pragma once
// A source of a stream's audio, already in the output's shape: 16-bit stereo
// frames at 44,100 Hz. One decoder belongs to one stream and, once the stream
// starts, is used only from that stream's decoder thread.

#include "platform/audio_engine.h"

#include <cstdint>
#include <memory>
#include <string>

class Decoder {
public:
    virtual ~Decoder() = default;

    // The whole stream in frames, known from the file's header or tempo map;
    // 0 when the file does not tell.
    virtual std::uint64_t LengthFrames() const = 0;
    // Fills up to `frames` interleaved stereo frames and answers how many it
    // wrote; fewer than asked only at the end of the audio or when the file
    // turns out damaged, after which every further call answers 0.
    virtual std::uint32_t Read(std::int16_t* out, std::uint32_t frames) = 0;
    // Moves so that the next Read starts at `frame`; false when the file
    // cannot go there (the stream then ends).
    virtual bool Seek(std::uint64_t frame) = 0;
};

// The decoder for a file: FluidSynth for MIDI (by extension or an "MThd"
// header); libmpg123 for MP3 at 44,100 Hz with LAME's Info tag (of the files
// that start with an ID3v2 tag or an MPEG audio frame); FFmpeg for everything
// else, and for what libmpg123 refuses; nullptr when the file holds no
// playable audio. Reads only the start of the file (a MIDI file whole). Any
// thread.
//
// Each kind's decoders are a module of their own (decoder_module.h) that the
// first file of that kind loads, found relative to the binary that loads it
// (module_loader.h): beside it, or in the installed module folder.
// A module that cannot be loaded says why once, in one line on standard
// error, and answers nullptr for every file of its kind, as for a bad file
// (MPEG audio then goes to FFmpeg).
std::unique_ptr<Decoder> OpenDecoder(const char* path);

// From now on modules are looked for in `folder` alone (empty: in the usual
// places again), and loaded afresh by the next file that needs one. For tests.
void UseDecoderModulesFrom(std::string folder);
