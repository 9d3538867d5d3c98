#include "app/cli/TerminalText.h"
#include <QStringList>

QString TerminalText::Escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString TerminalText::EscapedMessage(const QString& text)
{
    QStringList lines = text.split('\n');
    for (QString& line : lines)
        line = Escaped(line);
    return lines.join('\n');
}
