#include "app/CommandHelp.h"
#include "app/OptionSuggestion.h"
#include <QStringList>
#include <algorithm>

namespace {
const QString HelpName = QStringLiteral("help");
const QString VersionName = QStringLiteral("version");
constexpr int LineWidth = 79;
constexpr int Indent = 2;
constexpr int ExampleIndent = 6;

// The words of text in lines of at most width characters; a longer word has a line of its own.
QStringList wrapped(const QString& text, int width)
{
    QStringList lines{QString()};
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        QString& line = lines.last();
        if (line.isEmpty())
            line = word;
        else if (line.size() + 1 + word.size() <= width)
            line += ' ' + word;
        else
            lines << word;
    }
    return lines;
}

// Each line of text after margin spaces.
QString indented(const QStringList& lines, int margin)
{
    QString text;
    for (const QString& line : lines)
        text += QString(margin, ' ') + line + '\n';
    return text;
}

// The left column, then the text cut to the room left beside it.
QString column(const QString& left, int width, const QString& right)
{
    const int margin = Indent + width + 2;
    const QStringList lines = wrapped(right, LineWidth - margin);
    return QString(Indent, ' ') + left.leftJustified(width) + QStringLiteral("  ") + lines.first() + '\n'
        + indented(lines.mid(1), margin);
}
} // namespace

CommandHelp::CommandHelp(QCommandLineParser& parser, const QString& program) : m_parser(parser), m_program(program)
{
}

void CommandHelp::addStandardOptions()
{
    addOptions({
        {{QStringLiteral("h"), HelpName}, QStringLiteral("Affiche cette aide et s'arrête.")},
        {VersionName, QStringLiteral("Affiche la version et s'arrête.")},
    });
}

void CommandHelp::addDriveOption()
{
    addOptions({{QStringLiteral("drive"),
                 QStringLiteral("Donne la lettre X à une image de disque (.cue, .toc, .nrg) ; se répète."),
                 QStringLiteral("X=CHEMIN")}});
}

void CommandHelp::setDescription(const QString& description)
{
    m_description = description;
    m_parser.setApplicationDescription(description);
}

void CommandHelp::addSection(const QString& title)
{
    m_sections.append({title, {}});
}

void CommandHelp::addOptions(const QList<QCommandLineOption>& options)
{
    m_parser.addOptions(options);
    m_options += options;
    if (m_sections.isEmpty())
        addSection(QStringLiteral("Options"));
    m_sections.last().options += options;
}

void CommandHelp::addExample(const QString& command, const QString& description)
{
    m_examples.append({command, description});
}

void CommandHelp::addPositionalArgument(const QString& name, const QString& description, const QString& syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
    m_arguments.append({name, description, syntax.isEmpty() ? name : syntax});
}

void CommandHelp::addExitCode(int code, const QString& meaning)
{
    m_exitCodes.append({QString::number(code), meaning, QString()});
}

QString CommandHelp::dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString CommandHelp::optionSyntax(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << dashed(name);
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += ' ' + option.valueName();
    return syntax;
}

int CommandHelp::columnWidth() const
{
    int width = 0;
    for (const Argument& a : m_arguments)
        width = std::max(width, int(a.name.size()));
    for (const QCommandLineOption& o : m_options)
        width = std::max(width, int(optionSyntax(o).size()));
    return width;
}

QString CommandHelp::Text() const
{
    QString text = QStringLiteral("Utilisation : ") + m_program + QStringLiteral(" [options]");
    for (const Argument& a : m_arguments)
        text += ' ' + a.syntax;
    text += QStringLiteral("\n\n");
    for (const QString& line : m_description.split('\n'))
        text += indented(wrapped(line, LineWidth), 0);
    const int width = columnWidth();
    for (const Section& section : m_sections) {
        text += '\n' + section.title + QStringLiteral(" :\n");
        for (const QCommandLineOption& o : section.options)
            text += column(optionSyntax(o), width, o.description());
    }
    if (!m_arguments.isEmpty())
        text += QStringLiteral("\nArguments :\n");
    for (const Argument& a : m_arguments)
        text += column(a.name, width, a.description);
    if (!m_exitCodes.isEmpty())
        text += QStringLiteral("\nCodes de sortie :\n");
    for (const Argument& c : m_exitCodes)
        text += column(c.name, width, c.description);
    if (!m_examples.isEmpty())
        text += QStringLiteral("\nExemples :\n");
    for (const Example& e : m_examples)
        text += indented({e.command}, Indent) + indented(wrapped(e.description, LineWidth - ExampleIndent), ExampleIndent);
    return text;
}

QString CommandHelp::VersionText() const
{
    return m_program + QStringLiteral(" (Calvenor), version ") + QStringLiteral(CALVENOR_VERSION) + '\n';
}

const QCommandLineOption* CommandHelp::option(const QString& name) const
{
    for (const QCommandLineOption& o : m_options)
        if (o.names().contains(name))
            return &o;
    return nullptr;
}

// Besides an unknown name, the parser refuses an option whose value is
// missing, which can only be the last argument, and a value after "=" for
// an option that takes none.
QString CommandHelp::RefusalText(const QStringList& arguments) const
{
    if (!m_parser.unknownOptionNames().isEmpty())
        return unknownOptionText(m_parser.unknownOptionNames().first());
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        const QString written = argument.section(QLatin1Char('='), 0, 0);
        const bool isLong = written.startsWith(QLatin1String("--"));
        const QCommandLineOption* o = written.startsWith(QLatin1Char('-')) ? option(written.mid(isLong ? 2 : 1)) : nullptr;
        if (!o)
            continue;
        if (o->valueName().isEmpty() && isLong && argument.contains(QLatin1Char('=')))
            return QStringLiteral("%1 ne prend pas de valeur.").arg(written);
        if (!o->valueName().isEmpty() && written == argument && i + 1 == arguments.size())
            return QStringLiteral("%1 attend une valeur : %1 %2.").arg(written, o->valueName());
    }
    return QStringLiteral("Les arguments de la commande ne sont pas compris.");
}

QString CommandHelp::unknownOptionText(const QString& name) const
{
    QStringList known;
    for (const QCommandLineOption& o : m_options)
        for (const QString& n : o.names())
            if (n.size() > 1)
                known << n;
    const QString text = QStringLiteral("Option inconnue : %1.").arg(dashed(name));
    const QString meant = OptionSuggestion::Nearest(name, known);
    return meant.isEmpty() ? text : text + QStringLiteral(" Vouliez-vous dire %1 ?").arg(dashed(meant));
}

std::optional<QString> CommandHelp::RequestedText() const
{
    if (m_parser.isSet(HelpName))
        return Text();
    if (m_parser.isSet(VersionName))
        return VersionText();
    return std::nullopt;
}
