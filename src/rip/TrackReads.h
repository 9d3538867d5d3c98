#pragma once
#include "rip/TrackRipResult.h"
#include <QString>
#include <vector>

class IRipProgress;
class KnownDiscCheck;
class TCDRIP;

// A track read again until two reads agree: a test read that writes no
// file, then copy reads that write it, up to a number of reads. Two reads
// agree when both went to their end without a lost sector, their CRC32 are
// equal and the AccurateRip database, when it knows the disc, does not call
// them different. A further read replaces the file only when it is better
// than the one kept: it agrees with an earlier read, or it lost fewer
// sectors. With one pass the track is read once, as RipTrack does.
class TrackReads {
public:
    // discCheck may be null: the reads are only compared with each other.
    TrackReads(TCDRIP& ripper, int passes, KnownDiscCheck* discCheck);

    // What the ripper made of the track, the kept read's, with the number
    // of reads and whether two agreed. A stop ends the reads: the file kept
    // so far stays, or the stopped read's part when there is none.
    TrackRipResult Rip(int trackNum, const QString& path, IRipProgress* progress);

private:
    bool agreesWithEarlier(const TrackRipResult& read);
    bool better(const TrackRipResult& read);
    TrackRipResult told(TrackRipResult kept, bool agreed) const;

    TCDRIP& m_ripper;
    int m_passes;
    KnownDiscCheck* m_discCheck;
    std::vector<TrackRipResult> m_reads; // to their end, the test read first
    TrackRipResult m_kept;
    bool m_hasKept = false;
};
