#pragma once
#include <functional>

class ITrackTable;
class RipReport;
class TCDRIP;
class TMP3Info;

// What the ripping window uses of the window that starts a rip.
class IRipHost {
public:
    virtual ~IRipHost() = default;
    virtual ITrackTable& Rows() = 0;
    // The ripper of the disc now read; it changes with the disc.
    virtual TCDRIP& Ripper() = 0;
    virtual TMP3Info& TagWriter() = 0;
    // How many tracks the run has finished, for the total progress.
    virtual void SetRippedCount(std::function<int()> count) = 0;
    // Progress of a run carried by a worker thread: the track being read, and
    // the work done (100 per ticked row, reading and encoding).
    virtual void ShowRipProgress(int trackPercent, int workDone) = 0;
    // The total progress shown, 0 before any track made progress.
    virtual int TotalProgressValue() const = 0;
    virtual void ResetProgress() = 0;
    // What the run made of each track, for the track list.
    virtual void ShowResults(const RipReport& report) = 0;
};
