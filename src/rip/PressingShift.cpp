#include "rip/PressingShift.h"

QString PressingShift::Text(int shift)
{
    return QStringLiteral("pressage décalé de %1%2 échantillons").arg(shift > 0 ? QStringLiteral("+") : QString()).arg(shift);
}

QString PressingShift::Meaning()
{
    return QStringLiteral("une correspondance avec un pressage décalé prouve la lecture du disque ; seule une "
                          "correspondance sans décalage prouve les fichiers tels qu'ils sont écrits");
}
