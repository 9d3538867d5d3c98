#include "encode/GaplessTrim.h"
#include <algorithm>

void GaplessTrim::Start(int channels, int delay, int padding, int frames, int frameSamples)
{
    m_channels = std::max(channels, 1);
    if (delay < 0)
        return;
    m_skip = int64_t(delay) + DecoderDelay;
    m_left = Length(delay, padding, frames, frameSamples);
}

int64_t GaplessTrim::Length(int delay, int padding, int frames, int frameSamples)
{
    if (delay < 0 || frames <= 0 || frameSamples <= 0)
        return -1;
    return std::max<int64_t>(0, int64_t(frames) * frameSamples - delay - std::max(padding, 0));
}

void GaplessTrim::Apply(std::vector<int16_t>& pcm)
{
    const int64_t available = int64_t(pcm.size()) / m_channels;
    const int64_t drop = std::min(m_skip, available);
    m_skip -= drop;
    int64_t keep = available - drop;
    if (m_left >= 0) {
        keep = std::min(keep, m_left);
        m_left -= keep;
    }
    pcm.erase(pcm.begin(), pcm.begin() + drop * m_channels);
    pcm.resize(size_t(keep * m_channels));
}
