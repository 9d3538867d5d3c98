#pragma once
#include <cstdint>
#include <functional>
#include <memory>

class RipOutput;

// Turns the PCM of one track, as it is read, into its file. The same steps
// whether a rip encodes as it reads or hands the track to encoder threads,
// so both give the same file.
class ITrackEncoder {
public:
    virtual ~ITrackEncoder() = default;
    // The next bytes of PCM, in any size: the encoder keeps what it cannot
    // use yet.
    virtual void Consume(const uint8_t* pcm, int bytes) = 0;
    // Encodes what is left and completes the file (it is committed elsewhere).
    virtual void Finish() = 0;
};

// Makes a track's encoder for its output; may be called from any thread.
using TrackEncoderFactory = std::function<std::unique_ptr<ITrackEncoder>(RipOutput&)>;
