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
    if (!m_exitCodes.isEmpty())
        text += QStringLiteral("\nCodes de sortie :\n");
    for (const Argument& c : m_exitCodes)
        text += column(c.name, width, c.description);
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
        return QStringLiteral("Option inconnue : %1.").arg(dashed(m_parser.unknownOptionNames().first()));
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

std::optional<QString> CommandHelp::RequestedText() const
{
    if (m_parser.isSet(HelpName))
        return Text();
    if (m_parser.isSet(VersionName))
        return VersionText();
    return std::nullopt;
}
