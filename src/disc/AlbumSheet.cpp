#include "disc/AlbumSheet.h"
#include "platform/PathText.h"

AlbumSheet::AlbumSheet(QObject* parent) : QObject(parent) {}

void AlbumSheet::SetAlbum(const Album& album)
{
    m_album = album;
    emit AlbumChanged();
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
    m_album = Album();
    emit TracksReset();
    emit AlbumChanged();
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
    values.albumArtist = m_album.artist;
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
