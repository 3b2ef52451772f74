#pragma once
// The decoders live in modules of their own, loaded when a file first needs
// one: libmpg123 with the first MP3, FFmpeg's libraries with the first file it
// does not take, FluidSynth's with the first MIDI file, and a session that
// plays nothing loads none of them. This is what a module exports and the
// engine looks up; nothing else crosses.

#include "platform/engine/decoder.h"

// Module files, found where module_loader.h says.
inline constexpr const char* kMpg123Module = "liblirvan_mpg123.so";
inline constexpr const char* kFfmpegModule = "liblirvan_ffmpeg.so";
inline constexpr const char* kMidiModule = "liblirvan_midi.so";

// A module's one export: the decoder for the file at `path`, or nullptr when
// it holds no playable audio. Any thread. The caller owns the decoder and
// deletes it through Decoder's virtual destructor; a module is never unloaded.
// The name carries the version of the Decoder interface, so that a module of
// another version is refused instead of called.
extern "C" __attribute__((visibility("default"))) Decoder* lirvan_open_decoder_v1(const char* path);
inline constexpr const char* kDecoderEntry = "lirvan_open_decoder_v1";
