#pragma once
#include "platform/IQSubchannel.h"
#include <QList>
#include <algorithm>

// A drive's Q sub-channel over a disc's layout: each sector's frame names the
// track and index it lies in, index 00 in a pre-gap. With evenDamaged, every
// even-numbered sector's frame fails its CRC; a shifted sector gives the
// frame of the sector after it; a failing drive reads nothing. Counts the
// reads.
class FakeQSubchannel : public IQSubchannel {
public:
    struct Track {
        int number = 0;
        int32_t pregap = -1; // INDEX 00, -1 when none
        int32_t start = 0;   // INDEX 01
        QList<int32_t> indexes = {}; // INDEX 02, 03, ...
    };

    std::optional<QPosition> Read(int32_t sector) override
    {
        ++reads;
        if (failing || (evenDamaged && sector % 2 == 0))
            return std::nullopt;
        return frameOf(shifted.contains(sector) ? sector + 1 : sector);
    }

    QList<Track> tracks;
    bool evenDamaged = false;
    QList<int32_t> shifted;
    bool failing = false;
    int reads = 0;

private:
    QPosition frameOf(int32_t sector) const
    {
        QPosition position{0, 1, sector};
        for (const Track& t : tracks)
            if (sector >= t.start || (t.pregap >= 0 && sector >= t.pregap))
                position = {t.number, sector >= t.start ? 1 + indexesUpTo(t, sector) : 0, sector};
        return position;
    }
    static int indexesUpTo(const Track& t, int32_t sector)
    {
        const auto passed = [&](int32_t at) { return at <= sector; };
        return static_cast<int>(std::count_if(t.indexes.cbegin(), t.indexes.cend(), passed));
    }
};
