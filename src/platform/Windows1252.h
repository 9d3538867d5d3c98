#pragma once
#include <QByteArray>
#include <QString>

// The Windows-1252 character set, the usual 8-bit one of playlists made on
// Windows. The five bytes it leaves undefined stand for the C1 controls of
// the same number, so every byte string decodes and encodes back unchanged.
class Windows1252 {
public:
    static QString Decode(const QByteArray& bytes);
    // UTF-8 when the bytes are valid UTF-8 (a sequence cut short at the end is
    // not), else Windows-1252; `windows1252` tells which.
    static QString DecodeUtf8OrWindows1252(const QByteArray& bytes, bool* windows1252 = nullptr);
    // False when a character has no byte in the set; `bytes` is then unusable.
    static bool Encode(const QString& text, QByteArray& bytes);
};
