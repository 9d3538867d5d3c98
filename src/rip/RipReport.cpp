#include "rip/RipReport.h"
#include <QFileInfo>
#include "disc/AlbumTrack.h"
#include "platform/CalvenorError.h"
#include "platform/HttpCancelled.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/CtdbCrc.h"
#include "rip/CtdbDatabase.h"
#include "rip/PressingShift.h"
#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include <algorithm>
#include <utility>

namespace {
constexpr int32_t SectorsPerSecond = 75;
} // namespace

const TrackRipResult* RipReport::Track(int number) const
{
    const auto found = std::find_if(m_tracks.begin(), m_tracks.end(),
                                    [number](const TrackRipResult& t) { return t.TrackNum == number; });
    return found == m_tracks.end() ? nullptr : &*found;
}

TrackRipResult* RipReport::Track(int number)
{
    return const_cast<TrackRipResult*>(std::as_const(*this).Track(number));
}

bool RipReport::RippedToEnd(const TrackRipResult& track)
{
    return track.FileWritten && track.Read.RangeFinished && !track.Interrupted;
}

bool RipReport::RipsWholeDisc(const DiscToc& toc) const
{
    const QList<TocTrack> audio = toc.AudioTracks();
    return !audio.isEmpty() && std::all_of(audio.begin(), audio.end(), [this](const TocTrack& disc) {
        const TrackRipResult* ripped = Track(disc.number);
        return ripped && RippedToEnd(*ripped);
    });
}

void RipReport::Verify(AccurateRipDatabase& database, const AccurateRipDiscId& disc)
{
    m_verificationStopped = false;
    m_responses.clear();
    m_accurateRipDisc.reset();
    QList<AccurateRipResponse> responses;
    try {
        responses = database.Lookup(disc);
    } catch (const HttpCancelled& e) {
        // The files are whole: only their proof is missing.
        m_verificationStopped = true;
        m_note = unreachedNote(e);
        setVerdicts([](const TrackRipResult&) { return AccurateRipVerdict{AccurateRipVerdict::Unverified}; });
        return;
    } catch (const CalvenorError& e) {
        m_note = unreachedNote(e);
        return;
    }
    m_note.clear();
    m_responses = responses;
    m_accurateRipDisc = disc;
    setVerdicts([&](const TrackRipResult& t) {
        return AccurateRipVerdict::Of(responses, disc, disc.Slot(t.TrackNum), t.V1, t.V2);
    });
}

void RipReport::VerifyDisc(CtdbDatabase& database, const DiscToc& toc)
{
    m_disc = CtdbVerdict{};
    m_entries.clear();
    for (TrackRipResult& t : m_tracks)
        t.Ctdb = CtdbVerdict{};
    const std::optional<CtdbCrc::Sums> sums = CtdbCrc::Of(toc, m_tracks);
    if (!sums) {
        m_discNote = NotWholeDisc();
        return;
    }
    QList<CtdbDatabase::Entry> entries;
    try {
        entries = database.Lookup(toc);
        m_discNote.clear();
    } catch (const CalvenorError& e) {
        m_discNote = unreachedNote(e);
        return;
    }
    m_entries = entries;
    m_disc = CtdbVerdict::Of(entries, sums->Disc);
    const QList<TocTrack> audio = toc.AudioTracks();
    for (int k = 0; k < audio.size(); ++k)
        for (TrackRipResult& t : m_tracks)
            if (t.TrackNum == audio.at(k).number)
                t.Ctdb = CtdbVerdict::OfTrack(entries, *sums, k);
    // As for AccurateRip, a match says nothing of sectors lost where the CRCs do not look.
    for (TrackRipResult& t : m_tracks)
        if (t.LostSectors() && t.Ctdb.Result == CtdbVerdict::Exact)
            t.Ctdb = CtdbVerdict{};
}

void RipReport::setVerdicts(const std::function<AccurateRipVerdict(const TrackRipResult&)>& verdictOf)
{
    // A stopped track's file is incomplete: it has no verdict.
    for (TrackRipResult& t : m_tracks)
        if (t.FileWritten && t.HasChecksums && !t.Interrupted)
            t.Verdict = verdictOf(t);
    // The checksums leave out the disc's first and last sectors: a match
    // says nothing of lost sectors there.
    for (TrackRipResult& t : m_tracks)
        if (t.LostSectors() && t.Verdict.Result == AccurateRipVerdict::Exact)
            t.Verdict = AccurateRipVerdict{};
}

QString RipReport::unreachedNote(const CalvenorError& error)
{
    return QStringLiteral("la base n'a pas pu être consultée. %1").arg(error.message());
}

QStringList RipReport::DamageLines() const
{
    QStringList lines;
    for (const TrackRipResult& t : m_tracks) {
        const QString line = DamageLine(t);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

QStringList RipReport::VerdictLines() const
{
    QStringList lines;
    for (const TrackRipResult& t : m_tracks)
        if (t.Verdict.Result != AccurateRipVerdict::NotChecked)
            lines << t.Verdict.Text(t.TrackNum);
    // An exact disc's line tells each of its tracks, but those it mended.
    for (const TrackRipResult& t : m_tracks)
        if (!t.Ctdb.TrackText(t.TrackNum).isEmpty()
            && (m_disc.Result != CtdbVerdict::Exact || t.Ctdb.RepairedSamples > 0))
            lines << t.Ctdb.TrackText(t.TrackNum);
    if (m_disc.Result != CtdbVerdict::NotChecked)
        lines << m_disc.Text();
    if (!m_proofNote.isEmpty())
        lines << m_proofNote;
    if (!PressingLine().isEmpty())
        lines << PressingLine();
    return lines;
}

QString RipReport::PressingLine() const
{
    const bool shifted = m_disc.Shift != 0 || std::any_of(m_tracks.begin(), m_tracks.end(), [](const TrackRipResult& t) {
                             return t.Verdict.Shift != 0 || t.Ctdb.Shift != 0;
                         });
    return shifted ? QStringLiteral("Pressage décalé : %1.").arg(PressingShift::Meaning()) : QString();
}

bool RipReport::LostSectors() const
{
    return std::any_of(m_tracks.begin(), m_tracks.end(), [](const TrackRipResult& t) {
        return !t.FileWritten || (t.LostSectors() && !t.SectorsMended);
    });
}

bool RipReport::DiffersFromKnownDisc() const
{
    // An entry without track CRCs tells only of the whole disc, which the
    // hidden track is no part of.
    const bool discUnproven = m_disc.Result == CtdbVerdict::Different
        && !std::all_of(m_tracks.begin(), m_tracks.end(),
                        [](const TrackRipResult& t) { return !t.HasChecksums || Proven(t); });
    return discUnproven || std::any_of(m_tracks.begin(), m_tracks.end(), Differs);
}

bool RipReport::Proven(const TrackRipResult& t)
{
    return t.Verdict.Result == AccurateRipVerdict::Exact || t.Ctdb.Result == CtdbVerdict::Exact;
}

bool RipReport::Differs(const TrackRipResult& t)
{
    return !Proven(t) && (t.Verdict.Result == AccurateRipVerdict::Different || t.Ctdb.Result == CtdbVerdict::Different);
}

QString RipReport::DamageLine(const TrackRipResult& t)
{
    const QString label = TrackLabel(t.TrackNum) + QStringLiteral(" : ");
    if (!t.FileWritten && t.Interrupted)
        return QString();
    if (!t.FileWritten)
        return label + QStringLiteral("le disque n'a pas pu être lu, aucun fichier n'a été créé");
    if (!t.LostSectors())
        return QString();
    const auto count = static_cast<int>(t.Read.UnreadSectors.size());
    const QString what = count == 1 ? QStringLiteral("1 secteur illisible")
                                    : QStringLiteral("%1 secteurs illisibles").arg(count);
    return label + what + QStringLiteral(" (") + UnreadSpans(t) + ')' + MendedText(t);
}

QString RipReport::MendedText(const TrackRipResult& t)
{
    return t.SectorsMended ? (t.Read.UnreadSectors.size() == 1 ? QStringLiteral(", réparé selon CTDB")
                                                               : QStringLiteral(", réparés selon CTDB"))
                           : QString();
}

QString RipReport::UnreadSpans(const TrackRipResult& t)
{
    QStringList spans;
    const std::vector<int32_t>& unread = t.Read.UnreadSectors;
    for (size_t i = 0; i < unread.size();) {
        size_t j = i;
        while (j + 1 < unread.size() && unread[j + 1] == unread[j] + 1)
            ++j;
        spans << Time(unread[i] - t.FirstSector) + QStringLiteral(" – ") + Time(unread[j] + 1 - t.FirstSector);
        i = j + 1;
    }
    return spans.join(QStringLiteral(", "));
}

QString RipReport::Time(int32_t sectors)
{
    return ShortTime(sectors) + QStringLiteral(".%1").arg(sectors % SectorsPerSecond, 2, 10, QLatin1Char('0'));
}

QString RipReport::ShortTime(int32_t sectors)
{
    return Clock(sectors / SectorsPerSecond);
}

QString RipReport::Clock(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString RipReport::InterruptionLine(const TrackRipResult& t)
{
    return QStringLiteral("%1 interrompue à %2 ; %3.").arg(TrackLabel(t.TrackNum), ShortTime(t.KeptSectors),
                                                            InterruptedFile(t));
}

QString RipReport::InterruptedFile(const TrackRipResult& t)
{
    return t.FileWritten ? QStringLiteral("la partie lue est conservée dans « %1 »").arg(QFileInfo(t.Path).fileName())
                         : QStringLiteral("aucun fichier n'a été créé");
}

QString RipReport::PassText(const TrackRipResult& t)
{
    if (t.Reads == 0 || t.Interrupted)
        return QString();
    if (t.ReadsAgree)
        return QStringLiteral("deux lectures identiques après %1 lectures").arg(t.Reads);
    return QStringLiteral("aucune paire de lectures identiques sur %1").arg(t.Reads);
}

QStringList RipReport::PassLines() const
{
    QStringList lines;
    for (const TrackRipResult& t : m_tracks) {
        const QString text = PassText(t);
        if (!text.isEmpty())
            lines << TrackLabel(t.TrackNum) + QStringLiteral(" : ") + text;
    }
    return lines;
}

QStringList RipReport::EmphasisLines() const
{
    QStringList lines;
    for (const TrackRipResult& t : m_tracks)
        if (t.PreEmphasis && t.FileWritten)
            lines << TrackLabel(t.TrackNum) + QStringLiteral(" : ") + EmphasisText();
    return lines;
}

QString RipReport::ResultText(const TrackRipResult& t)
{
    if (t.Interrupted)
        return QStringLiteral("interrompue");
    if (!t.FileWritten)
        return QStringLiteral("illisible, aucun fichier");
    if (t.LostSectors() && !t.SectorsMended)
        return QStringLiteral("secteurs illisibles");
    if (t.Ctdb.RepairedSamples > 0)
        return QStringLiteral("réparée");
    if (Proven(t))
        return QStringLiteral("exacte");
    if (Differs(t))
        return QStringLiteral("différente");
    return t.Verdict.Result == AccurateRipVerdict::Absent ? QStringLiteral("absente") : QStringLiteral("non vérifiée");
}

QStringList RipReport::InterruptionLines() const
{
    QStringList lines;
    for (const TrackRipResult& t : m_tracks)
        if (t.Interrupted)
            lines << InterruptionLine(t);
    return lines;
}

int RipReport::RippedCount() const
{
    return static_cast<int>(
        std::count_if(m_tracks.begin(), m_tracks.end(), [](const TrackRipResult& t) { return !t.Interrupted; }));
}

QString RipReport::TrackLabel(int trackNum)
{
    AlbumTrack track;
    track.number = trackNum;
    return track.Label();
}
