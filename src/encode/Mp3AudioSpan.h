#pragma once
#include <QByteArray>
#include <QIODevice>
#include <cstdint>

// Where the MP3 frames of a file lie: from the first real frame after the
// ID3v2 tags at its start, before an ID3v1 trailer and an ID3v2 tag appended
// at its end. A decoder fed a tag or junk takes bytes of it for frame headers,
// and then plays a VBR header frame it did not meet first. Empty when the file
// holds no frame followed by another.
class Mp3AudioSpan {
public:
    static Mp3AudioSpan Locate(QIODevice& in);
    // The whole size of the ID3v2 tag whose 10-byte header (magic "ID3") or
    // footer (magic "3DI") starts `bytes`; 0 when the bytes are not one.
    static int64_t Id3v2Size(const QByteArray& bytes, const char* magic);

    int64_t begin = 0;
    int64_t end = 0;
};
