#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

// Writes 16-bit PCM as a FLAC file through libFLAC's stream encoder: level 5,
// verify on (libFLAC decodes what it wrote and compares), the MD5 of the
// audio in STREAMINFO. The converter's writer; the rip's FLAC encoder lives
// in FlacEncoder, and the two may be merged later.
class FlacFileWriter {
public:
    // The encoder does not take this format, or the file cannot be opened.
    struct Refused {};

    // Writes through its own copy of descriptor, which stays open; the file
    // must be empty and seekable (STREAMINFO is written again at the end).
    FlacFileWriter(int descriptor, int channels, int sampleRate);
    ~FlacFileWriter();
    FlacFileWriter(const FlacFileWriter&) = delete;
    FlacFileWriter& operator=(const FlacFileWriter&) = delete;

    // Encodes frames of interleaved samples; false when the file could not be
    // written or what was written did not decode back to them.
    bool Write(const int16_t* interleaved, size_t frames);
    // Flushes and completes the file; false as Write.
    bool Finish();

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    int m_channels;
};
