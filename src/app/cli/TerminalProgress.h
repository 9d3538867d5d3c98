#pragma once
#include "rip/IRipProgress.h"
#include <QTextStream>

// A conversion's progress on the terminal: "Avancement : N %" rewritten on
// one line of standard error.
class TerminalProgress : public IRipProgress {
public:
    explicit TerminalProgress(QTextStream& err) : m_err(err) {}

    void ReadProgress(int percent) override;

private:
    QTextStream& m_err;
    int m_lastPercent = -1;
};
