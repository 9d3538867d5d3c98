#include "platform/CueSheetLayout.h"
#include "platform/CueSheet.h"
#include "platform/RecordingCode.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
constexpr int MaxNumber = 99;
constexpr int SecondsPerMinute = 60;
constexpr int FramesPerSecond = 75;

int number(const QString& word)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,3}$"));
    return digits.match(word).hasMatch() ? word.toInt() : -1;
}

// "mm:ss:ff" in sectors, its fields of one digit or two as libcdio takes
// them; -1 when the time is not one.
int sectors(const QString& time)
{
    if (time == QLatin1String("0"))
        return 0;
    static const QRegularExpression msf(QStringLiteral("^(\\d{1,3}):(\\d{1,2}):(\\d{1,2})$"));
    const QRegularExpressionMatch m = msf.match(time);
    if (!m.hasMatch() || m.captured(2).toInt() >= SecondsPerMinute || m.captured(3).toInt() >= FramesPerSecond)
        return -1;
    return (m.captured(1).toInt() * SecondsPerMinute + m.captured(2).toInt()) * FramesPerSecond
           + m.captured(3).toInt();
}

QString two(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// What a sheet says of one track only.
bool belongsToATrack(const QString& keyword)
{
    for (const char* name : {"INDEX", "ISRC", "FLAGS", "PREGAP", "POSTGAP"})
        if (keyword == QLatin1String(name))
            return true;
    return false;
}
} // namespace

CueSheetLayout::CueSheetLayout(const QString& path) : m_path(path)
{
    const QList<QByteArray> lines = CueSheet::Lines(path);
    int last = 0;
    for (int k = 0; k < lines.size() && m_fault.isEmpty(); ++k) {
        readLine(k + 1, lines.at(k));
        last = lines.at(k).trimmed().isEmpty() ? last : k + 1;
    }
    // A track left without INDEX 01 is found at the sheet's end, as flac finds it.
    m_line = last;
    if (m_fault.isEmpty())
        endTrack();
}

void CueSheetLayout::readLine(int number, const QByteArray& bytes)
{
    m_line = number;
    const QString line = QString::fromLatin1(bytes);
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString keyword = words.value(0).toUpper();
    if (m_track == 0 && belongsToATrack(keyword)) {
        fail(QStringLiteral("%1 n'a de sens que dans une piste").arg(keyword));
    } else if (keyword == QLatin1String("TRACK")) {
        readTrack(words);
    } else if (keyword == QLatin1String("INDEX")) {
        readIndex(words);
        keep(bytes);
    } else if (keyword == QLatin1String("ISRC") || keyword == QLatin1String("CATALOG")) {
        readCode(words, line);
    } else if (keyword == QLatin1String("CDTEXTFILE")) {
        const QString name = line.section(QLatin1Char('"'), 1, 1);
        keep("CDTEXTFILE \"" + QFile::encodeName(QFileInfo(m_path).dir().absoluteFilePath(name)) + '"');
    } else {
        if (keyword == QLatin1String("FILE"))
            m_last = Point();
        keep(bytes);
    }
}

void CueSheetLayout::readTrack(const QStringList& words)
{
    const int n = number(words.value(1));
    const bool first = m_track == 0;
    if (n < 1 || n > MaxNumber || (!first && n != m_track + 1))
        return fail(first ? QStringLiteral("une piste est numérotée de 01 à 99")
                          : QStringLiteral("la piste qui suit la piste %1 doit porter le numéro %2")
                                .arg(two(m_track), two(m_track + 1)));
    if (words.size() < 3)
        return fail(QStringLiteral("la piste %1 ne dit pas son type (AUDIO…)").arg(two(n)));
    endTrack();
    if (!m_fault.isEmpty())
        return;
    if (first)
        m_firstTrack = n;
    m_track = n;
    m_hasIndex01 = false;
    const QString mode = words.mid(2).join(QLatin1Char(' '));
    keep(QStringLiteral("  TRACK %1 %2").arg(two(n - m_firstTrack + 1), mode).toLatin1());
}

void CueSheetLayout::endTrack()
{
    if (m_track > 0 && !m_hasIndex01)
        fail(QStringLiteral("la piste %1 n'a pas d'INDEX 01").arg(two(m_track)));
}

void CueSheetLayout::readIndex(const QStringList& words)
{
    const int index = number(words.value(1));
    const int at = sectors(words.value(2));
    if (index < 0 || index > MaxNumber)
        return fail(QStringLiteral("un numéro d'index va de 00 à 99"));
    if (at < 0)
        return fail(QStringLiteral("« %1 » n'est pas un temps mm:ss:ff").arg(words.value(2)));
    const bool sameTrack = m_last.track == m_track;
    if (index == 0 && sameTrack && m_last.index >= 1)
        return fail(QStringLiteral("l'INDEX 00 vient après l'INDEX 01 de la piste %1").arg(two(m_track)));
    const int expected = sameTrack ? m_last.index + 1 : (index == 0 ? 0 : 1);
    if (index != expected)
        return fail(QStringLiteral("la piste %1 attend ici l'INDEX %2").arg(two(m_track), two(expected)));
    // INDEX 00 and 01 may share their time: a gap of no length.
    const bool tie = sameTrack && m_last.index == 0 && index == 1;
    if (m_last.sector >= 0 && (at < m_last.sector || (at == m_last.sector && !tie)))
        return fail(QStringLiteral("l'index %1 de la piste %2 ne vient pas après l'index %3 de la piste %4")
                        .arg(two(index), two(m_track), two(m_last.index), two(m_last.track)));
    m_last = {m_track, index, at};
    m_hasIndex01 = m_hasIndex01 || index == 1;
}

void CueSheetLayout::readCode(const QStringList& words, const QString& line)
{
    const bool isrc = words.value(0).compare(QLatin1String("ISRC"), Qt::CaseInsensitive) == 0;
    const QString written = words.mid(1).join(QLatin1Char(' '));
    const QString code = isrc ? RecordingCode::Isrc(written) : RecordingCode::Mcn(written);
    if (!code.isEmpty()) {
        keep((isrc ? QStringLiteral("    ISRC %1") : QStringLiteral("CATALOG %1")).arg(code).toLatin1());
        return;
    }
    m_warnings << (isrc ? QStringLiteral("Feuille CUE « %1 », ligne %2 : « %3 » n'est pas un ISRC (12 caractères "
                                         "CCXXXYYNNNNN) ; il est ignoré.")
                        : QStringLiteral("Feuille CUE « %1 », ligne %2 : « %3 » n'est pas un numéro de catalogue "
                                         "(13 chiffres) ; il est ignoré."))
                      .arg(m_path)
                      .arg(m_line)
                      .arg(written.isEmpty() ? line.trimmed() : written);
}

void CueSheetLayout::fail(const QString& why)
{
    if (m_fault.isEmpty())
        m_fault = QStringLiteral("La feuille CUE « %1 » décrit un disque impossible : %2 (ligne %3).")
                      .arg(m_path, why)
                      .arg(m_line);
}

void CueSheetLayout::keep(const QByteArray& line)
{
    m_copy += line + '\n';
}
