#pragma once
#include "rip/IRipProgress.h"
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

class QTextStream;
class RipRun;
class TCDRIP;

// The whole run's progress on standard error, in one line:
// "Piste 2/3 – 45 % – 3,2× – temps restant 00:12". On a terminal the line is
// rewritten in place; into a file or a pipe, a plain line is written as each
// track begins and at each tenth of the run, so that a log keeps a few
// readable lines. At each chunk, a SIGINT or SIGTERM received calls stop.
class TerminalRunProgress : public IRipProgress {
public:
    struct Figures {
        int track = 0;        // the track being read, by its place in the run, from 1
        int tracks = 0;       // the run's tracks
        int percent = 0;      // of the whole run
        double speed = 0;     // audio read in times real time; 0: not known yet
        int secondsLeft = -1; // -1: not known yet
    };

    // sectors: the length of each track of the run, by its number.
    TerminalRunProgress(QTextStream& err, const QMap<int, int>& sectors, std::function<void()> stop = nullptr);
    // Ends a line left open, so that an error told next starts a line of its own.
    ~TerminalRunProgress() override;
    TerminalRunProgress(const TerminalRunProgress&) = delete;
    TerminalRunProgress& operator=(const TerminalRunProgress&) = delete;

    // The lengths of these tracks of the disc; a number the disc lacks counts none.
    static QMap<int, int> SectorsOf(const TCDRIP& ripper, const QList<int>& numbers);
    // Takes the percentage and the time left from the run, which counts its
    // encoding too; without it they come from the reads alone.
    void Follow(const RipRun& run) { m_run = &run; }
    // Milliseconds since the start; tests give their own clock.
    void SetClock(std::function<int64_t()> elapsedMs) { m_elapsedMs = std::move(elapsedMs); }

    void TrackBegins(int number, const QString& path) override;
    void ReadProgress(int percent) override;
    void Breathe() override;
    // After the run: its last figures, then the end of the line.
    void Finish();

    static QString Text(const Figures& figures);

private:
    Figures figures() const;
    int64_t sectorsDone() const;
    double speed(int64_t elapsedMs) const;
    // Writes the line if it tells something new.
    void show(bool force);
    void write(const QString& text);
    void endLine();

    QTextStream& m_err;
    QMap<int, int> m_sectors;
    std::function<void()> m_stop;
    std::function<int64_t()> m_elapsedMs;
    QElapsedTimer m_clock;
    const RipRun* m_run = nullptr;
    bool m_terminal;
    QList<int> m_begun;        // the tracks begun, in order
    int64_t m_earlierReads = 0; // sectors read before the current read
    int m_percent = 0;         // of the current read
    Figures m_shown;
    QString m_shownText;
    int64_t m_shownAt = 0;
    qsizetype m_openLength = 0; // of the line left open on a terminal
    bool m_lineOpen = false;
};
