#include "encode/Mp3BlockEncoder.h"
#include "encode/TLameCoder.h"
#include "encode/ECDRIPError.h"
#include "encode/RipOutput.h"
#include <cstring>

Mp3BlockEncoder::Mp3BlockEncoder(TLameCoder& coder, RipOutput& output) : m_coder(coder), m_output(output)
{
    // Without a working stream there is no block size to cut the audio by.
    if (m_coder.InitStream() != 0 || m_coder.SamplesPerChunk() == 0)
        throw ECDRIPError(QStringLiteral("Encoder initialization failure"));
    m_open = true;
    m_blockSize = static_cast<int>(m_coder.SamplesPerChunk()) * 2;
    m_block.resize(m_blockSize);
    m_encoded.resize(m_coder.OutputBufferSize());
}

Mp3BlockEncoder::~Mp3BlockEncoder()
{
    closeStream();
}

void Mp3BlockEncoder::Consume(uint8_t* buffer, int bytes)
{
    const int total = m_leftover + bytes;
    const int blocks = total / m_blockSize;
    for (int b = 0; b < blocks; ++b)
        encodeBlock(buffer + b * m_blockSize);
    m_leftover = total - blocks * m_blockSize;
    if (m_leftover != 0)
        std::memmove(buffer, buffer + blocks * m_blockSize, m_leftover);
}

void Mp3BlockEncoder::Finish(uint8_t* buffer)
{
    struct CloseOnExit {
        Mp3BlockEncoder* self;
        ~CloseOnExit() { self->closeStream(); }
    } closer{this};
    if (m_leftover > 0) {
        // The end of the track goes as a short chunk: the encoder pads it to a
        // whole frame and declares that padding in its LAME tag, so gapless
        // decoders give back the track's own length. A cut sample frame is
        // completed with silence.
        const int frameBytes = m_coder.Mode() == MONO ? 2 : 4;
        const int bytes = (m_leftover + frameBytes - 1) / frameBytes * frameBytes;
        std::memset(m_block.data(), 0, bytes);
        std::memcpy(m_block.data(), buffer, m_leftover);
        m_leftover = 0;
        uint32_t length = 0;
        m_coder.EncodeLastChunk(reinterpret_cast<const int16_t*>(m_block.data()), uint32_t(bytes / 2),
                                m_encoded.data(), &length);
        writeOutput(length);
    }
    uint32_t length = 0;
    m_coder.DeinitStream(m_encoded.data(), &length);
    writeOutput(length);
    writeInfoTag();
}

void Mp3BlockEncoder::writeInfoTag()
{
    // The stream began with a placeholder frame of the same size; players
    // read the length and seek table from this one.
    uint32_t length = 0;
    m_coder.InfoTag(m_encoded.data(), &length);
    if (length > m_encoded.size())
        throw ECDRIPError(QStringLiteral("Encoder output overflow"));
    if (length > 0)
        m_output.WriteAt(0, m_encoded.data(), length);
}

void Mp3BlockEncoder::encodeBlock(const uint8_t* block)
{
    uint32_t length = 0;
    m_coder.EncodeChunk(reinterpret_cast<const int16_t*>(block), m_encoded.data(), &length);
    writeOutput(length);
}

void Mp3BlockEncoder::writeOutput(uint32_t length)
{
    // Never trust a count larger than the buffer it describes.
    if (length > m_encoded.size())
        throw ECDRIPError(QStringLiteral("Encoder output overflow"));
    m_output.Write(m_encoded.data(), length);
}

void Mp3BlockEncoder::closeStream()
{
    if (m_open) {
        m_open = false;
        m_coder.CloseStream();
    }
}
