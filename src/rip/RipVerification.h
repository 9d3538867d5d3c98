#pragma once
#include "disc/DiscToc.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/CtdbDatabase.h"
#include <QString>
#include <atomic>

class IHttpClient;
class IInternet;
class RipReport;
class Settings;

// How the tracks of a run are proven: the AccurateRip database to ask about
// the disc of that table of contents, the CUETools database to ask about the
// whole disc, or why either is not asked (no network, turned off), which the
// log tells.
struct RipVerification {
    IHttpClient* Http = nullptr; // none: no database is asked
    QString Server = AccurateRipDatabase::DefaultServer;
    QString SkipReason; // AccurateRip is not asked
    QString CtdbServer = CtdbDatabase::DefaultServer;
    QString CtdbSkipReason; // the CUETools database is not asked
    // A disc the CUETools database knows but calls different or damaged is
    // mended from its parity (DiscProof).
    bool RepairsFromCtdb = true;
    DiscToc Toc;

    static QString NoNetwork() { return QStringLiteral("non consultée : pas de connexion au réseau"); }
    static QString TurnedOff() { return QStringLiteral("non consultée : vérification désactivée"); }
    static QString NoToc() { return QStringLiteral("non consultée : table des matières du disque illisible"); }

    // The default servers, or those the settings name when given, asked
    // about the disc of that table of contents when the network is up (http
    // and internet given and connected).
    static RipVerification Online(IHttpClient* http, IInternet* internet, const DiscToc& toc,
                                  const Settings* settings = nullptr);

    // Gives the report's tracks their verdicts, and the disc its own; then,
    // from the files, looks for other pressings where a database calls them
    // different and mends them from the CUETools database's parity
    // (DiscProof). Setting cancel ends the database request under way.
    void Apply(RipReport& report, const std::atomic<bool>* cancel = nullptr) const;
    // The AccurateRip database is to be asked about the disc.
    bool AsksAccurateRip() const { return skipped(SkipReason).isEmpty(); }

private:
    void applyDatabases(RipReport& report, const std::atomic<bool>* cancel) const;
    // Why a database is not asked; empty when it is.
    QString skipped(const QString& reason) const;
};
