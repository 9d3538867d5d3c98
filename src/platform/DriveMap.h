#pragma once
#include "platform/IDrives.h"
#include <QList>
#include <QMap>
#include <QStringList>

// Drive letters a..y and their CD sources: disc images and devices given with
// `--drive X=PATH`, then the CD devices libcdio finds on the free letters from
// d on, in device order.
class DriveMap : public IDrives {
public:
    // Takes the `--drive X=PATH` and `--drive=X=PATH` options out of args
    // (program name excluded) and leaves the other arguments, in order, in
    // *rest; one that names a mapped source (its path or cdda://NAME/)
    // becomes that drive's root "x:". Raises CalvenorError on a malformed option.
    static DriveMap FromArguments(const QStringList& args, QStringList* rest, bool withDevices = true);
    // The same with the given CD devices in place of those libcdio finds.
    static DriveMap FromArguments(const QStringList& args, QStringList* rest, const QStringList& devices);

    bool isCdDrive(QChar letter) override;
    bool isDiscPresent(QChar letter) override;
    QString unreadableReason(QChar letter) override;
    QString source(QChar letter) override;
    std::optional<DriveModel> model(QChar letter) override;
    QChar addImage(const QString& path) override;

    // Mapped letters, in order.
    QList<QChar> Letters() const { return m_sources.keys(); }
    // Sources in letter order: index i is the ripping library's drive i.
    QStringList CdSources() const { return m_sources.values(); }

private:
    void mapOption(const QString& value);
    void mapDevices(const QStringList& devices);
    QString rootOf(const QString& argument) const;
    QChar freeLetter() const;
    static QStringList cdDevices();
    static bool isImageReadable(const QString& path);
    static bool isDeviceReady(const QString& path);

    QMap<QChar, QString> m_sources;
};
