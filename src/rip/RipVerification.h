#pragma once
#include "disc/DiscToc.h"
#include "rip/AccurateRipDatabase.h"
#include <QString>
#include <atomic>

class IHttpClient;
class RipReport;

// How the tracks of a run are proven: the AccurateRip database to ask about
// the disc of that table of contents, or why it is not asked (no network,
// turned off), which the log tells.
struct RipVerification {
    IHttpClient* Http = nullptr; // none: the database is not asked
    QString Server = AccurateRipDatabase::DefaultServer;
    QString SkipReason;
    DiscToc Toc;

    static QString NoNetwork() { return QStringLiteral("non consultée : pas de connexion au réseau"); }
    static QString TurnedOff() { return QStringLiteral("non consultée : vérification désactivée"); }
    static QString NoToc() { return QStringLiteral("non consultée : table des matières du disque illisible"); }

    // Gives the report's tracks their verdicts. Setting cancel ends the
    // database request under way.
    void Apply(RipReport& report, const std::atomic<bool>* cancel = nullptr) const;
};
