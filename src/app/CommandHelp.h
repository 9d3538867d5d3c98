#pragma once
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Defines a command's options on its parser and writes its help and version
// texts in French: Qt's own help text is English. The build makes the manual
// pages from this text, so its layout is kept simple: a usage line, the
// description, then "Options :", "Arguments :" and "Codes de sortie :" with
// one entry a line.
class CommandHelp {
public:
    CommandHelp(QCommandLineParser& parser, const QString& program);

    // -h/--help and --version.
    void addStandardOptions();
    // --drive X=CHEMIN, read by DriveMap before the parser sees the arguments.
    void addDriveOption();
    void setDescription(const QString& description);
    void addOptions(const QList<QCommandLineOption>& options);
    void addPositionalArgument(const QString& name, const QString& description, const QString& syntax = {});
    // What each exit code of the program means.
    void addExitCode(int code, const QString& meaning);

    QString Text() const;
    QString VersionText() const;
    // After parsing: the help or the version text when one was asked for.
    std::optional<QString> RequestedText() const;
    // After a failed parse of these arguments (the program's name left out):
    // what is wrong, in one French line, as Qt's own text is English.
    QString RefusalText(const QStringList& arguments) const;

private:
    static QString optionSyntax(const QCommandLineOption& option);
    // "-h" or "--help".
    static QString dashed(const QString& name);
    const QCommandLineOption* option(const QString& name) const;

    struct Argument {
        QString name;
        QString description;
        QString syntax;
    };
    QCommandLineParser& m_parser;
    QString m_program;
    QString m_description;
    QList<QCommandLineOption> m_options;
    QList<Argument> m_arguments;
    QList<Argument> m_exitCodes;
};
