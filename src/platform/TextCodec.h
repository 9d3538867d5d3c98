#pragma once
#include <QByteArray>
#include <QString>

// Text that comes from outside without a declared character set.
class TextCodec {
public:
    static bool IsValidUtf8(const QByteArray& bytes);
    // UTF-8 when the bytes are valid UTF-8, else Windows-1252 (a superset of
    // ISO-8859-1 for printable text: œ, ’, € live in 0x80..0x9F).
    static QString DecodeUtf8OrWindows1252(const QByteArray& bytes);
    static QString DecodeWindows1252(const QByteArray& bytes);
};
