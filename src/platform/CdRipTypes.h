#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

// Records and enumerations of the CD ripping library interface.

enum TDriveType { GENERIC, TOSHIBA, TOSHIBANEW, IBM, NEC, DEC, IMS, KODAK, RICOH, HP, PHILIPS,
                  PLASMON, GRUNDIGCDR100IPW, MITSUMICDR, PLEXTOR, SONY, YAMAHA, NRC, IMSCDD5,
                  CUSTOMDRIVE };
enum TReadMethod { READMMC, READ10, READNEC, READSONY, READMMC2, READMMC3, READC1, READC2, READC3 };
enum TSetSpeed { SPEEDNONE, SPEEDMMC, SPEEDSONY, SPEEDYAMAHA, SPEEDTOSHIBA, SPEEDPHILIPS, SPEEDNEC };
enum TEndian { BIGENDIAN, LITTLEENDIAN };
enum TEnableMode { ENABLENONE, ENABLESTD };
enum TOutputFormat { STEREO44100, MONO44100, STEREO22050, MONO22050, STEREO11025, MONO11025 };

// Results of CR_... operations.
constexpr int32_t CR_FAILURE = 1;
constexpr int32_t CR_OK = 0;
constexpr int32_t CR_JITTER_ERROR = 3;
constexpr int32_t CR_RANGE_DONE = 4;

// The library's 340-byte parameter record; the program reads and writes only
// the fields below, every other byte belongs to the library.
struct TCDRomParams {
    static constexpr int Size = 340;
    static constexpr int SpeedOffset = 276;
    static constexpr int JitterCorrectionOffset = 284;
    static constexpr int DriveTableOffset = 292;
    static constexpr int DriveTableValues = 7;
    static constexpr int OutputFormatOffset = 327;

    std::array<uint8_t, Size> bytes{};

    int32_t get32(int offset) const {
        int32_t v;
        std::memcpy(&v, bytes.data() + offset, 4);
        return v;
    }
    void set32(int offset, int32_t v) { std::memcpy(bytes.data() + offset, &v, 4); }
};

// One entry of the table of contents, 8 bytes.
struct TTocEntry {
    uint32_t dwStartSector = 0;
    uint8_t btFlag = 0;
    uint8_t btTrackNumber = 0;
    uint16_t reserved = 0;
};
static_assert(sizeof(TTocEntry) == 8, "TTocEntry is 8 bytes");

// What the library could and could not read of a range.
struct TReadReport {
    // Sectors paranoia gave up on (disc addresses, ascending, each once); they
    // are delivered as silence or unverified data.
    std::vector<int32_t> UnreadSectors;
    // Jitter fixups paranoia made: edges, atoms, dropped or duplicated bytes, drift.
    int32_t JitterCorrections = 0;
    // Every sector of the range was delivered.
    bool RangeFinished = false;
};

constexpr uint8_t TOC_FLAG_AUDIO = 0x10;
constexpr uint8_t TOC_FLAG_DATA = 0x14;

// Channels and sample rate of each output format.
struct OutputLayout {
    int channels;
    int sampleRate;
};
inline OutputLayout layoutOf(TOutputFormat f) {
    switch (f) {
    case MONO44100: return {1, 44100};
    case STEREO22050: return {2, 22050};
    case MONO22050: return {1, 22050};
    case STEREO11025: return {2, 11025};
    case MONO11025: return {1, 11025};
    case STEREO44100: default: return {2, 44100};
    }
}
