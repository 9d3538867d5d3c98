#include "rip/ReadOffsetFinder.h"
#include "disc/AccurateRipDiscId.h"
#include "platform/CalvenorError.h"
#include "platform/ICdRipLibrary.h"
#include "rip/AccurateRipChecksums.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/ReadOffsetLibrary.h"
#include "rip/RipVerification.h"
#include "rip/SlidingAccurateRipSum.h"
#include <QtEndian>
#include <algorithm>

namespace {
constexpr int SampleBytes = 4;
// The tracks tried, from the first audio one.
constexpr int TracksTried = 2;

constexpr int NoMatch = -1;

// The highest confidence of the responses holding crc for the track at slot; NoMatch when none does.
int confidenceOf(const QList<AccurateRipResponse>& responses, int slot, uint32_t crc)
{
    int best = NoMatch;
    for (const AccurateRipResponse& r : responses)
        if (slot <= r.Tracks.size() && r.Tracks.at(slot - 1).Crc == crc)
            best = std::max(best, r.Tracks.at(slot - 1).Confidence);
    return best;
}

// True when one of the responses' sums for the track may be the v2 sum at
// the sliding sum's offset.
bool mayMatchV2(const QList<AccurateRipResponse>& responses, int slot, const SlidingAccurateRipSum& sums)
{
    for (const AccurateRipResponse& r : responses)
        if (slot <= r.Tracks.size() && sums.MayBeV2(r.Tracks.at(slot - 1).Crc))
            return true;
    return false;
}

// v2 does not slide: the high halves of its products are not linear in the
// samples, so no running sum gives the next offset's. It is summed whole,
// a pass over the track, at the few offsets the sliding sum cannot rule out
// (all 6001 would take a minute for a 5-minute track); only a disc
// submitted in v2 alone needs it, the v1 search comes first.
uint32_t v2At(const SlidingAccurateRipSum& sums, int offset, bool firstTrack, bool lastTrack)
{
    AccurateRipChecksums direct(firstTrack, lastTrack);
    direct.Add(reinterpret_cast<const uint8_t*>(sums.TrackAt(offset)), sums.TrackSamples() * SampleBytes);
    return direct.V2();
}
} // namespace

ReadOffsetFinder::ReadOffsetFinder(ICdRipLibrary& library, const DiscToc& toc) : m_library(library), m_toc(toc) {}

std::optional<ReadOffsetFinder::Found> ReadOffsetFinder::Find(AccurateRipDatabase& database)
{
    const AccurateRipDiscId disc(m_toc);
    const QList<AccurateRipResponse> all = database.Lookup(disc);
    QList<AccurateRipResponse> responses;
    for (const AccurateRipResponse& r : all)
        if (r.IsFor(disc))
            responses.append(r);
    if (responses.isEmpty())
        throw CalvenorError(QStringLiteral("La base AccurateRip ne connaît pas ce disque : le décalage de lecture ne "
                                           "peut pas y être cherché ; rien n'est changé."));
    const QList<TocTrack> audio = m_toc.AudioTracks();
    for (int i = 0; i < std::min<int>(TracksTried, audio.size()); ++i) {
        const std::vector<uint32_t> samples = readWithMargins(audio.at(i));
        if (auto found = Match(samples, i == 0, i == audio.size() - 1, responses, disc.Slot(audio.at(i).number)))
            return found;
    }
    return std::nullopt;
}

std::optional<ReadOffsetFinder::Found> ReadOffsetFinder::Find(const RipVerification& verification)
{
    if (!verification.SkipReason.isEmpty() || !verification.Http)
        throw CalvenorError(QStringLiteral("La base AccurateRip n'est pas consultée (%1) : le décalage de lecture ne "
                                           "peut pas être cherché.")
                                .arg(verification.SkipReason.isEmpty() ? RipVerification::NoNetwork()
                                                                       : verification.SkipReason));
    AccurateRipDatabase database(*verification.Http, verification.Server);
    return Find(database);
}

std::optional<ReadOffsetFinder::Found> ReadOffsetFinder::Match(const std::vector<uint32_t>& samples, bool firstTrack,
                                                               bool lastTrack,
                                                               const QList<AccurateRipResponse>& responses, int slot)
{
    if (slot < 1 || samples.size() <= 2 * size_t(Range))
        return std::nullopt;
    SlidingAccurateRipSum sums(samples, Range, firstTrack, lastTrack);
    std::vector<int> v2Candidates;
    do {
        if (const int confidence = confidenceOf(responses, slot, sums.V1()); confidence != NoMatch)
            return Found{sums.Offset(), confidence};
        if (mayMatchV2(responses, slot, sums))
            v2Candidates.push_back(sums.Offset());
    } while (sums.Next());
    for (const int offset : v2Candidates)
        if (const int confidence = confidenceOf(responses, slot, v2At(sums, offset, firstTrack, lastTrack));
            confidence != NoMatch)
            return Found{offset, confidence};
    return std::nullopt;
}

// Read through a library shifted back by Range: the range delivered starts
// Range samples before the track, with silence beyond the disc's audio.
std::vector<uint32_t> ReadOffsetFinder::readWithMargins(const TocTrack& track)
{
    const QList<TocTrack> audio = m_toc.AudioTracks();
    constexpr int marginSectors = (2 * Range + AccurateRipChecksums::SamplesPerSector - 1)
                                  / AccurateRipChecksums::SamplesPerSector;
    ReadOffsetLibrary shifted(m_library, -Range, audio.first().start, audio.last().end());
    const int64_t wanted = int64_t{track.length} * AccurateRipChecksums::SamplesPerSector + 2 * Range;
    std::vector<uint32_t> samples;
    samples.reserve(static_cast<size_t>(wanted));
    int32_t bufferSize = 0;
    const bool opened = shifted.CR_OpenRipper(&bufferSize, track.start, track.end() + marginSectors) != CR_FAILURE;
    bool whole = opened;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::max(bufferSize, 0)));
    for (int32_t result = CR_OK; whole && result != CR_RANGE_DONE && int64_t(samples.size()) < wanted;) {
        int32_t bytes = 0;
        result = shifted.CR_RipChunk(buffer.data(), &bytes);
        whole = result != CR_FAILURE;
        for (int32_t b = 0; b + SampleBytes <= bytes; b += SampleBytes)
            samples.push_back(qFromLittleEndian<uint32_t>(buffer.data() + b));
    }
    if (opened) {
        shifted.CR_CloseRipper();
        whole = whole && shifted.CR_GetReadReport().UnreadSectors.empty();
    }
    if (!whole || int64_t(samples.size()) < wanted)
        throw CalvenorError(QStringLiteral("La piste %1 n'a pas pu être lue entièrement : le décalage de lecture "
                                           "n'a pas été cherché.")
                                .arg(track.number));
    samples.resize(static_cast<size_t>(wanted));
    return samples;
}
