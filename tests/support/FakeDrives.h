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
    std::optional<DriveModel> model(QChar letter) override
    {
        const auto found = models.find(letter.toLower());
        return found == models.end() ? std::nullopt : std::optional<DriveModel>(*found);
    }

    // The letter after the last one, as a disc image opened from the menu gets.
    QChar addImage(const QString& path) override
    {
        const QChar letter = sources.isEmpty() ? QChar('d') : QChar(sources.lastKey().unicode() + 1);
        sources.insert(letter, path);
        discs.insert(letter, true);
        return letter;
    }

    QMap<QChar, QString> sources;
    QMap<QChar, QString> reasons;
    QMap<QChar, bool> discs;
    QMap<QChar, DriveModel> models;
    int presenceQueries = 0;
};
