#pragma once
#include <QList>
#include <QTextStream>
#include <functional>

class RipReport;
class RipRun;
class TCDRIP;

// A rip run of calvenor-rip from its start to its exit code: SIGINT and
// SIGTERM stop it, files that exist are refused unless allowed, progress
// goes to the error stream, the files made to the output stream.
class TerminalRun {
public:
    struct Choices {
        QList<int> wanted;    // the tracks asked for, to tell those a stop left out
        bool overwrite = false;
        bool listFiles = true; // the files made, the cue sheet and the playlist on the output (RunFileList)
    };
    // report prints the verdicts and gives the exit code.
    TerminalRun(QTextStream& out, QTextStream& err, std::function<int(const RipReport&)> report)
        : m_out(out), m_err(err), m_report(std::move(report))
    {
    }
    // Raises CalvenorError for a refusal, a stop or tracks the disc could not give.
    int Execute(RipRun& run, const TCDRIP& ripper, const Choices& choices);

private:
    QTextStream& m_out;
    QTextStream& m_err;
    std::function<int(const RipReport&)> m_report;
};
