#include "rip/EarlierRip.h"
#include "platform/CalvenorError.h"
#include "rip/CtdbWindow.h"
#include "rip/Playlist.h"
#include "rip/RipCueSheet.h"
#include "rip/RipLog.h"
#include "rip/RipReport.h"
#include "rip/TrackAudioFile.h"
#include "rip/TrackSums.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
constexpr int32_t SectorsPerSecond = 75;
const QString CueEnding = QStringLiteral(".cue");

QString textOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int32_t sectorsOf(const QString& msf)
{
    const QStringList parts = msf.split(':');
    return parts.size() == 3
        ? (parts.at(0).toInt() * 60 + parts.at(1).toInt()) * SectorsPerSecond + parts.at(2).toInt()
        : -1;
}

[[noreturn]] void notOurs(const QString& cue, const QString& why)
{
    throw CalvenorError(QStringLiteral("La feuille CUE « %1 » ne peut pas servir à une réparation : %2.").arg(cue, why));
}

// What the sheet says: each track's file, and where track 1 starts.
struct Sheet {
    QList<DiscTrackFiles::Track> tracks;
    QString hiddenFile;    // the audio before track 1, when it has a file
    int32_t firstStart = 0; // PREGAP of track 1, in sectors
};

Sheet readSheet(const QString& cue)
{
    static const QRegularExpression fileLine(QStringLiteral("^FILE \"(.*)\" (WAVE|MP3)$"));
    static const QRegularExpression trackLine(QStringLiteral("^TRACK (\\d+) AUDIO$"));
    static const QRegularExpression indexLine(QStringLiteral("^(INDEX (\\d+)|PREGAP) (\\d+:\\d+:\\d+)$"));
    const QDir folder = QFileInfo(cue).dir();
    Sheet sheet;
    QString file;
    int track = 0;
    for (const QString& raw : textOf(cue).split('\n')) {
        const QString line = raw.trimmed();
        if (const auto m = fileLine.match(line); m.hasMatch())
            file = folder.filePath(m.captured(1));
        else if (const auto t = trackLine.match(line); t.hasMatch())
            track = t.captured(1).toInt();
        else if (const auto i = indexLine.match(line); i.hasMatch() && track > 0) {
            const int32_t at = sectorsOf(i.captured(3));
            if (i.captured(1) == QLatin1String("PREGAP"))
                sheet.firstStart = at;
            else if (i.captured(2).toInt() == 0 && at == 0 && sheet.tracks.isEmpty())
                sheet.hiddenFile = file;
            else if (i.captured(2).toInt() == 1 && at != 0)
                notOurs(cue, QStringLiteral("la piste %1 ne commence pas au début de son fichier").arg(track));
            else if (i.captured(2).toInt() == 1)
                sheet.tracks << DiscTrackFiles::Track{track, file, 0};
        }
    }
    if (sheet.tracks.isEmpty())
        notOurs(cue, QStringLiteral("elle ne nomme aucune piste"));
    return sheet;
}

int32_t sectorsIn(const QString& path)
{
    const int64_t bytes = TrackAudioFile(path).Bytes();
    if (bytes % CtdbWindow::SectorBytes != 0)
        throw CalvenorError(QStringLiteral("Le fichier « %1 » ne contient pas un nombre entier de secteurs de CD.")
                                .arg(path));
    return static_cast<int32_t>(bytes / CtdbWindow::SectorBytes);
}

// A table of audio tracks alone, one after the other from track 1's start.
DiscToc tableOf(const Sheet& sheet)
{
    int32_t start = sheet.hiddenFile.isEmpty() ? sheet.firstStart : sectorsIn(sheet.hiddenFile);
    QList<TocTrack> tracks;
    for (const DiscTrackFiles::Track& t : sheet.tracks) {
        TocTrack track;
        track.number = t.Number;
        track.start = start;
        track.length = static_cast<int32_t>(t.Bytes / CtdbWindow::SectorBytes);
        start += track.length;
        tracks << track;
    }
    return DiscToc(tracks, start);
}
} // namespace

EarlierRip::EarlierRip(const QString& cue, const QString& log, const DiscToc& toc, const DiscTrackFiles& files)
    : m_cue(cue), m_log(log), m_toc(toc), m_files(files)
{
}

QString EarlierRip::findCueSheet(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return path;
    QStringList ours;
    for (const QFileInfo& f : QDir(path).entryInfoList({QStringLiteral("*") + CueEnding}, QDir::Files, QDir::Name))
        if (textOf(f.filePath()).contains(QStringLiteral("REM COMMENT \"Calvenor")))
            ours << f.filePath();
    if (ours.isEmpty())
        throw CalvenorError(QStringLiteral("Le dossier « %1 » n'a pas de feuille CUE écrite par Calvenor : seul un "
                                           "disque rippé en entier peut être réparé.")
                                .arg(path));
    if (ours.size() > 1)
        throw CalvenorError(QStringLiteral("Le dossier « %1 » a plusieurs feuilles CUE ; donnez celle du disque à "
                                           "réparer : %2.")
                                .arg(path, ours.join(QStringLiteral(", "))));
    return ours.first();
}

DiscToc EarlierRip::tableInLog(const QString& log)
{
    QString table;
    for (const QString& line : textOf(log).split('\n'))
        if (line.startsWith(RipLog::DiscTableStart))
            table = line.mid(RipLog::DiscTableStart.size()).trimmed();
    const QStringList starts = table.split(':', Qt::SkipEmptyParts);
    QList<TocTrack> tracks;
    for (int k = 0; k + 1 < starts.size(); ++k) {
        TocTrack track;
        track.number = k + 1;
        track.audio = !starts.at(k).startsWith('-');
        track.start = std::abs(starts.at(k).toInt());
        track.length = std::abs(starts.at(k + 1).toInt()) - track.start;
        tracks << track;
    }
    return tracks.isEmpty() ? DiscToc() : DiscToc(tracks, starts.last().toInt());
}

EarlierRip EarlierRip::Read(const QString& path)
{
    const QString cue = findCueSheet(path);
    if (!QFileInfo::exists(cue))
        throw CalvenorError(QStringLiteral("La feuille CUE « %1 » n'existe pas.").arg(cue));
    Sheet sheet = readSheet(cue);
    for (DiscTrackFiles::Track& t : sheet.tracks) {
        if (!TrackAudioFile::Lossless(t.Path))
            notOurs(cue, QStringLiteral("seuls des fichiers WAV ou FLAC gardent l'audio du disque tel quel"));
        t.Bytes = int64_t{sectorsIn(t.Path)} * CtdbWindow::SectorBytes;
    }
    const QString name = QFileInfo(cue).fileName();
    const QString log = name.endsWith(Playlist::Ending.section('.', 0, 0) + CueEnding)
        ? QFileInfo(cue).dir().filePath(name.left(name.size() - Playlist::Ending.section('.', 0, 0).size()
                                                  - CueEnding.size())
                                        + RipLog::Ending)
        : RipLog::FileBeside(cue);
    DiscToc toc = tableInLog(log);
    if (toc.AudioTracks().size() != sheet.tracks.size())
        toc = tableOf(sheet);
    return EarlierRip(cue, log, toc, DiscTrackFiles(sheet.tracks));
}

RipReport EarlierRip::Report(const std::atomic<bool>* cancel) const
{
    const QList<TocTrack> audio = m_toc.AudioTracks();
    const int count = static_cast<int>(m_files.Tracks().size());
    std::vector<std::unique_ptr<TrackSums>> sums;
    for (int k = 0; k < count; ++k)
        sums.push_back(std::make_unique<TrackSums>(m_files.Tracks().at(k).Bytes, k == 0, k == count - 1, false));
    int current = 0;
    m_files.Read(
        [&](int64_t at, const uint8_t* pcm, int64_t bytes) {
            while (current + 1 < count && at >= m_files.Start(current + 1))
                ++current;
            sums[static_cast<size_t>(current)]->Add(pcm, bytes);
        },
        cancel);
    RipReport report;
    for (int k = 0; k < count; ++k) {
        const DiscTrackFiles::Track& file = m_files.Tracks().at(k);
        TrackRipResult t;
        t.TrackNum = file.Number;
        t.Path = file.Path;
        t.FirstSector = k < audio.size() ? audio.at(k).start : 0;
        t.LastSector = t.FirstSector + static_cast<int32_t>(file.Bytes / CtdbWindow::SectorBytes) - 1;
        t.FileWritten = true;
        t.Read.RangeFinished = true;
        sums[static_cast<size_t>(k)]->Into(t);
        report.Add(t);
    }
    return report;
}
