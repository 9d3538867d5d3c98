#pragma once
#include "rip/IRipProgress.h"
#include <QString>
#include <functional>
#include <mutex>

class RipRun;

// Carries a rip run on a worker thread: reading, encoding, tagging and the
// playlist happen there, while the calling thread (the window's) only shows
// progress, taken at its own pace, and goes on with its events meanwhile.
class BackgroundRipRun : private IRipProgress {
public:
    struct Progress {
        int trackPercent = 0; // the track being read
        int workDone = 0;     // RipRun::WorkDone
        int track = 0;        // number of the track being read
        QString target;       // target path of the track being read
    };

    explicit BackgroundRipRun(RipRun& run) : m_run(run) {}
    BackgroundRipRun(const BackgroundRipRun&) = delete;
    BackgroundRipRun& operator=(const BackgroundRipRun&) = delete;

    // Runs RipRun::Execute and returns when it ends; rethrows its error.
    // show runs on the calling thread a few times a second and at the end.
    void Execute(const std::function<void(const Progress&)>& show);

private:
    // On the worker thread: only the track's number and file are kept; the percentages
    // are read from the run.
    void TrackBegins(int number, const QString& path) override;
    void ReadProgress(int) override {}

    RipRun& m_run;
    std::mutex m_mutex;
    int m_track = 0;
    QString m_target;
};
