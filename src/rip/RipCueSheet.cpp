#include "rip/RipCueSheet.h"
#include "platform/RecordingCode.h"
#include "platform/WholeFile.h"
#include "platform/FileError.h"
#include "platform/PathText.h"

namespace {
constexpr int32_t SectorsPerSecond = 75;

QString msf(int32_t sectors)
{
    return QStringLiteral("%1:%2:%3")
        .arg(sectors / (60 * SectorsPerSecond), 2, 10, QLatin1Char('0'))
        .arg(sectors / SectorsPerSecond % 60, 2, 10, QLatin1Char('0'))
        .arg(sectors % SectorsPerSecond, 2, 10, QLatin1Char('0'));
}

// A cue sheet has no escape: a quote inside a value would end it, so it
// becomes a typographic one, opening and closing in turn; line ends go too.
QString quoted(const QString& text)
{
    QString value;
    bool open = true;
    for (const QChar c : text) {
        if (c == '"') {
            value += open ? QChar(0x201C) : QChar(0x201D);
            open = !open;
        } else {
            value += c == '\n' || c == '\r' ? QChar(' ') : c;
        }
    }
    return '"' + value + '"';
}

QString valueLine(const QString& indent, const QString& keyword, const QString& value)
{
    return value.isEmpty() ? QString() : indent + keyword + ' ' + quoted(value) + '\n';
}

// WAV and FLAC hold PCM: the cue's WAVE; MP3 files have their own word.
QString fileLine(const QString& file)
{
    const bool mp3 = file.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive);
    return QStringLiteral("FILE %1 %2\n").arg(quoted(file), mp3 ? QStringLiteral("MP3") : QStringLiteral("WAVE"));
}

QString indexLine(int index, int32_t sectors)
{
    return QStringLiteral("    INDEX %1 %2\n").arg(index, 2, 10, QLatin1Char('0')).arg(msf(sectors));
}

} // namespace

const QString RipCueSheet::DiscIdStart = QStringLiteral("REM DISCID ");

QString RipCueSheet::FileName(const QString& playlistFile)
{
    return PathText::WithExtension(playlistFile, QStringLiteral(".cue"));
}

QString RipCueSheet::DiscId(const DiscToc& toc)
{
    return toc.IsEmpty() ? QString() : toc.CddbIdText().toUpper();
}

void RipCueSheet::SetAlbum(const QString& performer, const QString& title)
{
    m_performer = performer;
    m_title = title;
}

void RipCueSheet::SetTrack(int number, const QString& file, const QString& performer, const QString& title)
{
    m_files.insert(number, TrackFile{file, performer, title});
}

QString RipCueSheet::Text() const
{
    QString text = DiscIdStart + DiscId(m_toc) + '\n';
    text += QStringLiteral("REM COMMENT %1\n").arg(quoted(QStringLiteral("Calvenor " CALVENOR_VERSION)));
    if (const QString mcn = RecordingCode::Mcn(m_toc.Mcn()); !mcn.isEmpty())
        text += QStringLiteral("CATALOG %1\n").arg(mcn);
    text += valueLine(QString(), QStringLiteral("PERFORMER"), m_performer);
    text += valueLine(QString(), QStringLiteral("TITLE"), m_title);
    const TocTrack* previous = nullptr;
    for (const TocTrack& track : m_toc.Tracks()) {
        const auto file = m_files.constFind(track.number);
        if (!track.audio || file == m_files.constEnd()) {
            previous = nullptr;
            continue;
        }
        const bool firstOnDisc = &track == &m_toc.Tracks().first();
        if (firstOnDisc && !m_hiddenFile.isEmpty())
            text += fileLine(m_hiddenFile) + pregapText(track, *file, 0);
        else if (previous && track.pregap >= previous->start && previous->number + 1 == track.number)
            text += pregapText(track, *file, track.pregap - previous->start);
        else {
            text += fileLine(file->file) + headerText(track, *file);
            if (firstOnDisc && track.start > 0)
                text += QStringLiteral("    PREGAP %1\n").arg(msf(track.start));
        }
        text += indexesText(track);
        previous = &track;
    }
    return text;
}

QString RipCueSheet::pregapText(const TocTrack& track, const TrackFile& file, int32_t position) const
{
    return headerText(track, file) + indexLine(0, position) + fileLine(file.file);
}

QString RipCueSheet::headerText(const TocTrack& track, const TrackFile& file) const
{
    QString text = QStringLiteral("  TRACK %1 AUDIO\n").arg(track.number, 2, 10, QLatin1Char('0'));
    text += valueLine(QStringLiteral("    "), QStringLiteral("TITLE"), file.title);
    // The album's performer stands for each track that has no other.
    if (file.performer != m_performer)
        text += valueLine(QStringLiteral("    "), QStringLiteral("PERFORMER"), file.performer);
    if (track.preEmphasis || track.copyPermitted)
        text += QStringLiteral("    FLAGS%1%2\n")
                    .arg(track.copyPermitted ? QStringLiteral(" DCP") : QString(),
                         track.preEmphasis ? QStringLiteral(" PRE") : QString());
    if (const QString isrc = RecordingCode::Isrc(track.isrc); !isrc.isEmpty())
        text += QStringLiteral("    ISRC %1\n").arg(isrc);
    return text;
}

// INDEX 01 opens the track's own file; further indexes lie in it.
QString RipCueSheet::indexesText(const TocTrack& track)
{
    QString text = indexLine(1, 0);
    for (int k = 0; k < track.indexes.size(); ++k)
        text += indexLine(k + 2, track.indexes.at(k) - track.start);
    return text;
}

void RipCueSheet::Save(const QString& path) const
{
    WholeFile::Write(path, Text().toUtf8());
}
