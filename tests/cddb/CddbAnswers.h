#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Answers of a CDDB server for the worked example (0c01ac02), as the
// protocol's documents show them.
namespace CddbAnswers {
inline const QByteArray Exact = "200 rock 0c01ac02 Some Band / First Album\r\n";
inline const QByteArray TwoMatches = "210 Found exact matches, list follows (until terminating `.')\r\n"
                                     "rock 0c01ac02 Some Band / First Album\r\n"
                                     "jazz 0c01ac02 Other Band / Other Album\r\n"
                                     ".\r\n";
inline const QByteArray NoMatch = "202 No match for disc ID 0c01ac02.\r\n";

// A record of the disc: its category, DTITLE, DGENRE when given and one TTITLE per title.
inline QByteArray Record(const QString& category, const QString& dtitle, const QStringList& titles,
                         const QString& dgenre = {})
{
    QString text = QStringLiteral("210 %1 0c01ac02 CD database entry follows (until terminating `.')\r\n"
                                  "# xmcd\r\nDISCID=0c01ac02\r\nDTITLE=%2\r\n")
                       .arg(category, dtitle);
    if (!dgenre.isEmpty())
        text += QStringLiteral("DGENRE=%1\r\n").arg(dgenre);
    for (int i = 0; i < titles.size(); ++i)
        text += QStringLiteral("TTITLE%1=%2\r\n").arg(i).arg(titles.at(i));
    return (text + QStringLiteral("EXTD=\r\n.\r\n")).toLatin1();
}
} // namespace CddbAnswers
