#include "cddb/AlbumRelease.h"

QString AlbumRelease::ChoiceLine() const
{
    QStringList parts{artist + QStringLiteral(" / ") + album};
    if (!year.isEmpty())
        parts << year;
    if (!country.isEmpty())
        parts << country;
    return parts.join(QStringLiteral(" – "));
}
