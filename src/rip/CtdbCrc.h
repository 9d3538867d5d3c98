#pragma once
#include "platform/Crc32.h"
#include "rip/CtdbWindow.h"
#include <QList>
#include <array>
#include <cstdint>
#include <optional>

class DiscToc;
struct TrackRipResult;

// One track's CRC in the CUETools database: the CRC-32 of its part of the
// disc's audio that CtdbWindow covers, which leaves out the disc's first 10
// sectors and its last 10 plus the disc's length modulo 10 sectors; the parts
// join in disc order into the disc's CRC. A track does not know the disc's length while it is read, so it keeps
// its CRC for each remainder of that length by 10: only the last track's
// differ. Fed piece by piece as the track is written.
class CtdbCrc {
public:
    static constexpr int64_t SectorBytes = CtdbWindow::SectorBytes;
    static constexpr int StrideSectors = CtdbWindow::RowSectors;
    // Indexed by the disc's length in sectors modulo StrideSectors.
    using Values = std::array<uint32_t, StrideSectors>;

    // A track of trackBytes; the disc's first track leaves out its start,
    // its last track its end.
    CtdbCrc(int64_t trackBytes, bool firstTrack, bool lastTrack);

    void Add(const uint8_t* pcm, int64_t bytes);
    Values Value() const;

    // A rip's CRCs as the database lists them: each audio track's
    // ("trackcrcs"), in disc order, and the disc's ("crc32").
    struct Sums {
        QList<uint32_t> Tracks;
        uint32_t Disc = 0;
    };
    // None unless every audio track of the table was ripped to its end,
    // whatever sectors were lost.
    static std::optional<Sums> Of(const DiscToc& toc, const QList<TrackRipResult>& tracks);
    // The disc's CRC from its audio tracks' CRCs and lengths in sectors, in disc order.
    static uint32_t Join(const QList<uint32_t>& trackCrcs, const QList<int32_t>& trackSectors);

private:
    // Where the part ends for that remainder of the disc's length.
    int64_t until(int remainder) const;
    void count(const uint8_t* pcm, int64_t from, int64_t to);

    int64_t m_from;  // first byte counted
    int64_t m_bytes; // the track's length
    bool m_last;
    int64_t m_position = 0;
    int m_pending; // the next remainder whose end the read reaches, -1 once all are past
    Crc32 m_crc;
    Values m_values{};
};
