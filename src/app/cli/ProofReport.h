#pragma once
#include <QTextStream>

class RipReport;

// How calvenor-rip tells a rip's proof: the damage and verdict lines on
// standard output, why a database was not asked on standard error, and the
// exit code they make.
class ProofReport {
public:
    static constexpr int LostSectorsExit = 3;
    static constexpr int DiffersExit = 4;

    // 3 when sectors could not be read and no repair mended them, else 4
    // when the rip differs from a disc a database knows, else 0.
    static int Print(const RipReport& report, QTextStream& out, QTextStream& err);
};
