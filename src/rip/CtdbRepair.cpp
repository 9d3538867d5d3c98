#include "rip/CtdbRepair.h"
#include "rip/CtdbParity.h"
#include "rip/CtdbSyndromes.h"
#include "rip/Gf65536.h"
#include "rip/ParallelRanges.h"
#include "rip/ReedSolomon16.h"
#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>

namespace {
using Errors = std::optional<std::vector<ReedSolomon16::Error>>;

// The wrong words of the database's column as the rip holds it at an
// offset: the syndromes of the difference are the difference of the
// syndromes.
Errors columnErrors(const CtdbSyndromes& rip, const CtdbParity& database, int column, int offset)
{
    uint16_t syndromes[ReedSolomon16::MaxNpar];
    rip.At(column, offset, syndromes);
    const uint16_t* expected = database.Column(column);
    for (int i = 0; i < database.Npar(); ++i)
        syndromes[i] ^= expected[i];
    return ReedSolomon16::Errors(syndromes, database.Npar(), rip.Window().Rows());
}

// At a wrong offset a column's syndromes are as good as random; those of a
// few errors are rare among random ones (about 1 in 800 for npar 8 on a
// long disc, 1 in 12 for npar 4). Columns spread over the row all have to
// fit but a few, so that a damaged one does not hide the right offset.
constexpr int SampleColumns = 16;
constexpr int SampleColumnsAllowedToFail = 4;

bool fits(const CtdbSyndromes& rip, const CtdbParity& database, int offset)
{
    int failed = 0;
    for (int k = 0; k < SampleColumns && failed <= SampleColumnsAllowedToFail; ++k) {
        const int column = k * (CtdbWindow::Stride / SampleColumns + 1);
        if (!columnErrors(rip, database, column, offset))
            ++failed;
    }
    return failed <= SampleColumnsAllowedToFail;
}

// Nearest first: 0, 1, −1, 2, −2 …
std::optional<int> findOffset(const CtdbSyndromes& rip, const CtdbParity& database)
{
    for (int step = 0; step <= 2 * CtdbWindow::MaxOffset; ++step) {
        const int offset = step % 2 ? (step + 1) / 2 : -step / 2;
        if (fits(rip, database, offset))
            return offset;
    }
    return std::nullopt;
}

// Every column's corrections, or none when one column cannot be mended.
std::optional<std::vector<CtdbRepair::Correction>> corrections(const CtdbSyndromes& rip, const CtdbParity& database,
                                                               int offset, int threads)
{
    std::atomic<bool> failed{false};
    std::mutex joining;
    std::vector<CtdbRepair::Correction> all;
    ParallelRanges::Run(CtdbWindow::Stride, threads, [&](int64_t first, int64_t end) {
        std::vector<CtdbRepair::Correction> found;
        for (int column = static_cast<int>(first); column < end && !failed; ++column) {
            const Errors errors = columnErrors(rip, database, column, offset);
            if (!errors)
                failed = true;
            for (const ReedSolomon16::Error& e : errors.value_or(std::vector<ReedSolomon16::Error>{}))
                found.push_back({rip.Window().Word(column, e.Index, offset), e.Mask});
        }
        const std::lock_guard<std::mutex> lock(joining);
        all.insert(all.end(), found.begin(), found.end());
    });
    if (failed)
        return std::nullopt;
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.Word < b.Word; });
    return all;
}
} // namespace

int64_t CtdbRepair::Plan::Samples() const
{
    int64_t samples = 0;
    for (size_t k = 0; k < Corrections.size(); ++k)
        if (k == 0 || Corrections[k].Word / 2 != Corrections[k - 1].Word / 2)
            ++samples;
    return samples;
}

CtdbRepair::Plan CtdbRepair::Find(const CtdbSyndromes& rip, const CtdbParity& database, int threads)
{
    Plan plan;
    const int rows = rip.Window().Rows();
    if (!rip.Complete() || rip.Npar() < database.Npar() || rows == 0 || rows + database.Npar() > Gf65536::Order)
        return plan;
    const std::optional<int> offset = findOffset(rip, database);
    if (!offset)
        return plan;
    plan.Offset = *offset;
    std::optional<std::vector<Correction>> found = corrections(rip, database, *offset, threads);
    if (!found) {
        plan.Kind = Outcome::TooDamaged;
        return plan;
    }
    plan.Kind = found->empty() ? Outcome::Clean : Outcome::Repairable;
    plan.Corrections = std::move(*found);
    return plan;
}

void CtdbRepair::Apply(const std::vector<Correction>& corrections, uint8_t* pcm, int64_t from, int64_t bytes)
{
    for (const Correction& c : corrections) {
        const uint8_t masks[2] = {static_cast<uint8_t>(c.Mask & 0xFF), static_cast<uint8_t>(c.Mask >> 8)};
        for (int half = 0; half < 2; ++half) {
            const int64_t at = 2 * c.Word + half - from;
            if (at >= 0 && at < bytes)
                pcm[at] ^= masks[half];
        }
    }
}
