#pragma once
#include "platform/CdTocRecord.h"
#include "platform/ICdAudioDevice.h"
#include <QList>
#include <QString>
#include <cstdint>

class IDrives;

// One track of a disc's table of contents. Sectors are counted as libcdio
// and AccurateRip count them: sector 0 lies two seconds into the disc.
struct TocTrack {
    int number = 0;       // as on the disc: a disc may start at track 2
    int32_t start = 0;    // INDEX 01
    int32_t length = 0;   // sectors up to the next track or the lead-out
    bool audio = true;
    int session = 1;
    int32_t pregap = -1;  // INDEX 00, -1 when the track has none
    QList<int32_t> indexes; // INDEX 02, 03, ...
    bool preEmphasis = false;
    bool copyPermitted = false;
    QString isrc;
    CdTextNames text;

    int32_t end() const { return start + length - 1; }
};

// The table of contents of one disc, read once when it is inserted and
// shared by the lookup, the windows and the rip. Every identifier of the disc
// is computed here, from these numbers only.
class DiscToc {
public:
    DiscToc() = default;
    DiscToc(const QList<TocTrack>& tracks, int32_t leadOut, const QString& mcn = {});
    // What a drive looks for in its Q sub-channel, which can take seconds
    // that a window cannot wait for: each track's ISRC, the catalogue number,
    // the pre-gaps and further index points. Later leaves them to ReadCodes
    // and FindIndexPoints (an image's index points come with its sheet).
    enum class Subchannel { Now, Later };
    // Raises CalvenorError with a French text when the source has no disc.
    static DiscToc Read(ICdAudioDevice& device, const QString& source, Subchannel subchannel = Subchannel::Now);
    // The disc of the drive with this letter; a letter no drive has raises too.
    static DiscToc ReadDrive(IDrives& drives, ICdAudioDevice& device, QChar letter,
                             Subchannel subchannel = Subchannel::Now);
    // The ISRCs and catalogue number of a table read Later. A disc gone
    // since leaves the table without them.
    void ReadCodes(ICdAudioDevice& device, const QString& source);
    // The pre-gaps and index points of a drive's disc from its Q sub-channel;
    // a source that has none, or no disc any more, leaves the table's own.
    void FindIndexPoints(ICdAudioDevice& device, const QString& source);

    bool IsEmpty() const { return m_tracks.isEmpty(); }
    const QList<TocTrack>& Tracks() const { return m_tracks; }
    int FirstTrack() const;
    int LastTrack() const;
    // Null when the disc has no track with that number.
    const TocTrack* Track(int number) const;
    QList<TocTrack> AudioTracks() const;
    // Tracks up to the last audio one: the data tracks that close the disc
    // (a second session) are not on the medium MusicBrainz and the CUETools
    // database count.
    int TracksUpToLastAudio() const;
    // The sector after the disc's last one.
    int32_t LeadOut() const { return m_leadOut; }
    QString Mcn() const { return m_mcn; }
    // The album's CD-Text names; the tracks carry their own.
    const CdTextNames& AlbumText() const { return m_albumText; }
    void SetAlbumText(const CdTextNames& text) { m_albumText = text; }
    // True when the disc names its album or any track in CD-Text.
    bool HasCdText() const;
    // What the source gave that was left out (an ISRC that is none), in French.
    const QStringList& Warnings() const { return m_warnings; }

    // CDDB: the identifier, as eight lower-case hexadecimal digits, and the
    // query's arguments after "cddb query" separated by blanks: identifier,
    // track count, each start in frames, the lead-out in seconds.
    uint32_t CddbId() const;
    QString CddbIdText() const;
    QString CddbQueryArguments() const;
    // MusicBrainz (28 characters), through libdiscid.
    QString MusicBrainzId() const;
    // The CUETools database's identifier of the table (28 characters).
    QString CtdbId() const;
    // The table as the CUETools database's lookup takes it: each track's
    // start in sectors, a data track's after a "-", then the lead-out, joined
    // by ":".
    QString CtdbLookupToc() const;

private:
    void findIndexPoints(ICdAudioDevice::Disc& disc);
    // Where the audio of the tracks up to the last audio one ends.
    int32_t audioLeadOut() const;

    QList<TocTrack> m_tracks;
    int32_t m_leadOut = 0;
    QString m_mcn;
    CdTextNames m_albumText;
    QStringList m_warnings;
};
