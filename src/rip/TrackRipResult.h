#pragma once
#include "platform/CdRipTypes.h"
#include "rip/AccurateRipVerdict.h"
#include "rip/CtdbVerdict.h"
#include <QString>
#include <cstdint>
#include <memory>

class Ebur128Meter;
class RipOutput;

// What the ripper made of one track: the file, what it could not read, and
// the checksums of the audio as written.
struct TrackRipResult {
    int TrackNum = 0; // as on the disc; 0 for a bare sector range
    QString Path;     // of the file written
    int32_t FirstSector = 0;
    int32_t LastSector = -1;
    bool FileWritten = false;
    TReadReport Read;
    bool HasChecksums = false; // the AccurateRip and CTDB sums: CD audio only
    uint32_t Crc = 0;          // CRC32 of the audio as delivered, in any format
    uint32_t V1 = 0;
    uint32_t V2 = 0;
    // The track's CRC in the CUETools database for each remainder of the
    // disc's length by 10 sectors (see CtdbCrc).
    CtdbCrc::Values CtdbCrcs{};
    AccurateRipVerdict Verdict;
    // What the CUETools database says of this track (its entries' trackcrcs).
    CtdbVerdict Ctdb;
    // The sectors it lost lie where the database's parity made the disc's
    // audio right (CtdbDiscRepair): the file holds them as on the disc.
    bool SectorsMended = false;
    // Stopped before its end: the file holds only the audio kept.
    bool Interrupted = false;
    int32_t KeptSectors = 0;
    // Several reads of the track (RipRun::SetPasses): how many were made to
    // their end, 0 for a lone read; whether two of them agreed; the CRC32 of
    // the first, the test read, and of the read the file keeps.
    int Reads = 0;
    bool ReadsAgree = false;
    uint32_t TestCrc = 0;
    uint32_t CopyCrc = 0;
    // The disc flags the track's audio as pre-emphasised: it is ripped as is.
    bool PreEmphasis = false;
    // The loudness of the audio as delivered, shared by the copies of the
    // result for the album's; CD audio read to its end with the measure
    // asked (TCDRIP::SetMeasureLoudness) only, else null.
    std::shared_ptr<const Ebur128Meter> Loudness;
    // The file written but not yet named, when the ripper leaves naming to
    // its caller (TCDRIP::SetLeavesFilesUnnamed): complete and closed, to be
    // tagged through its DataPath and named with its Commit. Null once named.
    std::shared_ptr<RipOutput> File;

    int32_t SectorCount() const { return LastSector - FirstSector + 1; }
    bool LostSectors() const { return !Read.UnreadSectors.empty(); }
    // Every sector delivered, none given up on.
    bool ReadWhole() const { return FileWritten && Read.RangeFinished && !LostSectors(); }
    // The same for a read with or without a file: it went to its end and lost nothing.
    bool ReadToEnd() const { return Read.RangeFinished && !LostSectors() && !Interrupted; }
};
