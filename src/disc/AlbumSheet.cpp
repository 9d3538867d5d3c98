#include "disc/AlbumSheet.h"
#include "platform/PathText.h"
#include "platform/TargetNameRule.h"
#include <QStringList>

const QString AlbumSheet::MusicBrainzReleaseId = QStringLiteral("musicbrainz-release");
const QString AlbumSheet::MusicBrainzReleaseGroupId = QStringLiteral("musicbrainz-release-group");
const QString AlbumSheet::MusicBrainzAlbumArtistId = QStringLiteral("musicbrainz-album-artist");
const QString AlbumSheet::VariousArtistsId = QStringLiteral("89ad4ac3-39f7-470e-963a-56509c546377");

AlbumSheet::AlbumSheet(QObject* parent) : QObject(parent) {}

namespace {
// The artists the tracks name, each once; a track without one names none.
QStringList artistsOf(const QList<AlbumTrack>& tracks)
{
    QStringList artists;
    for (const AlbumTrack& track : tracks)
        if (!track.value(AlbumTrack::Artist).isEmpty() && !artists.contains(track.value(AlbumTrack::Artist)))
            artists << track.value(AlbumTrack::Artist);
    return artists;
}
} // namespace

bool AlbumSheet::NamesVariousArtists(const QString& artist)
{
    for (const char* name : {"Various", "Various Artists", "Divers"})
        if (artist.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// As MusicBrainz's tagger sets it: guests on some tracks do not make a
// compilation. An album artist's identifier, where known, decides alone.
bool AlbumSheet::IsCompilation(const Album& album)
{
    const QString id = album.ids.value(MusicBrainzAlbumArtistId);
    return id.isEmpty() ? NamesVariousArtists(album.artist) : id == VariousArtistsId;
}

bool AlbumSheet::HasTrackArtists(const Album& album, const QList<AlbumTrack>& tracks)
{
    return IsCompilation(album) || artistsOf(tracks).size() > 1;
}

// Tracks of one artist, other than the album's, are the album's artist
// renamed by the user.
QString AlbumSheet::AlbumArtist(const Album& album, const QList<AlbumTrack>& tracks)
{
    const QStringList artists = artistsOf(tracks);
    return artists.size() == 1 && !IsCompilation(album) ? artists.first() : album.artist;
}

void AlbumSheet::SetAlbum(const Album& album)
{
    const bool newCover =
        album.frontCover != m_album.frontCover || album.frontCoverFailure != m_album.frontCoverFailure;
    m_album = album;
    emit AlbumChanged();
    if (newCover)
        emit FrontCoverChanged();
}

void AlbumSheet::SetFrontCover(const CoverImage& cover, CoverOrigin origin)
{
    Album album = m_album;
    album.frontCover = cover.bytes;
    album.frontCoverMime = cover.IsEmpty() ? QString() : cover.mime;
    album.frontCoverOrigin = cover.IsEmpty() ? CoverOrigin::None : origin;
    album.frontCoverFailure = cover.IsEmpty() ? cover.failure : QString();
    SetAlbum(album);
}

int AlbumSheet::SlotOf(int number) const
{
    for (int k = 1; k <= m_tracks.size(); ++k)
        if (Track(k).number == number)
            return k;
    return 0;
}

int AlbumSheet::TickedCount() const
{
    int count = 0;
    for (const AlbumTrack& track : m_tracks)
        count += track.ticked ? 1 : 0;
    return count;
}

void AlbumSheet::Reset(const QList<AlbumTrack>& tracks)
{
    m_tracks = tracks;
    const bool hadCover = !m_album.frontCover.isEmpty() || !m_album.frontCoverFailure.isEmpty();
    m_album = Album();
    emit TracksReset();
    emit AlbumChanged();
    if (hadCover)
        emit FrontCoverChanged();
}

void AlbumSheet::SetValue(int k, AlbumTrack::Value value, const QString& text)
{
    if (!HasSlot(k) || Track(k).value(value) == text)
        return;
    AlbumTrack& track = m_tracks[k - 1];
    track.setValue(value, text);
    if (value == AlbumTrack::Title)
        track.fileTitle.clear();
    emit TrackChanged(k);
}

void AlbumSheet::SetFileTitle(int k, const QString& title)
{
    if (!HasSlot(k) || Track(k).fileTitle == title)
        return;
    m_tracks[k - 1].fileTitle = title;
    emit TrackChanged(k);
}

void AlbumSheet::SetMusicBrainzIds(int k, const AlbumTrack::MusicBrainzIds& ids)
{
    if (!HasSlot(k) || Track(k).musicBrainz == ids)
        return;
    m_tracks[k - 1].musicBrainz = ids;
    emit TrackChanged(k);
}

void AlbumSheet::SetTicked(int k, bool ticked)
{
    if (!HasSlot(k) || Track(k).ticked == ticked)
        return;
    m_tracks[k - 1].ticked = ticked;
    emit TrackChanged(k);
}

void AlbumSheet::TickAll(bool ticked)
{
    for (int k = 1; k <= TrackCount(); ++k)
        SetTicked(k, ticked);
}

NameTemplate::Values AlbumSheet::NameValues(int k) const
{
    const AlbumTrack& track = Track(k);
    NameTemplate::Values values;
    values.albumArtist = AlbumArtist(m_album, m_tracks);
    values.artist = track.value(AlbumTrack::Artist);
    values.album = track.value(AlbumTrack::Album);
    values.year = track.value(AlbumTrack::Year);
    values.genre = track.value(AlbumTrack::Genre);
    values.title = track.FileTitle();
    values.label = track.Label();
    values.number = track.number;
    values.disc = m_album.discNumber;
    return values;
}

void AlbumSheet::Retarget(int k, const QString& folder, const QString& extension)
{
    if (HasSlot(k))
        SetValue(k, AlbumTrack::Target, m_names.Apply(folder, NameValues(k), extension));
}

void AlbumSheet::RetargetAll(const QString& folder, const QString& extension)
{
    for (int k = 1; k <= TrackCount(); ++k)
        Retarget(k, folder, extension);
}

void AlbumSheet::SetExtensions(const QString& extension)
{
    for (int k = 1; k <= TrackCount(); ++k)
        SetValue(k, AlbumTrack::Target, PathText::WithExtension(Track(k).value(AlbumTrack::Target), extension));
}
