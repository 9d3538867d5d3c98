#pragma once
#include "platform/IDrives.h"
#include <QMap>

// Letters mapped to sources; a disc is present where `discs` says so.
class FakeDrives : public IDrives {
public:
    bool isCdDrive(QChar letter) override { return sources.contains(letter.toLower()); }
    bool isDiscPresent(QChar letter) override { ++presenceQueries; return discs.value(letter.toLower(), false); }
    QString source(QChar letter) override { return sources.value(letter.toLower()); }
    QString unreadableReason(QChar letter) override { return reasons.value(letter.toLower()); }

    QMap<QChar, QString> sources;
    QMap<QChar, QString> reasons;
    QMap<QChar, bool> discs;
    int presenceQueries = 0;
};
