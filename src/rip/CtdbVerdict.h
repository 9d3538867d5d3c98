#pragma once
#include "rip/CtdbCrc.h"
#include "rip/CtdbDatabase.h"
#include <QList>
#include <QString>
#include <cstdint>

// What the CUETools database says of the whole disc's CRC, or of one track's.
struct CtdbVerdict {
    enum Kind {
        NotChecked, // not every track was ripped whole, the database was not asked, or its entries do not tell
        Exact,      // an entry holds the CRC
        Different,  // the database knows the disc (the track), not this CRC
        Absent      // the database does not know the disc
    };

    Kind Result = NotChecked;
    int Confidence = 0; // of the matching entry, the highest if several
    int Shift = 0;      // of the entry's pressing (PressingShift); 0: the rip's own
    // Stereo samples the entry's parity corrected (CtdbDiscRepair); 0: none.
    int64_t RepairedSamples = 0;

    static CtdbVerdict Of(const QList<CtdbDatabase::Entry>& entries, uint32_t discCrc);
    // The audio track at index (from 0) of a rip with these sums: an entry
    // that holds the disc's CRC holds each of its tracks too.
    static CtdbVerdict OfTrack(const QList<CtdbDatabase::Entry>& entries, const CtdbCrc::Sums& sums, int index);
    // "Disque : exact selon CTDB (confiance C)", "Disque : réparé selon CTDB
    // (N échantillons corrigés), exact (confiance C)" and the like; empty when not checked.
    QString Text() const;
    // "Piste 03 : exacte selon CTDB (confiance C)" or "... : différente de la
    // base CTDB"; empty otherwise: the disc's line tells an absent disc.
    QString TrackText(int trackNum) const;
    // The same without the track, "absente de la base CTDB" too.
    QString TrackDetail() const;

private:
    // The words of the verdict, agreeing with "disque" (no ending) or "piste" ("e").
    QString detailAgreeing(const QString& ending) const;
    // "confiance C", and the pressing's shift when there is one.
    QString proof() const;
};
