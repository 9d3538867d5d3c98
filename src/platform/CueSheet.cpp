#include "platform/CueSheet.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
// No cue sheet of a disc comes near this; a larger file is not read whole.
constexpr qint64 MaxSheetBytes = 1 << 20;

QString numberingText(const QString& path, int line)
{
    return QStringLiteral("La feuille CUE « %1 » n'est pas lisible : ses pistes doivent être numérotées "
                          "01, 02, 03… dans l'ordre (ligne %2).")
        .arg(path)
        .arg(line);
}
} // namespace

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

QString CueSheet::NumberingFault(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    static const QRegularExpression trackLine(QStringLiteral("^\\s*TRACK\\s+(\\S+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QList<QByteArray> lines = file.read(MaxSheetBytes).split('\n');
    int expected = 1;
    for (int i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = trackLine.match(QString::fromLatin1(lines.at(i)));
        if (!match.hasMatch())
            continue;
        bool isNumber = false;
        const int number = match.captured(1).toInt(&isNumber);
        if (!isNumber || number != expected || number > 99)
            return numberingText(path, i + 1);
        ++expected;
    }
    return QString();
}
