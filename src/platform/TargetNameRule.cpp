#include "platform/TargetNameRule.h"

namespace {
const QString Separator = QStringLiteral(" - ");
}

QString TargetNameRule::ComposeTargetPath(const QString& directory, const QString& label, const QString& album,
                                          const QString& artist, const QString& title, bool mp3)
{
    QString name = label.mid(6, 2) + Separator;
    if (!album.isEmpty())
        name += album + Separator;
    if (!artist.isEmpty())
        name += artist + Separator;
    name += title.isEmpty() ? label : title;
    return WithSeparator(directory) + name + (mp3 ? QStringLiteral(".mp3") : QStringLiteral(".wav"));
}

bool TargetNameRule::IsForbiddenNameChar(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    return forbidden.contains(c);
}

bool TargetNameRule::IsDotFolderName(const QString& name)
{
    const QString trimmed = name.trimmed();
    return trimmed == QLatin1String(".") || trimmed == QLatin1String("..");
}

QString TargetNameRule::ForbiddenCharactersText(const QString& subject)
{
    return subject + QStringLiteral(" contient un ou plusieurs caractères interdits par windows. Veuillez corriger en "
                                    "enlevant tous les caractères / \\ : * ? \" < > | .");
}

int TargetNameRule::FirstForbiddenChar(const QString& text)
{
    for (int i = 0; i < text.size(); ++i)
        if (IsForbiddenNameChar(text.at(i)))
            return i;
    return -1;
}

QString TargetNameRule::DefaultMusicFolder(const QString& documentsFolder)
{
    return WithSeparator(documentsFolder) + QStringLiteral("Ma musique/");
}

QString TargetNameRule::WithSeparator(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

int TargetNameRule::TrackNumberFromLabel(const QString& label)
{
    return label.mid(6, 2).trimmed().toInt();
}

QString TargetNameRule::LabelFromDigits(const QString& twoDigits)
{
    return QStringLiteral("Piste ") + twoDigits;
}

QString TargetNameRule::ReplaceLastFour(const QString& text, const QString& extension)
{
    return text.left(qMax(0, text.size() - 4)) + extension;
}

QString TargetNameRule::ParentFolder(const QString& folder)
{
    // Search from before the last character, so a final "/" is skipped; the
    // root "/" is the top.
    int p = folder.size() - 1;
    while (p > 0 && folder.at(p - 1) != '/')
        --p;
    if (p <= 0)
        return QStringLiteral("/");
    return WithSeparator(folder.left(p));
}
