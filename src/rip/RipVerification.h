#pragma once
#include "rip/AccurateRipDatabase.h"
#include "rip/TTrack.h"
#include <QList>
#include <QString>
#include <atomic>
#include <cstdint>

class IHttpClient;
class RipReport;

// How the tracks of a run are proven: the AccurateRip database to ask, or
// why it is not asked (no network, turned off), which the log tells.
struct RipVerification {
    IHttpClient* Http = nullptr; // none: the database is not asked
    QString Server = AccurateRipDatabase::DefaultServer;
    QString SkipReason;
    uint32_t CddbId = 0;

    static QString NoNetwork() { return QStringLiteral("non consultée : pas de connexion au réseau"); }
    static QString TurnedOff() { return QStringLiteral("non consultée : vérification désactivée"); }

    // Gives the report's tracks their verdicts; tracks: the disc's table of
    // contents. Setting cancel ends the database request under way.
    void Apply(RipReport& report, const QList<TrackEntry>& tracks, const std::atomic<bool>* cancel = nullptr) const;
};
