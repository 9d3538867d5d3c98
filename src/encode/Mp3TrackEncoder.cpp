#include "encode/Mp3TrackEncoder.h"
#include "encode/Mp3BlockEncoder.h"
#include <algorithm>
#include <cstring>

Mp3TrackEncoder::Mp3TrackEncoder(const TLameCoder& settings, RipOutput& output) : m_coder(settings.Library())
{
    m_coder.Assign(settings);
    m_encoder = std::make_unique<Mp3BlockEncoder>(m_coder, output);
}

// The encoder closes its stream before the coder goes.
Mp3TrackEncoder::~Mp3TrackEncoder()
{
    m_encoder.reset();
}

void Mp3TrackEncoder::Consume(const uint8_t* pcm, int bytes)
{
    const size_t leftover = static_cast<size_t>(m_encoder->Leftover());
    m_buffer.resize(std::max(m_buffer.size(), leftover + static_cast<size_t>(bytes)));
    std::memcpy(m_buffer.data() + leftover, pcm, static_cast<size_t>(bytes));
    m_encoder->Consume(m_buffer.data(), bytes);
}

void Mp3TrackEncoder::Finish()
{
    m_buffer.resize(std::max(m_buffer.size(), static_cast<size_t>(m_encoder->BlockSize())));
    m_encoder->Finish(m_buffer.data());
}
