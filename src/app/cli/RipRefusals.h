#pragma once
#include <QList>
#include <QString>
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
    // Raises UsageError when the file's name ends in another extension than
    // the format's (".flac", ".mp3", ".wav"); a name without one passes.
    static void ExtensionOfFormat(const QString& file, const QString& extension);
};
