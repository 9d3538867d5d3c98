#include "rip/RipRunTexts.h"
#include "rip/RipReport.h"
#include <QStringList>

QString RipRunTexts::Skipped(const QList<int>& tracks)
{
    QStringList labels;
    for (int t : tracks)
        labels << RipReport::TrackLabel(t);
    if (labels.isEmpty())
        return QString();
    return QStringLiteral("Pistes non rippées, leur fichier existant a été conservé : %1.")
        .arg(labels.join(QStringLiteral(", ")));
}

QString RipRunTexts::Unread(const QList<int>& tracks)
{
    if (tracks.isEmpty())
        return QString();
    QStringList numbers;
    for (int t : tracks)
        numbers << QString::number(t);
    return QStringLiteral("Le disque n'a pas pu être lu pour les pistes suivantes : %1. Aucun fichier n'a été créé "
                          "pour elles.")
        .arg(numbers.join(QStringLiteral(", ")));
}

QString RipRunTexts::DiscRemoved(int cutOffTrack)
{
    QString text = QStringLiteral("Le CD a été retiré du lecteur pendant le rippage. Les pistes déjà rippées ont été "
                                  "conservées et ajoutées à la liste de lecture.");
    if (cutOffTrack != 0)
        text += QStringLiteral(" La piste %1, interrompue, est incomplète : la partie lue est conservée sous un nom "
                               "à part, sans être ajoutée à la liste de lecture.")
                    .arg(cutOffTrack);
    return text;
}
