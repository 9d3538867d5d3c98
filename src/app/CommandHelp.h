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
// description, then the options under "Options :" or the titles of their
// sections, "Arguments :", "Codes de sortie :" and "Exemples :". Each title is a line ending in
// " :" followed by indented entries; an entry's text goes on in lines
// indented further. Lines are cut to fit 80 columns.
class CommandHelp {
public:
    CommandHelp(QCommandLineParser& parser, const QString& program);

    // -h/--help and --version.
    void addStandardOptions();
    // --drive X=CHEMIN, read by DriveMap before the parser sees the arguments.
    void addDriveOption();
    void setDescription(const QString& description);
    // Options added from now on are listed under this title.
    void addSection(const QString& title);
    void addOptions(const QList<QCommandLineOption>& options);
    void addPositionalArgument(const QString& name, const QString& description, const QString& syntax = {});
    void addExample(const QString& command, const QString& description);
    // What each exit code of the program means.
    void addExitCode(int code, const QString& meaning);

    QString Text() const;
    QString VersionText() const;
    // After parsing: the help or the version text when one was asked for.
    std::optional<QString> RequestedText() const;
    // After a failed parse of these arguments (the program's name left out):
    // what is wrong, in one French line, as Qt's own text is English; a
    // mistyped option gets the one it most likely meant.
    QString RefusalText(const QStringList& arguments) const;

private:
    static QString optionSyntax(const QCommandLineOption& option);
    // "-h" or "--help".
    static QString dashed(const QString& name);
    const QCommandLineOption* option(const QString& name) const;
    QString unknownOptionText(const QString& name) const;
    // Width of the column of option syntaxes and argument names.
    int columnWidth() const;

    struct Argument {
        QString name;
        QString description;
        QString syntax;
    };
    struct Section {
        QString title;
        QList<QCommandLineOption> options;
    };
    struct Example {
        QString command;
        QString description;
    };
    QCommandLineParser& m_parser;
    QString m_program;
    QString m_description;
    QList<QCommandLineOption> m_options;
    QList<Section> m_sections;
    QList<Argument> m_arguments;
    QList<Example> m_examples;
    QList<Argument> m_exitCodes;
};
