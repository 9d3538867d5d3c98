#include "rip/TrackReads.h"
#include "rip/KnownDiscCheck.h"
#include "rip/TCDRIP.h"

namespace {
// The ripper's commit check for the time of one track's reads.
class CommitCheckScope {
public:
    CommitCheckScope(TCDRIP& ripper, TCDRIP::CommitCheck check) : m_ripper(ripper)
    {
        m_ripper.SetCommitCheck(std::move(check));
    }
    ~CommitCheckScope() { m_ripper.SetCommitCheck(nullptr); }
    CommitCheckScope(const CommitCheckScope&) = delete;
    CommitCheckScope& operator=(const CommitCheckScope&) = delete;

private:
    TCDRIP& m_ripper;
};

size_t lostSectors(const TrackRipResult& read)
{
    return read.Read.UnreadSectors.size();
}
} // namespace

TrackReads::TrackReads(TCDRIP& ripper, int passes, KnownDiscCheck* discCheck)
    : m_ripper(ripper), m_passes(passes), m_discCheck(discCheck)
{
}

TrackRipResult TrackReads::Rip(int trackNum, const QString& path, IRipProgress* progress)
{
    if (m_passes <= 1)
        return m_ripper.RipTrack(trackNum, path, progress);
    m_reads.clear();
    m_hasKept = false;
    const TrackRipResult test = m_ripper.TestTrack(trackNum, path, progress);
    if (test.Interrupted)
        return test;
    m_reads.push_back(test);

    bool keep = false;
    const CommitCheckScope scope(m_ripper, [&](const TrackRipResult& ended) {
        TrackRipResult read = ended;
        read.TrackNum = trackNum;
        keep = better(read);
        return keep;
    });
    TrackRipResult last = test;
    bool agreed = false;
    while (!agreed && static_cast<int>(m_reads.size()) < m_passes) {
        keep = false;
        last = m_ripper.RipTrack(trackNum, path, progress);
        if (keep) {
            m_kept = last;
            m_hasKept = true;
        }
        if (last.Interrupted)
            break;
        agreed = agreesWithEarlier(last);
        m_reads.push_back(last);
    }
    const TrackRipResult result = told(m_hasKept ? m_kept : last, agreed);
    // The reads left aside let go of their files: only the one told lives on.
    m_kept = TrackRipResult();
    m_reads.clear();
    return result;
}

bool TrackReads::agreesWithEarlier(const TrackRipResult& read)
{
    if (!read.ReadToEnd())
        return false;
    for (const TrackRipResult& earlier : m_reads)
        if (earlier.ReadToEnd() && earlier.Crc == read.Crc)
            return !m_discCheck || !m_discCheck->Differs(read);
    return false;
}

// A stopped read is kept only when no other file is.
bool TrackReads::better(const TrackRipResult& read)
{
    if (!m_hasKept)
        return true;
    if (read.Interrupted)
        return false;
    return agreesWithEarlier(read) || lostSectors(read) < lostSectors(m_kept);
}

TrackRipResult TrackReads::told(TrackRipResult kept, bool agreed) const
{
    kept.Reads = static_cast<int>(m_reads.size());
    kept.ReadsAgree = agreed;
    kept.TestCrc = m_reads.front().Crc;
    kept.CopyCrc = kept.Crc;
    return kept;
}
