#include "rip/DiscProof.h"
#include "platform/CalvenorError.h"
#include "platform/HttpCancelled.h"
#include "rip/DiscTrackFiles.h"
#include "rip/PressingSearch.h"
#include "rip/RipReport.h"
#include "rip/TrackSums.h"
#include <algorithm>

namespace {
const QString NotRepaired = QStringLiteral("Disque : non réparé selon CTDB : ");
const QString NothingChanged = QStringLiteral(" ; aucun fichier n'a été modifié.");

QList<CtdbDatabase::Entry> withParity(const QList<CtdbDatabase::Entry>& entries)
{
    QList<CtdbDatabase::Entry> kept;
    for (const CtdbDatabase::Entry& e : entries)
        if (e.HasParity())
            kept << e;
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.Confidence > b.Confidence; });
    return kept;
}

// npar words of parity mend npar/2 wrong words in each column: a burst of
// 5 · npar sectors at most, each 10 sectors putting one word in every column.
QString capacity(const CtdbDiscRepair::Result& result)
{
    return QStringLiteral("npar %1 : %2 secteurs d'affilée au plus").arg(result.Npar).arg(5 * result.Npar);
}

QString outcomeNote(const CtdbDiscRepair::Result& result)
{
    switch (result.Kind) {
    case CtdbDiscRepair::Outcome::TooDamaged:
        return NotRepaired + QStringLiteral("les dégâts dépassent ce que sa parité répare (%1)").arg(capacity(result))
            + NothingChanged;
    case CtdbDiscRepair::Outcome::NoOffset:
        return NotRepaired
            + QStringLiteral("sa parité ne s'accorde au disque à aucun décalage de ±%1 échantillons (un autre "
                             "pressage, ou des dégâts au-delà de ce qu'elle répare, %2)")
                  .arg(CtdbWindow::MaxOffset)
                  .arg(capacity(result))
            + NothingChanged;
    case CtdbDiscRepair::Outcome::CrcDiffers:
        return NotRepaired + QStringLiteral("les corrections ne donnent pas le CRC de la base") + NothingChanged;
    case CtdbDiscRepair::Outcome::Repaired:
    case CtdbDiscRepair::Outcome::Unchanged:
        break;
    }
    return QString();
}

// Every sector the track lost lies in the disc's bytes first..end.
bool lostWithin(const TrackRipResult& t, int64_t trackStart, int64_t first, int64_t end)
{
    return std::all_of(t.Read.UnreadSectors.begin(), t.Read.UnreadSectors.end(), [&](int32_t sector) {
        const int64_t at = trackStart + int64_t{sector - t.FirstSector} * CtdbWindow::SectorBytes;
        return at >= first && at + CtdbWindow::SectorBytes <= end;
    });
}
} // namespace

DiscProof::DiscProof(IHttpClient* http, const DiscToc& toc, bool repairs, const std::atomic<bool>* cancel)
    : m_http(http), m_toc(toc), m_repairs(repairs), m_cancel(cancel)
{
}

void DiscProof::Complete(RipReport& report) const
{
    const bool repairable = m_repairs && m_http && report.DiscVerdict().Result == CtdbVerdict::Different
        && !withParity(report.CtdbEntries()).isEmpty();
    const std::optional<DiscTrackFiles> files = DiscTrackFiles::Of(m_toc, report.Tracks());
    if (!files) {
        if (repairable)
            report.SetProofNote(NotRepaired + QStringLiteral("seuls des fichiers WAV ou FLAC gardent l'audio du "
                                                             "disque tel quel."));
        return;
    }
    try {
        searchPressings(report, *files);
        repair(report, *files);
    } catch (const HttpCancelled&) {
        throw;
    } catch (const CalvenorError& e) {
        report.SetProofNote(QStringLiteral("Disque : preuve inachevée : %1").arg(e.message()));
    }
}

void DiscProof::searchPressings(RipReport& report, const DiscTrackFiles& files) const
{
    QList<int> different;
    for (int k = 0; k < files.Tracks().size(); ++k)
        if (report.Track(files.Tracks().at(k).Number)->Verdict.Result == AccurateRipVerdict::Different)
            different << k;
    const bool ctdb = report.DiscVerdict().Result == CtdbVerdict::Different;
    if (different.isEmpty() && !ctdb)
        return;
    PressingSearch search(files, m_cancel);
    if (!different.isEmpty() && report.AccurateRipDisc())
        search.AskAccurateRip(report.AccurateRipResponses(), *report.AccurateRipDisc(), different);
    if (ctdb)
        search.AskCtdb(report.CtdbEntries());
    search.Run();
    for (const int k : different)
        if (search.Track(k).Result == AccurateRipVerdict::Exact)
            report.Track(files.Tracks().at(k).Number)->Verdict = search.Track(k);
    if (search.Disc().Result != CtdbVerdict::Exact)
        return;
    report.SetDiscVerdict(search.Disc());
    for (const DiscTrackFiles::Track& t : files.Tracks())
        report.Track(t.Number)->Ctdb = search.Disc();
}

void DiscProof::repair(RipReport& report, const DiscTrackFiles& files) const
{
    const QList<CtdbDatabase::Entry> entries = withParity(report.CtdbEntries());
    if (!m_repairs || !m_http || report.DiscVerdict().Result != CtdbVerdict::Different)
        return;
    if (entries.isEmpty()) {
        report.SetProofNote(NotRepaired + QStringLiteral("la base n'a pas de données de réparation pour ce disque."));
        return;
    }
    int npar = 0;
    for (const CtdbDatabase::Entry& e : entries)
        npar = std::max(npar, e.Npar);
    CtdbDiscRepair repairer(*m_http, files, npar, m_cancel);
    CtdbDiscRepair::Result result;
    const auto written = [&](int index, TrackSums& sums) { sums.Into(*report.Track(files.Tracks().at(index).Number)); };
    for (const CtdbDatabase::Entry& entry : entries) {
        result = repairer.Run(entry, written);
        if (result.Kind == CtdbDiscRepair::Outcome::Repaired) {
            tellRepaired(report, files, entry.Confidence, result);
            return;
        }
        if (result.Kind != CtdbDiscRepair::Outcome::NoOffset)
            break;
    }
    report.SetProofNote(outcomeNote(result));
}

void DiscProof::tellRepaired(RipReport& report, const DiscTrackFiles& files, int confidence,
                             const CtdbDiscRepair::Result& result) const
{
    CtdbVerdict exact;
    exact.Result = CtdbVerdict::Exact;
    exact.Confidence = confidence;
    exact.Shift = result.Shift;
    CtdbVerdict disc = exact;
    disc.RepairedSamples = result.Samples;
    report.SetDiscVerdict(disc);
    for (int k = 0; k < files.Tracks().size(); ++k) {
        TrackRipResult& t = *report.Track(files.Tracks().at(k).Number);
        t.Ctdb = exact;
        t.Ctdb.RepairedSamples = result.TrackSamples.value(k);
        t.SectorsMended = t.LostSectors() && lostWithin(t, files.Start(k), result.WindowFirst, result.WindowEnd);
        if ((t.Ctdb.RepairedSamples == 0 && !t.SectorsMended) || !report.AccurateRipDisc())
            continue;
        const AccurateRipDiscId& id = *report.AccurateRipDisc();
        const AccurateRipVerdict mended = AccurateRipVerdict::Of(report.AccurateRipResponses(), id, id.Slot(t.TrackNum),
                                                                 t.V1, t.V2);
        if (mended.Result == AccurateRipVerdict::Exact || t.Verdict.Result != AccurateRipVerdict::Exact)
            t.Verdict = mended;
    }
}
