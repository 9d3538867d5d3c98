#include "disc/DiscToc.h"
#include "platform/CalvenorError.h"
#include "platform/ICdAudioDevice.h"
#include "platform/MusicBrainzDiscId.h"

namespace {
constexpr int32_t FramesPerSecond = 75;
// Sector 0 lies two seconds into the disc, after the lead-in.
constexpr int32_t LeadInFrames = 150;
// Lead-out, lead-in and pregap between the sessions of an enhanced CD.
constexpr int32_t SessionGapFrames = 11400;

int32_t frames(int32_t sector)
{
    return sector + LeadInFrames;
}

int32_t wholeSeconds(int32_t sector)
{
    return frames(sector) / FramesPerSecond;
}

uint32_t digitSum(int32_t n)
{
    uint32_t sum = 0;
    for (; n > 0; n /= 10)
        sum += static_cast<uint32_t>(n % 10);
    return sum;
}
} // namespace

DiscToc::DiscToc(const QList<TocTrack>& tracks, int32_t leadOut, const QString& mcn)
    : m_tracks(tracks), m_leadOut(leadOut), m_mcn(mcn)
{
}

DiscToc DiscToc::Read(ICdAudioDevice& device, const QString& source)
{
    const auto disc = device.Open(source);
    QList<TocTrack> tracks;
    const int count = disc->TrackCount();
    for (int k = 1; k <= count; ++k) {
        TocTrack track;
        track.number = k;
        track.start = disc->TrackPosition(k) - LeadInFrames;
        track.length = disc->TrackLength(k) + (k == count ? 1 : 0);
        track.audio = disc->IsAudioTrack(k);
        tracks << track;
    }
    const int32_t leadOut = tracks.isEmpty() ? 0 : tracks.last().start + tracks.last().length;
    return DiscToc(tracks, leadOut);
}

int DiscToc::FirstTrack() const
{
    return m_tracks.isEmpty() ? 0 : m_tracks.first().number;
}

int DiscToc::LastTrack() const
{
    return m_tracks.isEmpty() ? 0 : m_tracks.last().number;
}

const TocTrack* DiscToc::Track(int number) const
{
    for (const TocTrack& track : m_tracks)
        if (track.number == number)
            return &track;
    return nullptr;
}

QList<TocTrack> DiscToc::AudioTracks() const
{
    QList<TocTrack> audio;
    for (const TocTrack& track : m_tracks)
        if (track.audio)
            audio << track;
    return audio;
}

uint32_t DiscToc::CddbId() const
{
    if (m_tracks.isEmpty())
        throw CalvenorError(QStringLiteral("Le disque n'a pas de table des matières."));
    uint32_t checksum = 0;
    for (const TocTrack& track : m_tracks)
        checksum += digitSum(wholeSeconds(track.start));
    const auto total = static_cast<uint32_t>(wholeSeconds(m_leadOut) - wholeSeconds(m_tracks.first().start));
    return (checksum % 255) << 24 | total << 8 | static_cast<uint32_t>(m_tracks.size());
}

QString DiscToc::CddbIdText() const
{
    return QStringLiteral("%1").arg(CddbId(), 8, 16, QLatin1Char('0'));
}

QString DiscToc::CddbQueryArguments() const
{
    QStringList words{CddbIdText(), QString::number(m_tracks.size())};
    for (const TocTrack& track : m_tracks)
        words << QString::number(frames(track.start));
    words << QString::number(frames(m_leadOut) / FramesPerSecond);
    return words.join(QLatin1Char(' '));
}

// Data tracks at the end of the disc (a second session) are left out, and
// the audio then ends where that session's lead-in begins; a data track too
// close for a session gap (an image of one session) ends it where it starts.
QString DiscToc::MusicBrainzId() const
{
    int last = m_tracks.size();
    while (last > 1 && !m_tracks.at(last - 1).audio)
        --last;
    QList<int> starts;
    for (int k = 0; k < last; ++k)
        starts << frames(m_tracks.at(k).start);
    int leadOut = frames(m_leadOut);
    if (last < m_tracks.size()) {
        const int dataStart = frames(m_tracks.at(last).start);
        leadOut = dataStart - SessionGapFrames > starts.last() ? dataStart - SessionGapFrames : dataStart;
    }
    return MusicBrainzDiscId::FromToc(FirstTrack(), starts, leadOut);
}
