#include "platform/CueSheet.h"
#include <QDir>
#include <QFileInfo>

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
