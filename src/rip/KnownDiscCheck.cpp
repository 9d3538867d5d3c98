#include "rip/KnownDiscCheck.h"
#include "platform/CalvenorError.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/AccurateRipVerdict.h"
#include "rip/TrackRipResult.h"

KnownDiscCheck::KnownDiscCheck(const RipVerification& verification, const std::atomic<bool>* cancel)
    : m_verification(verification), m_cancel(cancel)
{
}

bool KnownDiscCheck::Differs(const TrackRipResult& read)
{
    if (!read.HasChecksums)
        return false;
    if (!m_askedDatabase)
        lookUp();
    if (!m_disc)
        return false;
    return AccurateRipVerdict::Of(m_responses, *m_disc, m_disc->Slot(read.TrackNum), read.V1, read.V2).Result
           == AccurateRipVerdict::Different;
}

void KnownDiscCheck::lookUp()
{
    m_askedDatabase = true;
    if (!m_verification.AsksAccurateRip())
        return;
    // A failure only means the reads are compared with each other alone.
    try {
        AccurateRipDiscId disc(m_verification.Toc);
        AccurateRipDatabase database(*m_verification.Http, m_verification.Server, m_cancel);
        m_responses = database.Lookup(disc);
        m_disc = disc;
    } catch (const CalvenorError&) {
    }
}
