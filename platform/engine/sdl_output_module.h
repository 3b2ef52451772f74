#pragma once
// SDL's output lives in a module of its own, loaded only where the sound
// server does not answer (or SDL_AUDIODRIVER asks for another of SDL's
// drivers): a player that reaches the server never loads SDL and the
// libraries it brings. This is what the module exports and the engine looks
// up; nothing else crosses.

#include "platform/engine/output_device.h"
#include "platform/engine/sound_source.h"

// The module file, found where module_loader.h says.
inline constexpr const char* kSdlOutputModule = "liblirvan_sdl.so";

// The module's one export: a new, closed SDL output playing `source`, which
// outlives it; `silent`, the dummy driver that stands in while no sound
// system answers. Any thread. The caller owns the device and deletes it through
// OutputDevice's virtual destructor; the module is never unloaded. The name
// carries the version of the interfaces, so that a module of another version
// is refused instead of called.
extern "C" __attribute__((visibility("default"))) OutputDevice* lirvan_open_sdl_output_v2(SoundSource* source,
                                                                                          bool silent);
inline constexpr const char* kSdlOutputEntry = "lirvan_open_sdl_output_v2";
