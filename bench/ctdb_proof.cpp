// The proof of a ripped disc from its files: a disc of noise (60 minutes of
// 5-minute tracks unless told) written as WAV or FLAC files, then
// - the search of another pressing SHIFT samples away, against AccurateRip v1
//   sums and a CUETools CRC, then against v2 sums alone (summed whole where
//   the v1 sums leave them possible);
// - the repair of a burst of 40 sectors in one file from the CUETools
//   database's parity (npar 8) served in memory: the files read for the
//   syndromes, the rows fetched in steps, the corrections checked against the
//   entry's CRC and the file written anew.
// The database's sums and parity come from the disc's audio in memory.
// Run by bench/ctdb-proof; never part of the tests.
#include "disc/AccurateRipDiscId.h"
#include "disc/DiscToc.h"
#include "encode/RipOutput.h"
#include "encode/WavHeader.h"
#include "platform/Crc32.h"
#include "platform/FlacEncoder.h"
#include "platform/IHttpClient.h"
#include "rip/AccurateRipChecksums.h"
#include "rip/CtdbDiscRepair.h"
#include "rip/CtdbSyndromes.h"
#include "rip/CtdbWindow.h"
#include "rip/DiscTrackFiles.h"
#include "rip/PressingSearch.h"
#include "rip/TrackRipResult.h"
#include "rip/TrackSums.h"
#include "bench_support.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <vector>

namespace {
constexpr int64_t SectorBytes = 2352;
constexpr int TrackSectors = 5 * 60 * 75;
constexpr int BurstSectors = 40;
constexpr int Npar = 8;

// The parity file, whole or by its first bytes.
class ParityInMemory : public IHttpClient {
public:
    explicit ParityInMemory(QByteArray rows) : m_rows(std::move(rows)) {}
    QByteArray Get(const QString&, const HttpSettings&) override { return m_rows; }
    HttpPart GetFirstBytes(const QString&, qsizetype bytes, const HttpSettings&) override
    {
        return HttpPart{m_rows.left(bytes), false};
    }

private:
    QByteArray m_rows;
};

void writeTrack(const QString& path, const uint8_t* pcm, int64_t bytes, bool flac)
{
    RipOutput out(path);
    if (flac) {
        FlacEncoder encoder(out, 2, 44100, FlacEncoder::DefaultLevel, static_cast<uint64_t>(bytes / 4));
        encoder.Encode(pcm, bytes / 4);
        encoder.Finish();
    } else {
        const QByteArray header = WavHeader::Make(2, 44100, static_cast<uint32_t>(bytes));
        out.Write(reinterpret_cast<const uint8_t*>(header.constData()), header.size());
        out.Write(pcm, bytes);
    }
    out.Commit();
}

DiscToc tocOf(int tracks)
{
    QList<TocTrack> list;
    for (int k = 0; k < tracks; ++k) {
        TocTrack t;
        t.number = k + 1;
        t.start = k * TrackSectors;
        t.length = TrackSectors;
        list << t;
    }
    return DiscToc(list, tracks * TrackSectors);
}

// The AccurateRip response of a pressing: each track's v1 or v2 sum.
AccurateRipResponse responseOf(const AccurateRipDiscId& disc, const std::vector<uint8_t>& pressing, int tracks, bool v2)
{
    AccurateRipResponse r;
    r.TrackCount = disc.AudioTrackCount();
    r.OffsetsAdded = disc.OffsetsAdded();
    r.OffsetsMultiplied = disc.OffsetsMultiplied();
    r.CddbId = disc.CddbId();
    for (int k = 0; k < tracks; ++k) {
        AccurateRipChecksums sums(k == 0, k == tracks - 1);
        sums.Add(pressing.data() + k * TrackSectors * SectorBytes, TrackSectors * SectorBytes);
        r.Tracks << AccurateRipResponse::Track{200, v2 ? sums.V2() : sums.V1(), 0};
    }
    return r;
}

uint32_t windowCrc(const std::vector<uint8_t>& audio, int offset)
{
    const CtdbWindow window(static_cast<int64_t>(audio.size()) / 4);
    Crc32 crc;
    crc.Add(audio.data() + window.FirstByte(offset), window.EndByte(offset) - window.FirstByte(offset));
    return crc.Value();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 60;
    const int shift = argc > 2 ? std::atoi(argv[2]) : 667;
    const bool flac = argc > 3 && QByteArray(argv[3]) == "flac";
    const int tracks = minutes / 5;
    const QTemporaryDir scratch;
    const QString folder = qEnvironmentVariableIsSet("BENCH_DIR") ? qEnvironmentVariable("BENCH_DIR") : scratch.path();
    QDir().mkpath(folder);
    std::printf("%d minutes in %d tracks, %s files in %s, pressing %+d samples away\n", minutes, tracks,
                flac ? "FLAC" : "WAV", qPrintable(folder), shift);

    const int64_t discBytes = int64_t{tracks} * TrackSectors * SectorBytes;
    std::vector<uint8_t> disc(static_cast<size_t>(discBytes));
    bench::FillNoise(disc.data(), discBytes, 0x9E3779B97F4A7C15u);
    QList<DiscTrackFiles::Track> files;
    bench::Timed("writing the files (not proof)", [&] {
        for (int k = 0; k < tracks; ++k) {
            const QString path = QStringLiteral("%1/%2.%3").arg(folder).arg(k + 1, 2, 10, QLatin1Char('0')).arg(flac ? "flac" : "wav");
            writeTrack(path, disc.data() + k * TrackSectors * SectorBytes, TrackSectors * SectorBytes, flac);
            files << DiscTrackFiles::Track{k + 1, path, TrackSectors * SectorBytes};
        }
    });
    const DiscTrackFiles rip(files);
    const DiscToc toc = tocOf(tracks);
    const AccurateRipDiscId id(toc);

    // The other pressing: its sample k is the rip's k + shift.
    std::vector<uint8_t> pressing(disc.size(), 0);
    std::copy(disc.begin() + std::max(0, 4 * shift), disc.end() + std::min(0, 4 * shift),
              pressing.begin() + std::max(0, -4 * shift));
    CtdbDatabase::Entry shifted;
    shifted.Crc = windowCrc(pressing, 0);
    shifted.Confidence = 4;
    QList<int> all;
    for (int k = 0; k < tracks; ++k)
        all << k;
    bool found = true;
    for (const bool v2 : {false, true}) {
        PressingSearch search(rip);
        search.AskAccurateRip({responseOf(id, pressing, tracks, v2)}, id, all);
        search.AskCtdb({shifted});
        bench::Timed(v2 ? "pressing search, v2 sums alone" : "pressing search, v1 sums and CTDB", [&] { search.Run(); });
        for (int k = 0; k < tracks; ++k)
            found = found && search.Track(k).Shift == shift && search.Track(k).Version == (v2 ? 2 : 1);
        found = found && search.Disc().Shift == shift;
    }
    std::printf("pressing found at %+d in every track and the disc: %s\n", shift, found ? "yes" : "NO");

    CtdbSyndromes database(static_cast<int64_t>(disc.size()) / 4, 16);
    database.Add(disc.data(), discBytes);
    const std::vector<uint8_t> rows = database.SyndromeRows();
    CtdbDatabase::Entry entry;
    entry.Crc = windowCrc(disc, 0);
    entry.Confidence = 4;
    entry.Npar = Npar;
    entry.Stride = CtdbWindow::Stride / 2;
    entry.ParityAddress = QStringLiteral("http://parity.test/1");
    entry.Syndrome = QByteArray(reinterpret_cast<const char*>(rows.data()), 2);
    for (int i = 1; i < Npar; ++i)
        entry.Syndrome += QByteArray(reinterpret_cast<const char*>(rows.data() + i * CtdbWindow::RowBytes), 2);
    const int damaged = tracks / 2;
    std::vector<uint8_t> burst(BurstSectors * SectorBytes);
    bench::FillNoise(burst.data(), static_cast<int64_t>(burst.size()), 7);
    std::vector<uint8_t> wrong(disc.begin() + damaged * TrackSectors * SectorBytes,
                               disc.begin() + (damaged + 1) * TrackSectors * SectorBytes);
    for (size_t b = 0; b < burst.size(); ++b)
        wrong[1000 * SectorBytes + b] ^= burst[b] | 1;
    writeTrack(files.at(damaged).Path, wrong.data(), TrackSectors * SectorBytes, flac);

    ParityInMemory http(QByteArray(reinterpret_cast<const char*>(rows.data()), static_cast<qsizetype>(rows.size())));
    CtdbDiscRepair repair(http, rip, Npar);
    CtdbDiscRepair::Result result;
    uint32_t written = 0;
    bench::Timed("repair of a 40-sector burst, npar 8", [&] {
        result = repair.Run(entry, [&](int, TrackSums& sums) {
            TrackRipResult t;
            sums.Into(t);
            written = t.Crc;
        });
    });
    Crc32 right;
    right.Add(disc.data() + damaged * TrackSectors * SectorBytes, TrackSectors * SectorBytes);
    const bool mended = result.Kind == CtdbDiscRepair::Outcome::Repaired && written == right.Value();
    std::printf("%lld samples corrected with %d rows, the file %s\n", static_cast<long long>(result.Samples),
                result.Npar, mended ? "mended" : "NOT MENDED");
    return found && mended ? 0 : 1;
}
