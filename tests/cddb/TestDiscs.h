#pragma once
#include <QString>
#include <QStringList>

// Disc images with tables of contents whose CDDB identifiers are worked out
// by hand in TestDiscs.cpp. Each writes <folder>/<name>.bin and .cue and
// returns the .cue path.
class TestDiscs {
public:
    // Three audio tracks of 300, 450 and 600 sectors: 0b001203. The CD-Text
    // names go as DiscImage::SetCdText takes them.
    static QString ThreeTracks(const QString& folder, const QStringList& titles = {},
                               const QStringList& performers = {});
    // The worked example, track 1 at 00:02:00, track 2 at 03:10:12 and four
    // minutes long: 0c01ac02.
    static QString WorkedExample(const QString& folder);
    // Two audio tracks of 300 sectors, then a data track of 300: 09000c03.
    static QString WithDataTrack(const QString& folder);
};
