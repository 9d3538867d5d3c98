#include "cddb/NameCorrection.h"
#include "platform/TargetNameRule.h"

QString NameCorrection::WithoutForbiddenChars(const QString& name, const QString& boxText) const
{
    QString text = name;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length && i < text.size(); ++i)
        if (TargetNameRule::IsForbiddenNameChar(text.at(i)))
            text = m_ask(text, boxText);
    return text;
}

QString NameCorrection::FolderName(const QString& name, const QString& subject) const
{
    const QString forbidden = TargetNameRule::ForbiddenCharactersText(subject);
    QString text = WithoutForbiddenChars(name, forbidden);
    while (TargetNameRule::IsDotFolderName(text))
        text = WithoutForbiddenChars(m_ask(text, TargetNameRule::DotFolderNameText(subject)), forbidden);
    return text;
}
