#pragma once
#include "rip/CtdbDatabase.h"
#include <QList>
#include <QString>
#include <cstdint>

// What the CUETools database says of the whole disc's CRC.
struct CtdbVerdict {
    enum Kind {
        NotChecked, // not every track was ripped whole, or the database was not asked
        Exact,      // an entry holds the disc's CRC
        Different,  // the database knows the disc, not this CRC
        Absent      // the database does not know the disc
    };

    Kind Result = NotChecked;
    int Confidence = 0; // of the matching entry, the highest if several

    static CtdbVerdict Of(const QList<CtdbDatabase::Entry>& entries, uint32_t discCrc);
    // "Disque : exact selon CTDB (confiance C)" and the like; empty when not checked.
    QString Text() const;
};
