#include "platform/TextCodec.h"
#include <QStringDecoder>

namespace {
// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their C1 code.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr unsigned char FirstHigh = 0x80;
constexpr unsigned char LastHigh = 0x9F;
} // namespace

bool TextCodec::IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString TextCodec::DecodeWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += (b >= FirstHigh && b <= LastHigh) ? QChar(HighControls[b - FirstHigh]) : QChar(b);
    }
    return text;
}

QString TextCodec::DecodeUtf8OrWindows1252(const QByteArray& bytes)
{
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeWindows1252(bytes);
}
