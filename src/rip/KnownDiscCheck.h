#pragma once
#include "disc/AccurateRipDiscId.h"
#include "rip/AccurateRipResponse.h"
#include "rip/RipVerification.h"
#include <QList>
#include <atomic>
#include <optional>

struct TrackRipResult;

// Whether a read differs from the disc as the AccurateRip database knows
// it. The database is asked once, when a read first needs it; a database
// that is not asked, cannot be reached or does not know the disc makes no
// read differ.
class KnownDiscCheck {
public:
    // cancel, when given, ends the request under way as soon as it is set.
    KnownDiscCheck(const RipVerification& verification, const std::atomic<bool>* cancel = nullptr);

    bool Differs(const TrackRipResult& read);

private:
    void lookUp();

    RipVerification m_verification;
    const std::atomic<bool>* m_cancel;
    bool m_askedDatabase = false;
    std::optional<AccurateRipDiscId> m_disc;
    QList<AccurateRipResponse> m_responses;
};
