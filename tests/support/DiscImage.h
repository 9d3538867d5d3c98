#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// A disc image for tests: one .bin and its .cue of the same base name (the
// reader opens the .bin named after the .cue, whatever the FILE line says).
// Track 1 starts at sector 0 unless audio is hidden before it; a later
// track may have a pre-gap (INDEX 00).
class DiscImage {
public:
    static constexpr int SectorBytes = 2352;

    // Sub-channel flags of an audio track, written as the cue's FLAGS line.
    enum AudioFlag { CopyPermitted = 1, PreEmphasis = 2 };

    struct Track {
        bool audio = true;
        int flags = 0;       // AudioFlag bits
        QByteArray pcm;      // audio: 16-bit little-endian stereo PCM as written
        int32_t firstSector = 0; // INDEX 01
        int32_t lastSector = 0;  // inclusive: up to the next track's INDEX 01
        int32_t pregap = -1;     // INDEX 00, -1 when none
        QString isrc;
        QList<int32_t> indexes;  // INDEX 02, 03, ...
    };

    // Appends an audio track; pcm must hold whole sectors (throws otherwise).
    DiscImage& AddAudioTrack(const QByteArray& pcm, int flags = 0);
    // The last track's first sectors become its pre-gap: they lie before its
    // INDEX 01 and so at the end of the previous track's audio.
    DiscImage& WithPregap(int sectors);
    DiscImage& WithIsrc(const QString& isrc);
    // The next index point (INDEX 02, 03, ...) of the last track, that many
    // sectors after its INDEX 01; after any WithPregap.
    DiscImage& WithIndex(int sectors);
    // The disc's catalogue number (MCN), written as the cue's CATALOG.
    DiscImage& WithCatalog(const QString& mcn);
    // Appends a MODE1/2352 data track of the given number of sectors.
    DiscImage& AddDataTrack(int sectors);
    // Audio before track 1's INDEX 01 (its INDEX 00 at sector 0); before any track.
    DiscImage& SetHiddenAudio(const QByteArray& pcm);
    // CD-Text as the cue's TITLE and PERFORMER lines: entry 0 the album's,
    // entry n track n's; empty names are left out.
    DiscImage& SetCdText(const QStringList& titles, const QStringList& performers);

    // Writes <folder>/<baseName>.bin and .cue; returns the .cue path.
    QString WriteTo(const QString& folder, const QString& baseName = QStringLiteral("disc")) const;

    const QList<Track>& Tracks() const { return m_tracks; }
    // Track by its 1-based number.
    const Track& TrackAt(int number) const { return m_tracks.at(number - 1); }
    int32_t LeadOutSector() const { return m_sectors; }

    // Noise-like PCM, the same for the same seed.
    static QByteArray NoisePcm(int sectors, uint32_t seed);
    // A sine of the given frequency on both channels; amplitude 0..1 of full scale.
    static QByteArray SinePcm(int sectors, double frequency, double amplitude = 0.5);

private:
    QByteArray cueSheet(const QString& binName) const;
    static QByteArray dataSector(int32_t lsn);

    QList<Track> m_tracks;
    int32_t m_sectors = 0;
    QString m_catalog;
    QByteArray m_hidden;
    QStringList m_titles;
    QStringList m_performers;
};
