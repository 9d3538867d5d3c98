#pragma once
#include "disc/DiscToc.h"
#include "rip/CtdbDiscRepair.h"
#include <atomic>

class DiscTrackFiles;
class IHttpClient;
class RipReport;

// What the files of a rip can still prove once the databases have given
// their verdicts at shift 0: matches with other pressings of the disc
// (PressingSearch), then, for a disc the CUETools database knows and still
// calls different or damaged, the repair of its files from an entry's
// parity (CtdbDiscRepair). Both read the files again: a whole disc ripped
// into WAV or FLAC files.
class DiscProof {
public:
    // repairs: the files may be mended; http null: no parity is fetched.
    DiscProof(IHttpClient* http, const DiscToc& toc, bool repairs, const std::atomic<bool>* cancel = nullptr);

    // Raises HttpCancelled once cancel is set; other failures are the report's note.
    void Complete(RipReport& report) const;

private:
    void searchPressings(RipReport& report, const DiscTrackFiles& files) const;
    void repair(RipReport& report, const DiscTrackFiles& files) const;
    // The disc's and the tracks' verdicts once the repair wrote the files.
    void tellRepaired(RipReport& report, const DiscTrackFiles& files, int confidence,
                      const CtdbDiscRepair::Result& result) const;

    IHttpClient* m_http;
    DiscToc m_toc;
    bool m_repairs;
    const std::atomic<bool>* m_cancel;
};
