// The engine that plays through the system's sound server.

#include "platform/audio_engine.h"
#include "platform/engine/system_engine.h"

std::unique_ptr<AudioEngine> CreateSystemAudioEngine() { return std::make_unique<SystemEngine>(); }
