#include "rip/PressingSearch.h"
#include "rip/AccurateRipPressings.h"
#include "rip/DiscTrackFiles.h"
#include <QtEndian>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
constexpr int64_t SampleBytes = 4;

// The feed of the disc's audio as samples.
DiscTrackFiles::Feed asSamples(const std::function<void(int64_t at, const uint32_t* samples, int64_t count)>& take)
{
    return [take, samples = std::vector<uint32_t>()](int64_t at, const uint8_t* pcm, int64_t bytes) mutable {
        samples.resize(static_cast<size_t>(bytes / SampleBytes));
        qFromLittleEndian<uint32_t>(pcm, static_cast<qsizetype>(samples.size()), samples.data());
        take(at / SampleBytes, samples.data(), static_cast<int64_t>(samples.size()));
    };
}
} // namespace

PressingSearch::PressingSearch(const DiscTrackFiles& files, const std::atomic<bool>* cancel)
    : m_files(files), m_cancel(cancel), m_matches(static_cast<size_t>(files.Tracks().size()))
{
}

void PressingSearch::AskAccurateRip(const QList<AccurateRipResponse>& responses, const AccurateRipDiscId& disc,
                                    const QList<int>& tracks)
{
    m_responses = responses;
    m_accurateRipDisc = disc;
    m_tracks = tracks;
}

void PressingSearch::Run()
{
    QList<AccurateRipPressings::Track> asked;
    const int last = static_cast<int>(m_files.Tracks().size()) - 1;
    for (const int k : m_tracks)
        asked << AccurateRipPressings::Track{m_accurateRipDisc->Slot(m_files.Tracks().at(k).Number),
                                             m_files.Start(k) / SampleBytes, m_files.Tracks().at(k).Bytes / SampleBytes,
                                             k == 0, k == last};
    std::unique_ptr<AccurateRipPressings> pressings;
    if (m_accurateRipDisc && !asked.isEmpty())
        pressings = std::make_unique<AccurateRipPressings>(m_responses, *m_accurateRipDisc, asked, Range);
    std::unique_ptr<CtdbShiftedCrc> crc;
    if (!m_entries.isEmpty())
        crc = std::make_unique<CtdbShiftedCrc>(m_files.Samples());
    const auto samples = asSamples([&](int64_t at, const uint32_t* x, int64_t count) {
        if (pressings)
            pressings->Add(at, x, count);
    });
    m_files.Read(
        [&](int64_t at, const uint8_t* pcm, int64_t bytes) {
            samples(at, pcm, bytes);
            if (crc)
                crc->Add(at, pcm, bytes);
        },
        m_cancel);
    if (crc)
        matchCtdb(crc->Crcs());
    if (!pressings)
        return;
    const auto [from, to] = pressings->Slide();
    if (from < to)
        readSecondPass(*pressings, from, to);
    for (int i = 0; i < m_tracks.size(); ++i)
        m_matches[static_cast<size_t>(m_tracks.at(i))] = pressings->Match(i);
}

// The tracks that hold the disc's samples from..to.
void PressingSearch::readSecondPass(AccurateRipPressings& pressings, int64_t from, int64_t to)
{
    int first = 0, last = static_cast<int>(m_files.Tracks().size()) - 1;
    while (first < last && m_files.Start(first + 1) <= from * SampleBytes)
        ++first;
    while (last > first && m_files.Start(last) >= to * SampleBytes)
        --last;
    m_files.Read(asSamples([&](int64_t at, const uint32_t* x, int64_t count) { pressings.AddWhole(at, x, count); }),
                 m_cancel, first, last);
}

void PressingSearch::matchCtdb(const std::vector<uint32_t>& crcs)
{
    for (size_t k = 0; k < crcs.size(); ++k) {
        const int shift = static_cast<int>(k) - Range;
        for (const CtdbDatabase::Entry& e : m_entries) {
            if (shift == 0 || e.Crc != crcs[k])
                continue;
            const bool better = m_disc.Result != CtdbVerdict::Exact || e.Confidence > m_disc.Confidence
                || (e.Confidence == m_disc.Confidence && std::abs(shift) < std::abs(m_disc.Shift));
            if (better) {
                m_disc.Result = CtdbVerdict::Exact;
                m_disc.Confidence = e.Confidence;
                m_disc.Shift = shift;
            }
        }
    }
}

AccurateRipVerdict PressingSearch::Track(int index) const
{
    return m_matches.at(static_cast<size_t>(index));
}
