#include "app/CommandHelp.h"
#include <QStringList>
#include <algorithm>

namespace {
const QString HelpName = QStringLiteral("help");
const QString VersionName = QStringLiteral("version");

QString column(const QString& left, int width, const QString& right)
{
    return QStringLiteral("  ") + left.leftJustified(width) + QStringLiteral("  ") + right + '\n';
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

void CommandHelp::addOptions(const QList<QCommandLineOption>& options)
{
    m_parser.addOptions(options);
    m_options += options;
}

void CommandHelp::addPositionalArgument(const QString& name, const QString& description, const QString& syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
    m_arguments.append({name, description, syntax.isEmpty() ? name : syntax});
}

QString CommandHelp::optionSyntax(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += ' ' + option.valueName();
    return syntax;
}

QString CommandHelp::Text() const
{
    QString usage = QStringLiteral("Utilisation : ") + m_program + QStringLiteral(" [options]");
    int width = 0;
    for (const Argument& a : m_arguments) {
        usage += ' ' + a.syntax;
        width = std::max(width, int(a.name.size()));
    }
    for (const QCommandLineOption& o : m_options)
        width = std::max(width, int(optionSyntax(o).size()));

    QString text = usage + QStringLiteral("\n\n") + m_description + QStringLiteral("\n\nOptions :\n");
    for (const QCommandLineOption& o : m_options)
        text += column(optionSyntax(o), width, o.description());
    if (!m_arguments.isEmpty())
        text += QStringLiteral("\nArguments :\n");
    for (const Argument& a : m_arguments)
        text += column(a.name, width, a.description);
    return text;
}

QString CommandHelp::VersionText() const
{
    return m_program + QStringLiteral(" (Calvenor), version ") + QStringLiteral(CALVENOR_VERSION) + '\n';
}

std::optional<QString> CommandHelp::RequestedText() const
{
    if (m_parser.isSet(HelpName))
        return Text();
    if (m_parser.isSet(VersionName))
        return VersionText();
    return std::nullopt;
}
