#pragma once
#include <QByteArray>
#include <QList>
#include <optional>

// An MPEG audio layer III frame reader of the tests' own, written from the
// frame header layout, to check what the encoder writes independently of it.
class Mp3Frames {
public:
    struct Header {
        int offset = 0;     // in the file
        int length = 0;     // bytes, padding included
        int mpegVersion = 1; // 1, 2, or 25 for 2.5
        int bitrateKbps = 0;
        int sampleRate = 0;
        int samples = 0;    // per channel
        int mode = 0;       // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
        bool crc = false;
        bool privateBit = false;
        bool copyright = false;
        bool original = false;
    };
    struct VbrTag {
        QByteArray id; // "Xing" or "Info"
        int frames = -1; // -1 when the tag does not carry the count
    };

    // The header at offset, or nothing when no valid layer III header is there.
    static std::optional<Header> HeaderAt(const QByteArray& file, int offset);
    // Every frame from the start of the file to the first byte that does not
    // start one (an ID3v1 trailer, or the end).
    static QList<Header> Walk(const QByteArray& file);
    // The "Xing"/"Info" tag inside a frame, if it holds one.
    static std::optional<VbrTag> TagIn(const QByteArray& file, const Header& frame);
};
