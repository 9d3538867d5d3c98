#include "app/cli/DiscCommands.h"
#include "app/cli/TerminalText.h"
#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include "rip/RipReport.h"
#include "rip/TCDRIP.h"
#include <QStringList>

namespace {
QString indexWord(int index, int32_t sector)
{
    return QStringLiteral("index%1=%2").arg(index, 2, 10, QLatin1Char('0')).arg(sector);
}

// What a track's line adds to its kind and sectors, in the words of a cue sheet.
QStringList trackDetails(const TocTrack& track)
{
    QStringList words;
    if (track.pregap >= 0)
        words << indexWord(0, track.pregap);
    for (qsizetype k = 0; k < track.indexes.size(); ++k)
        words << indexWord(static_cast<int>(k) + 2, track.indexes.at(k));
    QStringList flags;
    if (track.preEmphasis)
        flags << QStringLiteral("PRE");
    if (track.copyPermitted)
        flags << QStringLiteral("DCP");
    if (!flags.isEmpty())
        words << QStringLiteral("flags=") + flags.join(QLatin1Char(','));
    if (!track.isrc.isEmpty())
        words << QStringLiteral("isrc=") + TerminalText::Escaped(track.isrc);
    return words;
}
} // namespace

DiscCommands::DiscCommands(const DiscToc& toc, QTextStream& out) : m_toc(toc), m_out(out) {}

void DiscCommands::PrintToc()
{
    for (const TocTrack& track : m_toc.Tracks()) {
        QStringList words{TCDRIP::EntryName(track.number),
                          track.audio ? QStringLiteral("Audio") : QStringLiteral("Data"),
                          QString::number(track.start), QString::number(track.end()),
                          RipReport::Time(track.start), RipReport::Time(track.length)};
        m_out << (words + trackDetails(track)).join(QLatin1Char(' ')) << '\n';
    }
    if (!m_toc.Mcn().isEmpty())
        m_out << "mcn=" << TerminalText::Escaped(m_toc.Mcn()) << '\n';
    // Beside the table, not in it: what the sheet gave that was left out.
    m_out.flush();
    QTextStream err(stderr);
    for (const QString& warning : m_toc.Warnings())
        err << TerminalText::Escaped(warning) << '\n';
}

void DiscCommands::PrintIds()
{
    m_out << "cddb=" << m_toc.CddbIdText() << '\n'
          << "musicbrainz=" << m_toc.MusicBrainzId() << '\n'
          << "accuraterip=" << AccurateRipDiscId(m_toc).Text() << '\n'
          << "ctdb=" << m_toc.CtdbId() << '\n';
}

void DiscCommands::PrintAccurateRipPath()
{
    m_out << AccurateRipDiscId(m_toc).DatabasePath() << '\n';
}
