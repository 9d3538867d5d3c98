#pragma once

class QTextStream;

// What a text stream writes to, as a command-line tool needs to know it.
class Console {
public:
    // The stream writes to a terminal: a line may be rewritten in place there,
    // where a file or a pipe would keep every version of it.
    static bool IsTerminal(const QTextStream& stream);
};
