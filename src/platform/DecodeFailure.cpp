#include "platform/DecodeFailure.h"

QString DecodeFailure::Unreadable(const QString& path, const QString& format)
{
    return QStringLiteral("Le fichier \"%1\" n'est pas un fichier %2 lisible.").arg(path, format);
}

QString DecodeFailure::Damaged(const QString& path)
{
    return QStringLiteral("Le fichier \"%1\" est endommagé : son décodage a échoué.").arg(path);
}

QString DecodeFailure::CutShort(const QString& path)
{
    return QStringLiteral("Le fichier \"%1\" n'a pas pu être lu jusqu'au bout.").arg(path);
}

QString DecodeFailure::TooManyChannels(const QString& path, int channels)
{
    return QStringLiteral("Le fichier \"%1\" a %2 canaux : seuls les fichiers mono et stéréo peuvent être convertis.")
        .arg(path)
        .arg(channels);
}
