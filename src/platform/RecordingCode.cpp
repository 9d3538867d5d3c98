#include "platform/RecordingCode.h"
#include <QRegularExpression>

namespace {
// Sheets write the code as people read it: quoted, in groups.
QString bare(const QString& text)
{
    QString code = text.trimmed();
    if (code.size() >= 2 && code.startsWith(QLatin1Char('"')) && code.endsWith(QLatin1Char('"')))
        code = code.mid(1, code.size() - 2);
    return code.remove(QLatin1Char('-')).remove(QLatin1Char(' ')).toUpper();
}
} // namespace

QString RecordingCode::Isrc(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^[A-Z]{2}[A-Z0-9]{3}[0-9]{7}$"));
    const QString code = bare(text);
    return form.match(code).hasMatch() ? code : QString();
}

QString RecordingCode::Mcn(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9]{13}$"));
    const QString code = bare(text);
    return form.match(code).hasMatch() && code != QStringLiteral("0000000000000") ? code : QString();
}
