#pragma once
#include <QString>

// The codes a disc carries for its recordings and itself, in the one form
// every reader expects, whatever a cue sheet or a drive wrote.
class RecordingCode {
public:
    // "CCXXXYYNNNNN": country, registrant, year and designation, twelve
    // characters without hyphens, spaces or quotes; empty when the text is
    // no ISRC.
    static QString Isrc(const QString& text);
    // Thirteen digits; empty when the text is none, or is the thirteen
    // zeros a drive gives for a disc without one.
    static QString Mcn(const QString& text);
};
