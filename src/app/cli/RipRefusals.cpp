#include "app/cli/RipRefusals.h"
#include "app/cli/UsageError.h"
#include "platform/CalvenorError.h"
#include <QFileInfo>
#include "rip/TCDRIP.h"

void RipRefusals::TracksNotOnDisc(const TCDRIP& r, const QList<int>& wanted)
{
    for (int n : wanted)
        if (n == TCDRIP::HiddenTrackNumber && !r.TrackOf(n))
            throw CalvenorError(QStringLiteral("Le disque n'a pas de piste cachée (piste 0) : rien d'audible avant "
                                               "la piste 1."));
        else if (!r.TrackOf(n) || r.TrackOf(n)->Kind != QLatin1String("Audio"))
            throw CalvenorError(QStringLiteral("Le disque n'a pas de piste audio %1.").arg(n));
}

void RipRefusals::Overwrite(const QStringList& existing, bool allowed)
{
    if (existing.isEmpty() || allowed)
        return;
    if (existing.size() == 1)
        throw CalvenorError(
            QStringLiteral("Le fichier « %1 » existe déjà ; ajoutez --overwrite pour le remplacer.").arg(existing.first()));
    throw CalvenorError(QStringLiteral("Ces fichiers existent déjà ; ajoutez --overwrite pour les remplacer :\n  ")
                        + existing.join(QStringLiteral("\n  ")));
}

void RipRefusals::ExtensionOfFormat(const QString& file, const QString& extension)
{
    const QString suffix = QFileInfo(file).suffix();
    if (suffix.isEmpty() || extension.compare('.' + suffix, Qt::CaseInsensitive) == 0)
        return;
    throw UsageError(QStringLiteral("Le fichier « %1 » ne porte pas l'extension du format demandé (%2) : changez l'un "
                                    "ou l'autre.")
                         .arg(QFileInfo(file).fileName(), extension));
}
