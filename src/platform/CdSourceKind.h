#pragma once
#include <QString>

// What a CD source path names: a drive, or a disc image known by its
// extension. libcdio is told which driver to use: probing an image with
// every driver runs parsers on files that are not theirs.
class CdSourceKind {
public:
    enum Kind { Device, CueImage, TocImage, NrgImage, Unknown };

    // A block device or a path under /dev/ is a drive; .cue, .toc and .nrg
    // (any letter case) are images; anything else is Unknown.
    static Kind Of(const QString& path);
    // The French text that refuses an Unknown source.
    static QString RefusalText(const QString& path);
};
