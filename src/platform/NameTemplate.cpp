#include "platform/NameTemplate.h"
#include "platform/TargetNameRule.h"
#include <QStringList>
#include <utility>

namespace {
const QString Subject = QStringLiteral("Le modèle de nom de fichier");
const QString Fields = QStringLiteral("AadygnNt");
// The fields that may differ between two tracks of one album.
const QString TrackFields = QStringLiteral("nta");
// What stands between two fields and goes with an empty one.
const QString Separators = QStringLiteral(" -_.,;~\u2013\u2014");
const QString Opening = QStringLiteral("([{");
const QString Closing = QStringLiteral(")]}");

QString withoutLeadingSeparators(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && Separators.contains(text.at(i)))
        ++i;
    return text.mid(i);
}

bool isSeparators(const QString& text)
{
    return withoutLeadingSeparators(text).isEmpty();
}

QString withoutTrailingSeparators(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && Separators.contains(text.at(n - 1)))
        --n;
    return text.left(n);
}

// Cleaned before the separators are tidied: a value left empty takes its
// separators along.
QString cleanValue(const QString& value)
{
    return TargetNameRule::WithoutUnsafeChars(value);
}

QString valueOf(QChar field, const NameTemplate::Values& v)
{
    switch (field.unicode()) {
    case 'A': return cleanValue(v.albumArtist);
    case 'a': return cleanValue(v.artist);
    case 'd': return cleanValue(v.album);
    case 'y': return cleanValue(v.year);
    case 'g': return cleanValue(v.genre);
    case 'n': return QStringLiteral("%1").arg(v.number, 2, 10, QLatin1Char('0'));
    case 'N': return v.disc > 0 ? QString::number(v.disc) : QString();
    default: {
        // A track without a title is named after its label.
        const QString title = cleanValue(v.title);
        return title.isEmpty() ? cleanValue(v.label) : title;
    }
    }
}
} // namespace

const QString NameTemplate::DefaultText = QStringLiteral("%n - %d - %a - %t");
const QString NameTemplate::UnknownFolder = QStringLiteral("Inconnu");

NameTemplate::NameTemplate(const QString& text) : m_text(text)
{
    m_error = parse(text);
    if (!m_error.isEmpty()) {
        m_components.clear();
        parse(DefaultText);
    }
}

QString NameTemplate::parse(const QString& text)
{
    if (text.isEmpty())
        return Subject + QStringLiteral(" est vide : indiquez au moins %n ou %t.");
    if (text.endsWith('/'))
        return Subject + QStringLiteral(" ne peut pas finir par « / » : il doit finir par le nom du fichier.");
    Component current;
    bool trackField = false;
    const auto literal = [&current](QChar c) {
        if (current.isEmpty() || !current.last().field.isNull())
            current << Piece();
        current.last().text += c;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '/') {
            if (current.isEmpty())
                return Subject + QStringLiteral(" contient un dossier sans nom : retirez le « / » en trop.");
            m_components << current;
            current.clear();
        } else if (TargetNameRule::IsForbiddenNameChar(c)) {
            return Subject + QStringLiteral(" contient « ") + c
                + QStringLiteral(" », un caractère interdit dans les noms de fichier : enlevez les caractères "
                                 "\\ : * ? \" < > |.");
        } else if (c != '%') {
            literal(c);
        } else if (i + 1 == text.size()) {
            return Subject + QStringLiteral(" finit par un « % » seul : écrivez %% pour un signe pour cent.");
        } else if (const QChar f = text.at(++i); f == '%') {
            literal(f);
        } else if (!Fields.contains(f)) {
            return Subject + QStringLiteral(" contient « %") + f
                + QStringLiteral(" », qui n'est pas un champ connu. Champs possibles : %A, %a, %d, %y, %g, %n, %N, "
                                 "%t et %%.");
        } else {
            trackField = trackField || TrackFields.contains(f);
            current << Piece{f, QString()};
        }
    }
    m_components << current;
    if (!trackField)
        return Subject + QStringLiteral(" doit contenir %n, %t ou %a : sans eux, toutes les pistes porteraient le "
                                        "même nom.");
    for (const Component& component : m_components)
        if (component.size() == 1 && component.first().field.isNull()
            && TargetNameRule::IsDotFolderName(component.first().text))
            return TargetNameRule::DotFolderNameText(QStringLiteral("Un dossier du modèle de nom de fichier"));
    return QString();
}

QString NameTemplate::Apply(const QString& folder, const Values& values, const QString& extension) const
{
    return TargetNameRule::WithSeparator(folder) + relativePath(values, extension);
}

QString NameTemplate::relativePath(const Values& values, const QString& extension) const
{
    QString path;
    for (qsizetype i = 0; i + 1 < m_components.size(); ++i)
        path = TargetNameRule::SubFolder(path, componentText(m_components.at(i), values));
    return path + TargetNameRule::SafeComponent(componentText(m_components.last(), values), extension);
}

QString NameTemplate::componentText(const Component& component, const Values& values) const
{
    Component pieces = component;
    for (Piece& piece : pieces)
        if (!piece.field.isNull())
            piece.text = valueOf(piece.field, values);
    for (qsizetype i = 0; i < pieces.size(); ++i)
        if (!pieces.at(i).field.isNull() && pieces.at(i).text.isEmpty())
            tidyAround(pieces, i);
    QString text;
    for (const Piece& piece : pieces)
        text += piece.text;
    // No folder without a name; SafeComponent turns away "." and "..".
    return text.trimmed().isEmpty() ? UnknownFolder : text;
}

// The empty field at i takes the separators around it along: between two
// names one separator stays, at an end none, and brackets left empty go.
void NameTemplate::tidyAround(Component& pieces, qsizetype i)
{
    Piece* before = i > 0 && pieces.at(i - 1).field.isNull() ? &pieces[i - 1] : nullptr;
    Piece* after = i + 1 < pieces.size() && pieces.at(i + 1).field.isNull() ? &pieces[i + 1] : nullptr;
    if (before && after && !before->text.isEmpty() && !after->text.isEmpty()) {
        const qsizetype bracket = Opening.indexOf(before->text.back());
        if (bracket >= 0 && after->text.front() == Closing.at(bracket)) {
            before->text.chop(1);
            after->text.remove(0, 1);
        }
    }
    const bool nameBefore = hasName(pieces, 0, i);
    const bool nameAfter = hasName(pieces, i + 1, pieces.size());
    if (nameBefore && nameAfter) {
        if (after && endsWithSeparator(pieces, i))
            after->text = withoutLeadingSeparators(after->text);
        return;
    }
    if (before)
        before->text = withoutTrailingSeparators(before->text);
    if (after)
        after->text = withoutLeadingSeparators(after->text);
}

bool NameTemplate::hasName(const Component& pieces, qsizetype from, qsizetype to)
{
    for (qsizetype j = from; j < to; ++j) {
        const Piece& piece = pieces.at(j);
        if (piece.field.isNull() ? !isSeparators(piece.text) : !piece.text.isEmpty())
            return true;
    }
    return false;
}

bool NameTemplate::endsWithSeparator(const Component& pieces, qsizetype to)
{
    for (qsizetype j = to - 1; j >= 0; --j)
        if (!pieces.at(j).text.isEmpty())
            return Separators.contains(pieces.at(j).text.back());
    return false;
}

QString NameTemplate::PreviewText(const QString& text, const Values& values, const QString& extension)
{
    const NameTemplate names(text);
    if (!names.Error().isEmpty())
        return names.Error();
    return QStringLiteral("Aperçu : ") + names.relativePath(values, extension);
}

namespace {
// Each field of a template and what it stands for.
const std::pair<const char*, const char*> FieldMeanings[] = {
    {"%A", "artiste de l'album"}, {"%a", "artiste de la piste"}, {"%d", "album"},
    {"%y", "année"},              {"%g", "genre"},               {"%n", "numéro de piste"},
    {"%N", "numéro de disque"},   {"%t", "titre"},               {"%%", "signe pour cent"},
};
const QString FoldersText = QStringLiteral("« / » sépare les dossiers.");

QStringList fieldMeanings(const QString& between)
{
    QStringList meanings;
    for (const auto& [field, meaning] : FieldMeanings)
        meanings << QLatin1String(field) + between + QString::fromUtf8(meaning);
    return meanings;
}
} // namespace

QString NameTemplate::FieldsText()
{
    return fieldMeanings(QStringLiteral(" ")).join(QStringLiteral(", ")) + QStringLiteral(" ; ") + FoldersText;
}

QString NameTemplate::FieldsLines()
{
    return fieldMeanings(QStringLiteral(" : ")).join('\n') + '\n' + FoldersText;
}

NameTemplate::Values NameTemplate::SampleValues()
{
    Values sample;
    sample.albumArtist = sample.artist = QStringLiteral("Les Musiciens");
    sample.album = QStringLiteral("Premier album");
    sample.year = QStringLiteral("1999");
    sample.genre = QStringLiteral("Chanson");
    sample.title = QStringLiteral("Première chanson");
    sample.label = QStringLiteral("Piste 01");
    sample.number = 1;
    sample.disc = 1;
    return sample;
}
