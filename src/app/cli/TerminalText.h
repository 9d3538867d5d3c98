#pragma once
#include <QString>

// Text from outside (a CDDB server) made safe for a terminal: every control
// character, C0 and C1 alike, is written as \xHH, so an escape sequence
// cannot retitle or garble the terminal.
class TerminalText {
public:
    static QString Escaped(const QString& text);
    // A message that may quote such text: its line breaks are kept, every
    // other control character is escaped.
    static QString EscapedMessage(const QString& text);
};
