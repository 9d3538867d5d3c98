#include "rip/RipRun.h"
#include "app/TargetNameRule.h"
#include "rip/ITrackRows.h"
#include "rip/TCDRIP.h"
#include "rip/TrackRow.h"
#include "tags/GenreTable.h"
#include "tags/TMP3Info.h"
#include <QFile>

RipRun::RipRun(ITrackRows& rows, TCDRIP& ripper, TMP3Info& tags) : m_rows(rows), m_ripper(ripper), m_tags(tags) {}

QString RipRun::PlaylistFileName() const
{
    // Named after the first row as it reads now; once the rows are gone, the
    // name found at the start stands.
    if (m_rows.RowCount() == 0)
        return m_playlistFile;
    const TrackRow first = m_rows.Row(1);
    return Playlist::FileName(m_folder, first.Values[TrackRow::Artist], first.Values[TrackRow::Album]);
}

void RipRun::Begin()
{
    m_stopped = false;
    m_discRemoved = false;
    m_rippedCount = 0;
    // The folder of the run: a later change of the folder text (the disc
    // removed, say) does not move its files or its playlist.
    m_folder = m_rows.Folder();
    m_playlistFile.clear();
    m_playlistFile = PlaylistFileName();
    m_playlist = Playlist();
    if (!m_playlistFile.isEmpty())
        m_playlist.Load(m_playlistFile);
}

void RipRun::Execute()
{
    m_rippedCount = 0;
    // The rows are counted anew at each step: a removed disc empties them.
    for (int k = 1; k <= m_rows.RowCount() && !m_stopped; ++k) {
        const TrackRow row = m_rows.Row(k);
        if (row.Ticked)
            ripRow(row);
    }
    const QString file = PlaylistFileName();
    if (!file.isEmpty())
        m_playlist.Save(file);
}

void RipRun::ripRow(const TrackRow& row)
{
    const QString path = row.Values[TrackRow::Target];
    if (OnTrackStart)
        OnTrackStart(path);
    m_ripper.RipTrack(TargetNameRule::TrackNumberFromLabel(row.Label), path);
    TagFile(m_tags, row);
    ++m_rippedCount;
    const QString folder = TargetNameRule::WithSeparator(m_folder);
    m_playlist.Add(path.mid(folder.size()));
    QFile::remove(TCDRIP::JitterLogPath(path));
}

void RipRun::TagFile(TMP3Info& tags, const TrackRow& row)
{
    tags.SetFilename(row.Values[TrackRow::Target]);
    tags.SetTitle(row.Values[TrackRow::Title]);
    tags.SetArtist(row.Values[TrackRow::Artist]);
    tags.SetAlbum(row.Values[TrackRow::Album]);
    tags.SetYear(row.Values[TrackRow::Year]);
    tags.SetGenreID(GenreTable::IdOfName(row.Values[TrackRow::Genre]));
    tags.SetComment(row.Values[TrackRow::Comment]);
    tags.Save();
}

void RipRun::Stop()
{
    m_stopped = true;
    m_ripper.AbortRip();
}

void RipRun::DiscRemoved()
{
    m_discRemoved = true;
    Stop();
}
