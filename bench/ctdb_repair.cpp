// The repair of a disc by the CUETools database's parity: a disc of noise
// (60 minutes unless told), the database's syndromes made from it, then a
// rip whose sample k is the disc's k + OFFSET, with a burst of as many sectors as npar can
// mend. Times the rip's syndromes, the search of the offset with the columns'
// decoding, and the corrections, and checks the mended window's CRC-32.
// Then times the whole search against a database of another disc.
// Run by bench/ctdb-repair; never part of the tests.
#include "platform/Crc32.h"
#include "rip/CtdbParity.h"
#include "rip/CtdbRepair.h"
#include "rip/CtdbSyndromes.h"
#include "rip/CtdbWindow.h"
#include "bench_support.h"
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
using Pcm = std::vector<uint8_t>;
constexpr int Stride = CtdbWindow::Stride;

using bench::FillNoise;
using bench::Timed;

CtdbParity parityOf(const CtdbSyndromes& disc)
{
    const std::vector<uint8_t> rows = disc.SyndromeRows();
    return *CtdbParity::FromSyndromeRows(rows.data(), static_cast<int64_t>(rows.size()), disc.Npar());
}

uint32_t windowCrc(const uint8_t* rip, const CtdbWindow& window, int offset)
{
    Crc32 crc;
    crc.Add(rip + window.FirstByte(offset), window.EndByte(offset) - window.FirstByte(offset));
    return crc.Value();
}
} // namespace

int main(int argc, char** argv)
{
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 60;
    const int npar = argc > 2 ? std::atoi(argv[2]) : 8;
    const int offset = argc > 3 ? std::atoi(argv[3]) : 667;
    const int threads = argc > 4 ? std::atoi(argv[4]) : 0;
    const int64_t samples = int64_t{minutes} * 60 * 75 * 588;
    const int margin = CtdbWindow::MaxOffset;
    std::printf("%d minutes, npar %d, offset %d, threads %d\n", minutes, npar, offset, threads);

    Pcm noise(4 * (samples + 2 * margin));
    FillNoise(noise.data(), static_cast<int64_t>(noise.size()), 0x9E3779B97F4A7C15u);
    const uint8_t* disc = noise.data() + 4 * margin;
    uint8_t* rip = noise.data() + 4 * (margin + offset); // sample k is the disc's k + offset
    const CtdbWindow window(samples);

    CtdbSyndromes database(samples, npar, threads);
    Timed("database syndromes (not repair)", [&] { database.Add(disc, 4 * samples); });
    const CtdbParity parity = parityOf(database);
    const uint32_t crc = windowCrc(rip, window, offset);

    const int sectors = 5 * npar;
    FillNoise(rip + 4 * 1000 * 588, sectors * 2352, 7);

    CtdbSyndromes ripSyndromes(samples, npar, threads);
    CtdbRepair::Plan plan;
    Timed("rip syndromes", [&] { ripSyndromes.Add(rip, 4 * samples); });
    Timed("offset search and decoding", [&] { plan = CtdbRepair::Find(ripSyndromes, parity, threads); });
    Timed("corrections", [&] { CtdbRepair::Apply(plan.Corrections, rip, 0, 4 * samples); });
    const bool mended = windowCrc(rip, window, offset) == crc;
    std::printf("offset %d, %lld samples corrected (burst of %d sectors), CRC %s\n", plan.Offset,
                static_cast<long long>(plan.Samples()), sectors, mended ? "right" : "WRONG");

    std::vector<uint8_t> otherRows(2 * int64_t{Stride} * npar);
    FillNoise(otherRows.data(), static_cast<int64_t>(otherRows.size()), 11);
    const CtdbParity other = *CtdbParity::FromSyndromeRows(otherRows.data(), static_cast<int64_t>(otherRows.size()), npar);
    CtdbRepair::Plan none;
    Timed("search against another disc", [&] { none = CtdbRepair::Find(ripSyndromes, other, threads); });
    const bool refused = none.Kind == CtdbRepair::Outcome::NoOffset;
    std::printf("another disc: %s\n", refused ? "no offset" : "WRONGLY MATCHED");
    return mended && refused && plan.Offset == offset ? 0 : 1;
}
