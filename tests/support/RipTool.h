#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

// One run of the built calvenor-rip tool.
struct RipTool {
    int exitCode = -1;
    QString out;
    QString err;

    // whileRunning, when given, acts on the tool once it has started.
    static RipTool Run(const QStringList& arguments, const std::function<void(QProcess&)>& whileRunning = nullptr);
};
