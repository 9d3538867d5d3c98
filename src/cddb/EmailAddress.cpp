#include "cddb/EmailAddress.h"

bool EmailAddress::IsValid(const QString& address)
{
    for (const QChar c : address)
        if (c.unicode() <= ' ' || c.category() == QChar::Other_Control)
            return false;
    const qsizetype at = address.lastIndexOf('@');
    const QString domain = Domain(address);
    return at > 0 && address.count('@') == 1 && domain.contains('.') && !domain.startsWith('.')
           && !domain.endsWith('.');
}

QString EmailAddress::LocalPart(const QString& address)
{
    const qsizetype at = address.lastIndexOf('@');
    return at < 0 ? address : address.left(at);
}

QString EmailAddress::Domain(const QString& address)
{
    const qsizetype at = address.lastIndexOf('@');
    return at < 0 ? QString() : address.mid(at + 1);
}

QString EmailAddress::InvalidText(const QString& address)
{
    return QStringLiteral("« %1 » n'est pas une adresse électronique valide. Donnez une adresse de la forme "
                          "jean.dupont@exemple.fr.")
        .arg(address);
}
