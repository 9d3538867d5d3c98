#pragma once
#include <cstdint>

// The audio of one disc, sector by sector: 2352 bytes of 16-bit
// little-endian stereo PCM each. Sectors count from the start of track 1's
// area (sector 0 is two seconds after the start of the disc).
class IDiscAudioSource {
public:
    static constexpr int SectorBytes = 2352;

    virtual ~IDiscAudioSource() = default;
    virtual int firstTrack() const = 0;
    virtual int lastTrack() const = 0;
    virtual bool isAudio(int track) const = 0;
    // First and last (inclusive) sector of a track of firstTrack()..lastTrack().
    virtual int32_t firstSector(int track) const = 0;
    virtual int32_t lastSector(int track) const = 0;
    // Reads count sectors from sector on into out (count * SectorBytes bytes);
    // false when the disc cannot be read there.
    virtual bool readSectors(int32_t sector, int count, char* out) = 0;
};
