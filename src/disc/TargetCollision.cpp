#include "disc/TargetCollision.h"
#include <QHash>

namespace {
QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}
} // namespace

QString TargetCollision::Text(const QList<AlbumTrack>& tracks)
{
    QHash<QString, int> numberOf;
    for (const AlbumTrack& track : tracks) {
        if (!track.ticked)
            continue;
        const QString target = track.value(AlbumTrack::Target);
        const auto first = numberOf.constFind(target);
        if (first == numberOf.constEnd()) {
            numberOf.insert(target, track.number);
            continue;
        }
        return QStringLiteral("Les pistes %1 et %2 donneraient le même fichier « %3 » : changez le modèle de nom.")
            .arg(twoDigits(*first), twoDigits(track.number), target);
    }
    return QString();
}
