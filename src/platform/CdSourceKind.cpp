#include "platform/CdSourceKind.h"
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

CdSourceKind::Kind CdSourceKind::Of(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cue"))
        return CueImage;
    if (suffix == QLatin1String("toc"))
        return TocImage;
    if (suffix == QLatin1String("nrg"))
        return NrgImage;
    struct stat st {};
    const bool blockDevice = ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISBLK(st.st_mode);
    // A drive that is not plugged in yet still has its /dev/ name.
    if (blockDevice || path.startsWith(QLatin1String("/dev/")))
        return Device;
    return Unknown;
}

QString CdSourceKind::RefusalText(const QString& path)
{
    return QStringLiteral("« %1 » n'est ni un lecteur de CD ni une image de disque reconnue : une image est lue "
                          "d'après son extension (.cue avec son .bin, .toc ou .nrg).")
        .arg(path);
}
