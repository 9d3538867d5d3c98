#pragma once
#include "platform/PlatformServices.h"
#include <QChar>
#include <QString>

class DriveIdentity;
class QComboBox;

// The drive list of the main window: one entry per CD drive, its letter
// first, then what it is: "d:\ — VENDOR MODEL", "x:\ — album.cue".
class DriveChoice {
public:
    DriveChoice(QComboBox& list, const PlatformServices& services) : m_list(list), m_services(services) {}

    // "x:\" followed by what the drive is, when known.
    static QString EntryText(QChar letter, const DriveIdentity& drive);
    // Lists the CD drives; says so when there is none.
    void ListCdDrives();
    // Gives a disc image the next free letter (IDrives::addImage), lists it
    // and chooses it; raises CalvenorError in French when it cannot be had.
    void AddImage(const QString& path);
    // Chooses the entry a start argument names ("E:\", "e:\" or "e:"), if any.
    void ChooseFromArgument(const QString& argument);
    bool Chosen() const;
    // First character of the list's text, lower case; null when none is chosen.
    QChar Letter() const;
    // A source that is there but cannot be read (a cue sheet without its
    // .bin) says why in a box, once for each new reason.
    void SayWhyUnreadable(QChar letter);

private:
    void widenList();

    QComboBox& m_list;
    PlatformServices m_services;
    QString m_unreadableReason;
};
