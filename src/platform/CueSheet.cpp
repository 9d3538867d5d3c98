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
