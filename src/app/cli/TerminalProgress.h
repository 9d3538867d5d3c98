#pragma once
#include "rip/IRipProgress.h"
#include <QTextStream>
#include <functional>

// Progress on the terminal: "Avancement : N %" rewritten on one line of
// standard error, and, in a run of several tracks, each file as its track
// begins. At each chunk, a SIGINT or SIGTERM received calls stop.
class TerminalProgress : public IRipProgress {
public:
    explicit TerminalProgress(QTextStream& err, std::function<void()> stop = nullptr, bool namesTracks = false);

    void TrackBegins(int number, const QString& path) override;
    void ReadProgress(int percent) override;
    void Breathe() override;

private:
    QTextStream& m_err;
    std::function<void()> m_stop;
    bool m_namesTracks;
    int m_lastPercent = -1;
};
