#pragma once

class QTextStream;
class RipRun;

// The files a run of several tracks made, one path a line on standard
// output: its cue sheet and playlist, then the tracks whole under their
// names, last, so that `tail -n N` gives N tracks. A stopped track's part is
// told on standard error, not here.
class RunFileList {
public:
    static void Print(const RipRun& run, QTextStream& out);
};
