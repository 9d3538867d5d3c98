#include "TestDiscs.h"
#include "support/DiscImage.h"

namespace {
QByteArray silence(int sectors)
{
    return QByteArray(sectors * DiscImage::SectorBytes, '\0');
}
} // namespace

// Starts at frames 150, 450, 900 (2, 6, 12 s: digit sum 11 = 0x0b), lead-out
// at frame 1500 (20 s, 18 s of play = 0x0012), 3 tracks.
QString TestDiscs::ThreeTracks(const QString& folder, const QStringList& titles, const QStringList& performers)
{
    return DiscImage()
        .AddAudioTrack(DiscImage::SinePcm(300, 440.0))
        .AddAudioTrack(DiscImage::SinePcm(450, 660.0))
        .AddAudioTrack(DiscImage::SinePcm(600, 880.0))
        .SetCdText(titles, performers)
        .WriteTo(folder, QStringLiteral("three"));
}

// Track 2 at frame 14262 (sector 14112); lead-out at frame 14262 + 18000 + 1
// (sector 32113).
QString TestDiscs::WorkedExample(const QString& folder)
{
    return DiscImage().AddAudioTrack(silence(14112)).AddAudioTrack(silence(18001)).WriteTo(folder, QStringLiteral("worked"));
}

// Starts at frames 150, 450, 750 (2, 6, 10 s: digit sum 9), lead-out at frame
// 1050 (14 s, 12 s of play = 0x000c), 3 tracks.
QString TestDiscs::WithDataTrack(const QString& folder)
{
    return DiscImage()
        .AddAudioTrack(DiscImage::SinePcm(300, 440.0))
        .AddAudioTrack(DiscImage::SinePcm(300, 660.0))
        .AddDataTrack(300)
        .WriteTo(folder, QStringLiteral("enhanced"));
}
