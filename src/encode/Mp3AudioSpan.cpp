#include "encode/Mp3AudioSpan.h"
#include "encode/Mp3FrameHeader.h"

namespace {
constexpr int Id3v2HeaderSize = 10;
constexpr int Id3v1Size = 128;
constexpr uint8_t FooterFlag = 0x10;
// How far past the tags the first frame is looked for, as decoders do.
constexpr int SearchBytes = 1024 * 1024;
// More than the longest frame with a known length.
constexpr int MaxFrameBytes = 4096;

QByteArray readAt(QIODevice& in, int64_t at, int size)
{
    return in.seek(at) ? in.read(size) : QByteArray();
}
// Where the stream starts: the first header whose frame is followed by a
// header of the same stream. A lone frame is not taken: like mpg123, nothing
// confirms it is one (nor, in layer III, that its data is all there). Junk in front, and sync words
// that happen to lie in it, are passed over; `end` when there is none. A
// free-format stream, whose frames do not say their length, is taken only
// where the tags end.
int64_t firstFrame(QIODevice& in, int64_t begin, int64_t end)
{
    const QByteArray window = readAt(in, begin, int(qMin<int64_t>(end - begin, SearchBytes + MaxFrameBytes)));
    const auto* b = reinterpret_cast<const uint8_t*>(window.constData());
    const int size = int(window.size());
    for (int at = 0; at + 4 <= size && at < SearchBytes; ++at) {
        const auto header = b[at] == 0xFF ? Mp3FrameHeader::Read(b + at) : std::nullopt;
        if (header && header->FreeFormat() && at == 0)
            return begin;
        if (!header || header->FreeFormat())
            continue;
        const int next = at + header->Length();
        const auto following = next + 4 <= size ? Mp3FrameHeader::Read(b + next) : std::nullopt;
        if (following && following->SameStream(*header))
            return begin + at;
    }
    return end;
}
} // namespace

int64_t Mp3AudioSpan::Id3v2Size(const QByteArray& bytes, const char* magic)
{
    if (bytes.size() < Id3v2HeaderSize || !bytes.startsWith(magic))
        return 0;
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (b[3] == 0xFF || b[4] == 0xFF || ((b[6] | b[7] | b[8] | b[9]) & 0x80))
        return 0;
    // The size is "synchsafe" (7 bits a byte) and counts neither the header
    // nor the footer; unsynchronisation is inside it.
    const int64_t body = int64_t(b[6]) << 21 | int64_t(b[7]) << 14 | int64_t(b[8]) << 7 | int64_t(b[9]);
    const bool footer = b[3] >= 4 && (b[5] & FooterFlag);
    return Id3v2HeaderSize + body + (footer ? Id3v2HeaderSize : 0);
}

Mp3AudioSpan Mp3AudioSpan::Locate(QIODevice& in)
{
    Mp3AudioSpan span;
    span.end = in.size();
    // Several tags may follow one another.
    while (const int64_t tag = Id3v2Size(readAt(in, span.begin, Id3v2HeaderSize), "ID3"))
        span.begin += tag;
    if (span.end - span.begin >= Id3v1Size && readAt(in, span.end - Id3v1Size, 3) == "TAG")
        span.end -= Id3v1Size;
    if (span.end - span.begin >= Id3v2HeaderSize) {
        // An appended tag always ends with a footer.
        const int64_t tag = Id3v2Size(readAt(in, span.end - Id3v2HeaderSize, Id3v2HeaderSize), "3DI");
        if (tag > 0 && tag <= span.end - span.begin)
            span.end -= tag;
    }
    span.begin = span.begin < span.end ? firstFrame(in, span.begin, span.end) : span.end;
    return span;
}
