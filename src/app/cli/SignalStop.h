#pragma once
#include <QList>
#include <QString>

class RipReport;

// What calvenor-rip says after SIGINT or SIGTERM stopped a rip.
class SignalStop {
public:
    // Raises CalvenorError naming the tracks cut short and those of wanted
    // not begun; nothing when no signal came or every file is whole.
    static void ThrowIfInterrupted(const RipReport& report, const QList<int>& wanted);
    // The text ThrowIfInterrupted raises; empty when it raises nothing.
    static QString InterruptionText(const RipReport& report, const QList<int>& wanted);
    // After a signal that came once every track was read: raises
    // CalvenorError when it gave up the database request (every file is
    // whole and tagged, but unproven).
    static void ThrowIfProofGivenUp(bool givenUp);
};
