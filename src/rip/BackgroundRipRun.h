#pragma once
#include <QString>
#include <functional>
#include <mutex>

class RipRun;
class TCDRIP;

// Carries a rip run on a worker thread: reading, encoding, tagging and the
// playlist happen there, while the window's thread only shows progress,
// taken at its own pace. The ripper's OnProgress and ProcessMessages belong
// to the window's thread: they are held back for the time of the run.
class BackgroundRipRun {
public:
    struct Progress {
        int trackPercent = 0; // the track being read
        int workDone = 0;     // RipRun::WorkDone
        QString target;       // target path of the track being read
    };

    BackgroundRipRun(RipRun& run, TCDRIP& ripper);
    BackgroundRipRun(const BackgroundRipRun&) = delete;
    BackgroundRipRun& operator=(const BackgroundRipRun&) = delete;

    // Runs RipRun::Execute and returns when it ends; rethrows its error.
    // show runs on the calling thread a few times a second and at the end.
    void Execute(const std::function<void(const Progress&)>& show);

private:
    RipRun& m_run;
    TCDRIP& m_ripper;
    std::mutex m_mutex;
    QString m_target;
};
