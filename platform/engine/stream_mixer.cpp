#include "platform/engine/stream_mixer.h"

#include "platform/engine/stream.h"

#include <algorithm>
#include <cstring>

void StreamMixer::Attach(Stream* stream)
{
    std::lock_guard<std::mutex> lock(m_streamsMutex);
    m_streams.push_back(stream);
}

void StreamMixer::Detach(Stream* stream)
{
    std::lock_guard<std::mutex> lock(m_streamsMutex);
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
}

void StreamMixer::Mix(std::int16_t* out, std::uint32_t frames)
{
    std::memset(out, 0, std::size_t(frames) * 2 * sizeof(std::int16_t));
    const std::uint32_t volume = Volume();
    std::lock_guard<std::mutex> lock(m_streamsMutex);
    for (Stream* stream : m_streams) stream->MixInto(out, frames, volume);
}
