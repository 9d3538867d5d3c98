#pragma once
#include <cstdint>
#include <vector>

class TLameCoder;
class RipOutput;

// Cuts the audio of a rip into whole encoder blocks, encodes them and writes
// the MP3 data. The stream opens on construction; Finish flushes and closes it.
class Mp3BlockEncoder {
public:
    Mp3BlockEncoder(TLameCoder& coder, RipOutput& output);
    ~Mp3BlockEncoder();
    Mp3BlockEncoder(const Mp3BlockEncoder&) = delete;
    Mp3BlockEncoder& operator=(const Mp3BlockEncoder&) = delete;

    int BlockSize() const { return m_blockSize; }
    int Leftover() const { return m_leftover; }
    // Encodes every whole block of buffer[0 .. Leftover + bytes) and moves the
    // rest to the front of buffer, where the next chunk is to be appended.
    void Consume(uint8_t* buffer, int bytes);
    // Encodes the leftover as a short last chunk, flushes, writes the final
    // VBR header frame over the first one and closes the stream. The stream is closed even when a write fails.
    void Finish(uint8_t* buffer);

private:
    void encodeBlock(const uint8_t* block);
    void writeOutput(uint32_t length);
    void writeInfoTag();
    void closeStream();

    TLameCoder& m_coder;
    RipOutput& m_output;
    int m_blockSize = 0;
    int m_leftover = 0;
    bool m_open = false;
    std::vector<uint8_t> m_block;
    std::vector<uint8_t> m_encoded;
};
