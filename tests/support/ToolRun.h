#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Runs a reference tool of the system (flac, sox, mpg123...) with input on
// its standard input; its standard output, or nothing when it fails or is missing.
class ToolRun {
public:
    static std::optional<QByteArray> Output(const QString& program, const QStringList& arguments,
                                            const QByteArray& input = {});
};
