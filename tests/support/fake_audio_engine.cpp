#include "fake_audio_engine.h"

#include <cstring>

void FakeAudioEngine::Record(const std::string& operation, std::uint64_t value)
{
    calls.push_back(operation + " " + std::to_string(value));
}

int FakeAudioEngine::Count(const std::string& operation) const
{
    return static_cast<int>(CallsOf(operation).size());
}

std::vector<std::string> FakeAudioEngine::CallsOf(const std::string& operation) const
{
    std::vector<std::string> found;
    for (const std::string& call : calls) {
        if (call == operation || call.rfind(operation + " ", 0) == 0) found.push_back(call);
    }
    return found;
}

bool FakeAudioEngine::AudioInit()
{
    calls.push_back("AudioInit");
    initialised = true;
    return true;
}

HSTREAM FakeAudioEngine::AudioStreamCreateFile(const char* path)
{
    calls.push_back(std::string("AudioStreamCreateFile ") + path);
    if (!initialised || unplayable.count(path)) return 0;
    live.insert(++lastHandle);
    return lastHandle;
}

bool FakeAudioEngine::AudioStreamFree(HSTREAM handle)
{
    Record("AudioStreamFree", handle);
    return live.erase(handle) > 0;
}

bool FakeAudioEngine::AudioPlay(HSTREAM handle)
{
    Record("AudioPlay", handle);
    return live.count(handle) > 0;
}

bool FakeAudioEngine::AudioPause(HSTREAM handle)
{
    Record("AudioPause", handle);
    return live.count(handle) > 0;
}

bool FakeAudioEngine::AudioStop(HSTREAM handle)
{
    Record("AudioStop", handle);
    return live.count(handle) > 0;
}

std::uint32_t FakeAudioEngine::AudioIsActive(HSTREAM handle)
{
    Record("AudioIsActive", handle);
    return live.count(handle) && !ended ? 1 : 0;
}

std::uint64_t FakeAudioEngine::AudioGetLength(HSTREAM handle)
{
    Record("AudioGetLength", handle);
    return live.count(handle) ? length : 0;
}

std::uint64_t FakeAudioEngine::AudioGetPosition(HSTREAM handle)
{
    Record("AudioGetPosition", handle);
    return live.count(handle) ? position : 0;
}

bool FakeAudioEngine::AudioSetPosition(HSTREAM handle, std::uint64_t newPosition)
{
    Record("AudioSetPosition", newPosition);
    if (!live.count(handle)) return false;
    position = newPosition;
    return true;
}

std::uint32_t FakeAudioEngine::AudioGetData(HSTREAM handle, void* buffer, std::uint32_t request)
{
    Record("AudioGetData", handle);
    if (!live.count(handle) || request != kAudioDataFft2048) return kAudioDataError;
    std::memcpy(buffer, spectrum.data(), sizeof spectrum);
    return sizeof spectrum;
}

std::uint32_t FakeAudioEngine::AudioGetVolume()
{
    calls.push_back("AudioGetVolume");
    return initialised ? volume : kAudioVolumeUnknown;
}

bool FakeAudioEngine::AudioSetVolume(std::uint32_t newVolume)
{
    Record("AudioSetVolume", newVolume);
    if (!initialised) return false;
    volume = newVolume;
    return true;
}

// Kept apart from calls: the transport's calls and their order are what the tests compare.
bool FakeAudioEngine::AudioPrepareNext(const char* path)
{
    prepared = path ? path : "";
    return false;
}
