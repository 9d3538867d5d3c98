#pragma once
#include "rip/CtdbDatabase.h"
#include "rip/CtdbRepair.h"
#include <QList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CtdbSyndromes;
class DiscTrackFiles;
class IHttpClient;
class TrackSums;

// Mends a rip's files with a CUETools database entry's parity, all or
// nothing. One pass over the files gives the rip's syndromes and its CRCs at
// every shift; the parity is fetched a step at a time (CtdbParityFetch)
// until it mends the rip (CtdbRepair); the mended window's CRC, reckoned
// from the corrections alone (Crc32::Change), must then be the entry's
// before a single file is written (RepairedTrackWriter).
class CtdbDiscRepair {
public:
    enum class Outcome {
        Repaired,   // the tracks with corrections were written anew
        Unchanged,  // the rip is the entry's already
        TooDamaged, // a column holds more wrong words than the parity mends
        NoOffset,   // no shift within ±MaxOffset fits: another disc, or damage beyond mending
        CrcDiffers, // the corrections do not give the entry's CRC: nothing written
    };
    struct Result {
        Outcome Kind = Outcome::NoOffset;
        int Npar = 0;             // rows of parity of the last try
        int Shift = 0;            // of the entry's pressing (PressingShift)
        int64_t Samples = 0;      // stereo samples corrected
        QList<int64_t> TrackSamples; // of each track, by its index among the files
        int64_t WindowFirst = 0;  // the disc's bytes the parity covers at that shift
        int64_t WindowEnd = 0;
    };
    // A track written anew: its index among the files and the sums of its audio.
    using Written = std::function<void(int index, TrackSums& sums)>;

    // npar: the most rows any entry tried may give; threads 0: one per processor.
    CtdbDiscRepair(IHttpClient& http, const DiscTrackFiles& files, int npar, const std::atomic<bool>* cancel = nullptr,
                   int threads = 0);
    ~CtdbDiscRepair();

    // Mends the rip with the entry (HasParity), reading the files on first
    // use. Raises CalvenorError with a French text when the parity cannot be
    // had or a file cannot be read or written.
    Result Run(const CtdbDatabase::Entry& entry, const Written& written);

private:
    void readRip();
    Result resultOf(const CtdbRepair::Plan& plan, int npar) const;
    uint32_t mendedCrc(const CtdbRepair::Plan& plan) const;
    void write(const CtdbRepair::Plan& plan, Result& result, const Written& written) const;

    IHttpClient& m_http;
    const DiscTrackFiles& m_files;
    int m_npar;
    const std::atomic<bool>* m_cancel;
    int m_threads;
    std::unique_ptr<CtdbSyndromes> m_syndromes;
    std::vector<uint32_t> m_shiftedCrcs; // the window's CRC at each shift (CtdbShiftedCrc)
};
