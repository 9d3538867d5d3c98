#include "platform/Windows1252.h"
#include <QStringDecoder>
#include <array>

namespace {
// Code points of bytes 0x80..0x9F; the rest of the set is ISO-8859-1.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr int TableStart = 0x80;
constexpr int TableEnd = 0xA0;

bool byteOf(char16_t c, char& byte)
{
    if (c < TableStart || (c >= TableEnd && c <= 0xFF)) {
        byte = char(c);
        return true;
    }
    for (int i = 0; i < int(HighControls.size()); ++i)
        if (HighControls[size_t(i)] == c) {
            byte = char(TableStart + i);
            return true;
        }
    return false;
}
} // namespace

QString Windows1252::Decode(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = uchar(b);
        text += u >= TableStart && u < TableEnd ? QChar(HighControls[size_t(u - TableStart)]) : QChar(u);
    }
    return text;
}

QString Windows1252::DecodeUtf8OrWindows1252(const QByteArray& bytes, bool* windows1252)
{
    // Stateless, so a cut-off sequence at the end is an error, not pending input.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    const bool fallback = utf8.hasError();
    if (windows1252)
        *windows1252 = fallback;
    return fallback ? Decode(bytes) : text;
}

bool Windows1252::Encode(const QString& text, QByteArray& bytes)
{
    bytes.clear();
    bytes.reserve(text.size());
    for (const QChar c : text) {
        char b = 0;
        if (!byteOf(c.unicode(), b))
            return false;
        bytes += b;
    }
    return true;
}
