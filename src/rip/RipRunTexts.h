#pragma once
#include <QList>
#include <QString>

// What a rip run tells the user at its end, in French.
class RipRunTexts {
public:
    // The tracks left out because their file existed; empty when none.
    static QString Skipped(const QList<int>& tracks);
    // The tracks the disc could not give; empty when none.
    static QString Unread(const QList<int>& tracks);
    // After the disc's removal; cutOffTrack: the track it cut short, 0 for none.
    static QString DiscRemoved(int cutOffTrack);
};
