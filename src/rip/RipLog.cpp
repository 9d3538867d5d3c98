#include "rip/RipLog.h"
#include "platform/WholeFile.h"
#include "platform/FileError.h"
#include "platform/FolderLock.h"
#include "platform/PathText.h"
#include "rip/RipReport.h"
#include <QFile>
#include <QFileInfo>

namespace {
const QString Title = QStringLiteral("Calvenor %1 : rapport de rippage");
const QString FileName = QStringLiteral("Fichier");
const QString ReadWhole = QStringLiteral("Lue en entier");
const QString Unreadable = QStringLiteral("Secteurs illisibles");
const QString Verdict = QStringLiteral("AccurateRip");
const QString NoSector = QStringLiteral("aucun");
const QString NoFile = QStringLiteral("aucun, le disque n'a pas pu être lu");
const QString NoFileStopped = QStringLiteral("aucun, lecture interrompue");
const QString SummaryStart = QStringLiteral("Résumé : ");

QString hex8(uint32_t v)
{
    return QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0')).toUpper();
}

QString readWhole(const TrackRipResult& t)
{
    if (t.Interrupted)
        return QStringLiteral("non, interrompue à %1 ; %2")
            .arg(RipReport::ShortTime(t.KeptSectors), RipReport::InterruptedFile(t));
    return t.ReadWhole() ? QStringLiteral("oui") : QStringLiteral("non");
}

QString field(const QString& name, const QString& value)
{
    return QStringLiteral("  %1 : %2\n").arg(name, value);
}

QString sumsBlock(const TrackRipResult& t)
{
    return field(QStringLiteral("CRC32"), hex8(t.Crc)) + field(QStringLiteral("AccurateRip v1"), hex8(t.V1))
        + field(QStringLiteral("AccurateRip v2"), hex8(t.V2));
}

QString verdictOf(const TrackRipResult& t)
{
    const QString verdict = t.Verdict.Detail();
    return verdict.isEmpty() ? QStringLiteral("non vérifiée") : verdict;
}

// A track a repair wrote anew: its file, its new sums and verdicts.
QString repairedBlock(const TrackRipResult& t)
{
    return RipReport::TrackLabel(t.TrackNum) + '\n' + field(FileName, t.Path) + sumsBlock(t) + field(Verdict, verdictOf(t))
        + field(QStringLiteral("CTDB"), t.Ctdb.TrackDetail());
}

QString trackBlock(const TrackRipResult& t)
{
    QString text = RipReport::TrackLabel(t.TrackNum) + '\n';
    const auto line = [&text](const QString& name, const QString& value) { text += field(name, value); };
    line(FileName, t.FileWritten ? t.Path : t.Interrupted ? NoFileStopped : NoFile);
    line(QStringLiteral("Durée"), RipReport::Time(t.SectorCount()));
    line(ReadWhole, readWhole(t));
    line(Unreadable, t.LostSectors() ? QStringLiteral("%1 (%2)%3")
                                           .arg(t.Read.UnreadSectors.size())
                                           .arg(RipReport::UnreadSpans(t), RipReport::MendedText(t))
                                     : NoSector);
    line(QStringLiteral("Corrections de gigue"), QString::number(t.Read.JitterCorrections));
    if (t.HasChecksums)
        text += sumsBlock(t);
    if (t.Reads > 0 && !t.Interrupted) {
        line(QStringLiteral("CRC de test"), hex8(t.TestCrc));
        line(QStringLiteral("CRC de copie"), hex8(t.CopyCrc));
    }
    const QString passes = RipReport::PassText(t);
    if (!passes.isEmpty())
        line(QStringLiteral("Lectures"), passes);
    if (t.PreEmphasis)
        line(QStringLiteral("Pré-accentuation"), QStringLiteral("oui, à désaccentuer à la lecture"));
    if (const std::optional<ReplayGain::Loudness> loudness = ReplayGain::OfTrack(t))
        line(QStringLiteral("ReplayGain"), ReplayGain::Text(*loudness));
    line(Verdict, verdictOf(t));
    if (t.Ctdb.Result != CtdbVerdict::NotChecked)
        line(QStringLiteral("CTDB"), t.Ctdb.TrackDetail());
    return text;
}

struct Counts {
    int tracks = 0;
    int damaged = 0;
    int interrupted = 0;
    int exact = 0;
    int different = 0;
    int absent = 0;
    bool verified = true;
};

Counts countsOf(const RipReport& report)
{
    Counts c;
    for (const TrackRipResult& t : report.Tracks()) {
        c.interrupted += t.Interrupted;
        c.exact += t.Verdict.Result == AccurateRipVerdict::Exact;
        c.different += t.Verdict.Result == AccurateRipVerdict::Different;
        c.absent += t.Verdict.Result == AccurateRipVerdict::Absent;
    }
    c.tracks = report.RippedCount();
    c.damaged = static_cast<int>(report.DamageLines().size());
    c.verified = report.VerificationNote().isEmpty();
    return c;
}

QString summary(const Counts& c)
{
    QString text = SummaryStart + QStringLiteral("%1 piste(s) rippée(s), %2 avec des secteurs illisibles")
                                      .arg(c.tracks)
                                      .arg(c.damaged);
    if (c.interrupted > 0)
        text += QStringLiteral(", %1 interrompue(s)").arg(c.interrupted);
    if (c.verified)
        text += QStringLiteral(" ; AccurateRip : %1 exacte(s), %2 différente(s), %3 absente(s)")
                    .arg(c.exact)
                    .arg(c.different)
                    .arg(c.absent);
    return text + '.';
}

// One run's part of a log, as paragraphs: its header, its track blocks, its summary.
struct Section {
    QString header;
    QStringList blocks;
    QString summary;
    bool trimmed = false;
};

// The value of "  name : value" in a paragraph; null when it has no such line.
QString valueOf(const QString& paragraph, const QString& name)
{
    const QString start = QStringLiteral("  %1 : ").arg(name);
    for (const QString& line : paragraph.split('\n'))
        if (line.startsWith(start))
            return line.mid(start.size());
    return QString();
}

QString verdictWord(AccurateRipVerdict::Kind kind)
{
    AccurateRipVerdict v;
    v.Result = kind;
    return v.Detail().section(' ', 0, 0);
}

// The counts of a section read back, for a section that lost tracks to a later run.
Counts countsOf(const Section& section)
{
    Counts c;
    c.verified = !section.header.contains('\n' + Verdict + QStringLiteral(" : "));
    for (const QString& block : section.blocks) {
        const bool interrupted = valueOf(block, ReadWhole).contains(QStringLiteral("interrompue"));
        c.interrupted += interrupted;
        c.tracks += !interrupted;
        c.damaged += valueOf(block, Unreadable) != NoSector || valueOf(block, FileName) == NoFile;
        const QString verdict = valueOf(block, Verdict).section(' ', 0, 0);
        c.exact += verdict == verdictWord(AccurateRipVerdict::Exact);
        c.different += verdict == verdictWord(AccurateRipVerdict::Different);
        c.absent += verdict == verdictWord(AccurateRipVerdict::Absent);
    }
    return c;
}

QList<Section> sectionsOf(const QString& text)
{
    QList<Section> sections;
    for (const QString& paragraph : text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        const QString p = paragraph.trimmed();
        if (p.isEmpty())
            continue;
        if (sections.isEmpty() || p.startsWith(Title.section('%', 0, 0)))
            sections.append(Section{p, {}, {}, false});
        else if (p.startsWith(SummaryStart))
            sections.last().summary = p;
        else
            sections.last().blocks << p;
    }
    return sections;
}

// Takes out the blocks of the files in files: a later run wrote them anew.
void dropFiles(Section& section, const QStringList& files)
{
    const qsizetype before = section.blocks.size();
    section.blocks.removeIf([&files](const QString& block) {
        const QString file = valueOf(block, FileName);
        return !file.isNull() && files.contains(file);
    });
    section.trimmed = section.blocks.size() != before;
}

QString textOf(const Section& section)
{
    QStringList paragraphs{section.header};
    paragraphs += section.blocks;
    paragraphs << (section.trimmed ? summary(countsOf(section)) : section.summary);
    paragraphs.removeAll(QString());
    return paragraphs.join(QStringLiteral("\n\n")) + '\n';
}

QStringList filesOf(const RipReport& report)
{
    QStringList files;
    for (const TrackRipResult& t : report.Tracks())
        if (t.FileWritten)
            files << t.Path;
    return files;
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::CannotOpen(path, file.errorString());
    return QString::fromUtf8(file.readAll());
}
} // namespace

const QString RipLog::Ending = QStringLiteral("Rapport.log");
const QString RipLog::DiscIdStart = QStringLiteral("Identifiant CDDB du disque : ");
const QString RipLog::DiscTableStart = QStringLiteral("Table du disque (CTDB) : ");

QString RipLog::FileBeside(const QString& trackFile)
{
    return PathText::WithExtension(trackFile, QStringLiteral(" - Rapport.log"));
}

QString RipLog::Text(const Header& header, const RipReport& report)
{
    QString text = Title.arg(QStringLiteral(CALVENOR_VERSION)) + '\n';
    text += QStringLiteral("Date : %1\n").arg(header.Date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    text += QStringLiteral("Lecteur ou image : %1\n").arg(header.Source);
    if (!header.DiscId.isEmpty())
        text += DiscIdStart + header.DiscId + '\n';
    if (!report.DiscTable().isEmpty())
        text += DiscTableStart + report.DiscTable() + '\n';
    if (!header.Drive.isEmpty())
        text += QStringLiteral("Lecteur : %1\n").arg(header.Drive);
    text += QStringLiteral("Décalage de lecture : %1 échantillons\n").arg(header.ReadOffset);
    text += QStringLiteral("Mode de paranoia : %1\n").arg(header.ParanoiaMode);
    if (header.Passes > 1)
        text += QStringLiteral("Lectures par piste : jusqu'à %1\n").arg(header.Passes);
    text += QStringLiteral("Fichier CUE : %1\n")
                .arg(header.CueSheet.isEmpty() ? QStringLiteral("aucun, le disque n'a pas été rippé en entier")
                                               : header.CueSheet);
    if (!header.Cover.isEmpty())
        text += QStringLiteral("Pochette : %1\n").arg(header.Cover);
    if (!report.VerificationNote().isEmpty())
        text += QStringLiteral("AccurateRip : %1\n").arg(report.VerificationNote());
    if (!report.DiscVerificationNote().isEmpty())
        text += QStringLiteral("CTDB : %1\n").arg(report.DiscVerificationNote());
    for (const TrackRipResult& t : report.Tracks())
        text += '\n' + trackBlock(t);
    // The disc's verdict and the album's ReplayGain close the summary: a later
    // run that rewrites some of its files makes a new summary without them.
    const QString disc = report.DiscVerdict().Text();
    const std::optional<ReplayGain::Loudness>& album = report.AlbumLoudness();
    return text + '\n' + summary(countsOf(report)) + '\n' + (disc.isEmpty() ? QString() : disc + '\n')
        + (report.ProofNote().isEmpty() ? QString() : report.ProofNote() + '\n')
        + (report.PressingLine().isEmpty() ? QString() : report.PressingLine() + '\n')
        + (album ? QStringLiteral("ReplayGain de l'album : %1\n").arg(ReplayGain::Text(*album)) : QString());
}

QString RipLog::Merge(const QString& earlier, const QString& latest, const QStringList& files)
{
    QString text;
    for (Section& section : sectionsOf(earlier)) {
        dropFiles(section, files);
        if (!section.blocks.isEmpty())
            text += textOf(section) + '\n';
    }
    return text + latest;
}

void RipLog::Save(const QString& path, const Header& header, const RipReport& report)
{
    const FolderLock lock(QFileInfo(path).absolutePath());
    const QString text = Merge(readText(path), Text(header, report), filesOf(report));
    WholeFile::Write(path, text.toUtf8());
}

QString RipLog::RepairText(const QDateTime& date, const QString& cueSheet, const RipReport& report)
{
    QString text = QStringLiteral("Calvenor %1 : réparation selon CTDB\n").arg(QStringLiteral(CALVENOR_VERSION));
    text += QStringLiteral("Date : %1\n").arg(date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    text += QStringLiteral("Fichier CUE : %1\n").arg(cueSheet);
    if (!report.VerificationNote().isEmpty())
        text += QStringLiteral("AccurateRip : %1\n").arg(report.VerificationNote());
    if (!report.DiscVerificationNote().isEmpty())
        text += QStringLiteral("CTDB : %1\n").arg(report.DiscVerificationNote());
    for (const TrackRipResult& t : report.Tracks())
        if (t.Ctdb.RepairedSamples > 0)
            text += '\n' + repairedBlock(t);
    const QStringList verdicts = report.ProofLines();
    return text + (verdicts.isEmpty() ? QString() : '\n' + verdicts.join('\n') + '\n');
}

void RipLog::Append(const QString& path, const QString& section)
{
    const FolderLock lock(QFileInfo(path).absolutePath());
    const QString earlier = readText(path);
    WholeFile::Write(path, (earlier.isEmpty() ? QString() : earlier + '\n').toUtf8() + section.toUtf8());
}
