#pragma once
// An engine that plays nothing: it records every call and answers as the test scripts it.

#include "platform/audio_engine.h"

#include <array>
#include <set>
#include <string>
#include <vector>

class FakeAudioEngine final : public AudioEngine {
public:
    // What was called, in order: the operation's name and its handle or value,
    // e.g. "AudioPlay 1", "AudioSetVolume 100", "AudioStreamCreateFile /a.mp3".
    std::vector<std::string> calls;

    // Scripted answers.
    std::set<std::string> unplayable; // paths whose stream creation fails
    std::uint64_t length = 0;         // of every live stream
    std::uint64_t position = 0;       // of every live stream
    bool ended = false;               // live streams report inactive, as played to the end
    std::array<float, kSpectrumValues> spectrum{};

    // What the engine holds.
    bool initialised = false;
    std::uint32_t volume = 100;
    HSTREAM lastHandle = 0;
    std::set<HSTREAM> live;
    // The path last given to AudioPrepareNext ("" when forgotten).
    std::string prepared;

    int Count(const std::string& operation) const;
    // The calls whose text starts with operation.
    std::vector<std::string> CallsOf(const std::string& operation) const;

    LIRVAN_AUDIO_ENGINE_OPERATIONS

private:
    void Record(const std::string& operation, std::uint64_t value);
};
