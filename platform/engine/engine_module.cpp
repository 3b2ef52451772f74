#include "platform/engine/engine_module.h"

AudioEngine* lirvan_create_engine_v1() { return CreateSystemAudioEngine().release(); }
