#include "rip/RipRun.h"
#include "platform/TargetNameRule.h"
#include "rip/ITrackRows.h"
#include "rip/TCDRIP.h"
#include "rip/TrackRow.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"
#include <QFile>

RipRun::RipRun(ITrackRows& rows, TCDRIP& ripper, TMP3Info& tags) : m_rows(rows), m_ripper(ripper), m_tags(tags) {}

QString RipRun::PlaylistFileName() const
{
    return fileAfterFirstRow(Playlist::Ending, m_playlistFile);
}

QString RipRun::fileAfterFirstRow(const QString& ending, const QString& atStart) const
{
    if (m_rows.RowCount() == 0)
        return atStart;
    const TrackRow first = m_rows.Row(1);
    return Playlist::FileName(m_folder, first.Values[TrackRow::Artist], first.Values[TrackRow::Album], ending);
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
    m_startLogFile.clear();
    m_playlistFile = PlaylistFileName();
    m_startLogFile = fileAfterFirstRow(RipLog::Ending, m_startLogFile);
    m_playlist = Playlist();
    if (!m_playlistFile.isEmpty())
        m_playlist.Load(m_playlistFile);
    // The disc's table of contents, should the ripper go with the disc.
    m_tracks = m_ripper.Tracks;
}

void RipRun::Execute()
{
    m_rippedCount = 0;
    m_cutOffTrack = 0;
    m_unreadTracks.clear();
    m_report = RipReport();
    m_logFile.clear();
    // The rows are counted anew at each step: a removed disc empties them.
    for (int k = 1; k <= m_rows.RowCount() && !m_stopped; ++k) {
        const TrackRow row = m_rows.Row(k);
        if (row.Ticked)
            ripRow(row);
    }
    finish();
}

void RipRun::finish()
{
    const QString file = PlaylistFileName();
    if (file.isEmpty())
        return;
    m_playlist.Save(file);
    if (m_report.Tracks().isEmpty())
        return;
    m_verification.Apply(m_report, m_tracks);
    RipLog::Header header = m_logHeader;
    header.Date = QDateTime::currentDateTime();
    m_logFile = fileAfterFirstRow(RipLog::Ending, m_startLogFile);
    RipLog::Save(m_logFile, header, m_report);
}

void RipRun::ripRow(const TrackRow& row)
{
    const QString path = row.Values[TrackRow::Target];
    if (OnTrackStart)
        OnTrackStart(path);
    const int track = TargetNameRule::TrackNumberFromLabel(row.Label);
    m_ripper.RipTrack(track, path);
    ++m_rippedCount;
    m_report.Add(m_ripper.LastRip);
    // Only the ripper tells whether it made the file: an old file of that
    // name is not this track. A track the disc could not give is neither
    // tagged nor listed, and the run says so at its end.
    if (!m_ripper.LastRip.FileWritten) {
        m_unreadTracks << track;
        return;
    }
    // The disc went away during this track: its file stops short, so it is
    // kept but neither tagged nor listed as if it were whole.
    if (m_discRemoved) {
        m_cutOffTrack = track;
        QFile::remove(TCDRIP::JitterLogPath(path));
        return;
    }
    TagFile(m_tags, row);
    const QString folder = TargetNameRule::WithSeparator(m_folder);
    m_playlist.Add(path.mid(folder.size()));
    QFile::remove(TCDRIP::JitterLogPath(path));
}

void RipRun::TagFile(TMP3Info& tags, const TrackRow& row)
{
    TagFields fields;
    fields.title = row.Values[TrackRow::Title];
    fields.artist = row.Values[TrackRow::Artist];
    fields.album = row.Values[TrackRow::Album];
    fields.year = row.Values[TrackRow::Year];
    fields.genre = row.Values[TrackRow::Genre];
    fields.comment = row.Values[TrackRow::Comment];
    fields.track = TargetNameRule::TrackNumberFromLabel(row.Label);
    TrackTags::Write(tags, row.Values[TrackRow::Target], fields);
}

QString RipRun::UnreadTracksText() const
{
    if (m_unreadTracks.isEmpty())
        return QString();
    QStringList numbers;
    for (int t : m_unreadTracks)
        numbers << QString::number(t);
    return QStringLiteral("Le disque n'a pas pu être lu pour les pistes suivantes : %1. Aucun fichier n'a été créé "
                          "pour elles.")
        .arg(numbers.join(QStringLiteral(", ")));
}

QString RipRun::DiscRemovedText() const
{
    QString text = QStringLiteral("Le CD a été retiré du lecteur pendant le rippage. Les pistes déjà rippées ont été "
                                  "conservées et ajoutées à la liste de lecture.");
    if (m_cutOffTrack != 0)
        text += QStringLiteral(" La piste %1, interrompue, est incomplète : son fichier est conservé mais n'a pas "
                               "été ajouté à la liste de lecture.")
                    .arg(m_cutOffTrack);
    return text;
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
