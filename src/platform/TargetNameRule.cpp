#include "platform/TargetNameRule.h"
#include "platform/CalvenorError.h"
#include "platform/NameTemplate.h"
#include <QDir>
#include <QFileInfo>

namespace {
// A row label is "Piste " and the track's two digits.
const QString LabelPrefix = QStringLiteral("Piste ");
constexpr int LabelDigits = 2;

QString digitsOf(const QString& label)
{
    return label.mid(LabelPrefix.size(), LabelDigits);
}

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u <= 0x1F || (u >= 0x7F && u <= 0x9F);
}

// The first characters of text that fit in `bytes` UTF-8 bytes.
QString fitBytes(const QString& text, qsizetype bytes)
{
    qsizetype used = 0;
    qsizetype units = 0;
    while (units < text.size()) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size();
        const qsizetype step = pair ? 2 : 1;
        const qsizetype size = text.mid(units, step).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        units += step;
    }
    return text.left(units);
}
} // namespace

QString TargetNameRule::ComposeTargetPath(const QString& directory, const QString& label, const QString& album,
                                          const QString& artist, const QString& title, const QString& extension)
{
    static const NameTemplate standard;
    NameTemplate::Values values;
    values.label = label;
    values.number = digitsOf(label).toInt();
    values.album = album;
    values.artist = artist;
    values.title = title;
    return standard.Apply(directory, values, extension);
}

QString TargetNameRule::WithoutForbiddenChars(const QString& text)
{
    if (FirstForbiddenChar(text) < 0)
        return text;
    QString kept;
    for (const QChar c : text)
        if (!IsForbiddenNameChar(c))
            kept += c;
    return kept.trimmed();
}

QString TargetNameRule::WithoutControlChars(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text)
        if (!isControl(c))
            clean += c;
    return clean;
}

QString TargetNameRule::WithoutUnsafeChars(const QString& text)
{
    return WithoutForbiddenChars(WithoutControlChars(text));
}

QString TargetNameRule::SafeComponent(const QString& name, const QString& end)
{
    const QString clean = WithoutUnsafeChars(name);
    const QString head = IsDotFolderName(clean) ? NameTemplate::UnknownFolder : clean;
    return fitBytes(head, MaxComponentBytes - end.toUtf8().size()) + end;
}

QString TargetNameRule::InsideFolder(const QString& folder, const QString& path)
{
    const QString inside = QDir::cleanPath(QDir(folder).absolutePath());
    const QString resolved = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (path.isEmpty() || resolved.startsWith(WithSeparator(inside)))
        return path;
    throw CalvenorError(QStringLiteral("Le fichier « %1 » serait écrit hors du dossier de destination « %2 » : il "
                                       "n'est pas écrit.")
                            .arg(resolved, inside));
}

QString TargetNameRule::SubFolder(const QString& folder, const QString& name)
{
    return folder + SafeComponent(name) + '/';
}

QString TargetNameRule::DotFolderNameText(const QString& subject)
{
    return subject + QStringLiteral(" ne peut pas être « . » ou « .. » : un dossier de ce nom désignerait le dossier "
                                    "lui-même ou le dossier parent. Veuillez donner un autre nom.");
}

bool TargetNameRule::IsForbiddenNameChar(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    return forbidden.contains(c);
}

bool TargetNameRule::IsDotFolderName(const QString& name)
{
    const QString trimmed = WithoutControlChars(name).trimmed();
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
