#pragma once
#include <QList>
#include <QStringList>

class TCDRIP;

// Why calvenor-rip will not start a rip, told before any read.
class RipRefusals {
public:
    // Raises CalvenorError when a wanted track is not an audio track of the
    // disc (0: the hidden track, when there is none).
    static void TracksNotOnDisc(const TCDRIP& ripper, const QList<int>& wanted);
    // Raises CalvenorError naming the files that exist, unless allowed.
    static void Overwrite(const QStringList& existing, bool allowed);
};
