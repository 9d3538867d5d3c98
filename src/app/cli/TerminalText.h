#pragma once
#include <QString>

// Text from outside (a CDDB server) made safe for a terminal: every control
// character, C0 and C1 alike, is written as \xHH, so an escape sequence
// cannot retitle or garble the terminal.
class TerminalText {
public:
    static QString Escaped(const QString& text);
};
