#include "platform/CueSheet.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
// No cue sheet of a disc comes near this; a larger file is not read whole.
constexpr qint64 MaxSheetBytes = 1 << 20;

constexpr int32_t FramesPerSecond = 75;

} // namespace

QList<QByteArray> CueSheet::Lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(MaxSheetBytes).split('\n');
}

bool CueSheet::IsCue(const QString& path)
{
    return QFileInfo(path).suffix().compare(QStringLiteral("cue"), Qt::CaseInsensitive) == 0;
}

QString CueSheet::BinBeside(const QString& path)
{
    const QFileInfo cue(path);
    return cue.dir().filePath(cue.completeBaseName() + QStringLiteral(".bin"));
}

QString CueSheet::MissingBinText(const QString& path)
{
    if (!IsCue(path) || !QFileInfo::exists(path) || QFileInfo::exists(BinBeside(path)))
        return QString();
    return QStringLiteral("Impossible d'ouvrir l'image « %1 » : le fichier « %2 » est introuvable. "
                          "Une feuille .cue est lue avec le fichier .bin de même nom placé à côté "
                          "d'elle ; sa ligne FILE n'est pas prise en compte.")
        .arg(path, BinBeside(path));
}

QMap<int, QList<int32_t>> CueSheet::Indexes(const QString& path)
{
    static const QRegularExpression line(
        QStringLiteral("^\\s*(?:TRACK\\s+(\\d+)|INDEX\\s+(\\d+)\\s+(\\d+):(\\d\\d):(\\d\\d))\\b"),
        QRegularExpression::CaseInsensitiveOption);
    QMap<int, QList<int32_t>> indexes;
    int track = 0;
    bool broken = false;
    for (const QByteArray& text : Lines(path)) {
        const QRegularExpressionMatch match = line.match(QString::fromLatin1(text));
        if (!match.hasMatch()) {
            continue;
        } else if (match.capturedLength(1) > 0) {
            track = match.captured(1).toInt();
            broken = false;
            continue;
        }
        const int number = match.captured(2).toInt();
        if (track == 0 || broken || number < 2)
            continue;
        QList<int32_t>& points = indexes[track];
        const int32_t at = (match.captured(3).toInt() * 60 + match.captured(4).toInt()) * FramesPerSecond
                           + match.captured(5).toInt();
        broken = number != points.size() + 2 || (!points.isEmpty() && at <= points.last());
        if (!broken)
            points << at;
    }
    return indexes;
}
