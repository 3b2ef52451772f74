#pragma once
// The engine in a module of its own, loaded at the first stream, so that the
// player starts without SDL and the sound server's client. This is what
// the module exports and the player looks up; nothing else crosses.

#include "platform/audio_engine.h"

// Module file, found where the decoder modules are.
inline constexpr const char* kEngineModule = "liblirvan_engine.so";

// The module's one export: a new engine playing through the system's sound
// server, as CreateSystemAudioEngine makes it. Any thread. The caller owns it
// and deletes it through AudioEngine's virtual destructor; the module is never
// unloaded. The name carries the version of the AudioEngine interface.
extern "C" __attribute__((visibility("default"))) AudioEngine* lirvan_create_engine_v1();
inline constexpr const char* kEngineEntry = "lirvan_create_engine_v1";
