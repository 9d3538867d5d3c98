#pragma once
#include "rip/ForwardingCdRipLibrary.h"
#include <vector>

// The CD ripping library corrected by a drive's read offset, in samples of
// CD audio (stereo 44100 Hz): a range asked for is read `offset` samples
// further on the disc (earlier when negative), across track boundaries, and
// what would lie beyond the disc's audio is silence. The range delivered
// has exactly the asked length.
class ReadOffsetLibrary : public ForwardingCdRipLibrary {
public:
    // discFirst..discLast: the sectors of the disc's audio.
    ReadOffsetLibrary(ICdRipLibrary& inner, int32_t offsetSamples, int32_t discFirst, int32_t discLast);

    int32_t CR_GetPercentCompleted() override;
    int32_t CR_OpenRipper(int32_t* bufferSize, int32_t firstSector, int32_t lastSector) override;
    int32_t CR_RipChunk(uint8_t* buffer, int32_t* bytesRead) override;
    // Unread sectors are told as the sectors of the asked range they fall in.
    TReadReport CR_GetReadReport() override;

private:
    int64_t silenceChunk(uint8_t* buffer);
    int64_t innerChunk(uint8_t* buffer, int32_t* result);

    int64_t m_offset;
    int32_t m_discFirst;
    int32_t m_discLast;
    int32_t m_first = 0;
    int32_t m_last = -1;
    int64_t m_total = 0;          // bytes of the asked range
    int64_t m_remaining = 0;      // bytes still to deliver
    int64_t m_silenceBefore = 0;  // bytes of silence before the disc's start
    int64_t m_skip = 0;           // bytes read before the asked range starts
    bool m_innerDone = true;
    std::vector<uint8_t> m_scratch;
};
