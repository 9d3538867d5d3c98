#include "cddb/TCDInfo.h"
#include "platform/MusicBrainzDiscId.h"
#include <QList>
#include "platform/CalvenorError.h"
#include "platform/IDrives.h"

namespace {
constexpr int32_t FramesPerSecond = 75;
constexpr int32_t SecondsPerMinute = 60;
constexpr int32_t FramesPerMinute = FramesPerSecond * SecondsPerMinute;

int32_t wholeSeconds(const TMsfTime& t)
{
    return t.Minutes * SecondsPerMinute + t.Seconds;
}

uint32_t digitSum(int32_t n)
{
    uint32_t sum = 0;
    for (; n > 0; n /= 10)
        sum += static_cast<uint32_t>(n % 10);
    return sum;
}
} // namespace

TCDInfo::TCDInfo(IDrives& drives, ICdAudioDevice& device) : m_drives(drives), m_device(device) {}

TCDInfo::~TCDInfo() = default;

void TCDInfo::OpenDrive(QChar letter)
{
    const QString source = m_drives.source(letter);
    if (source.isEmpty())
        throw CalvenorError(QStringLiteral("Aucun lecteur de CD ne porte la lettre « %1 ».").arg(letter));
    m_disc = m_device.Open(source);
}

ICdAudioDevice::Disc& TCDInfo::disc()
{
    if (!m_disc)
        throw CalvenorError(QStringLiteral("Aucun lecteur de CD n'est ouvert."));
    return *m_disc;
}

uint32_t TCDInfo::TrackCount()
{
    return static_cast<uint32_t>(disc().TrackCount());
}

TMsfTime TCDInfo::TrackPosition(int track)
{
    return FramesToMsf(static_cast<uint32_t>(disc().TrackPosition(track)));
}

TMsfTime TCDInfo::TrackLength(int track)
{
    return FramesToMsf(static_cast<uint32_t>(disc().TrackLength(track)));
}

int32_t TCDInfo::MsfToFrames(const TMsfTime& time)
{
    return time.Minutes * FramesPerMinute + time.Seconds * FramesPerSecond + time.Frames;
}

TMsfTime TCDInfo::FramesToMsf(uint32_t frames)
{
    TMsfTime t;
    t.Frames = static_cast<int32_t>(frames % FramesPerSecond);
    t.Seconds = static_cast<int32_t>(frames / FramesPerSecond % SecondsPerMinute);
    t.Minutes = static_cast<int32_t>(frames / FramesPerMinute);
    return t;
}

// The last track's length stops one frame short of the lead-out.
int32_t TCDInfo::TotalSeconds()
{
    const int n = static_cast<int>(TrackCount());
    TMsfTime length = TrackLength(n);
    length.Frames += 1;
    const TMsfTime leadOut =
        FramesToMsf(static_cast<uint32_t>(MsfToFrames(TrackPosition(n)) + MsfToFrames(length)));
    return wholeSeconds(leadOut) - wholeSeconds(TrackPosition(1));
}

uint32_t TCDInfo::DiscId()
{
    const int n = static_cast<int>(TrackCount());
    uint32_t checksum = 0;
    for (int k = 1; k <= n; ++k)
        checksum += digitSum(wholeSeconds(TrackPosition(k)));
    const auto total = static_cast<uint32_t>(TotalSeconds());
    return (checksum % 255) << 24 | total << 8 | static_cast<uint32_t>(n);
}

QString TCDInfo::DiscIdString()
{
    return QStringLiteral("%1").arg(DiscId(), 8, 16, QLatin1Char('0'));
}

int TCDInfo::AudioTrackCount()
{
    int last = static_cast<int>(TrackCount());
    while (last > 1 && !disc().IsAudioTrack(last))
        --last;
    return last;
}

// Data tracks at the end of the disc (a second session) are left out, and
// the audio then ends where that session's lead-in begins; a data track too
// close for a session gap (an image of one session) ends it where it starts.
QString TCDInfo::MusicBrainzDiscIdString()
{
    const int n = static_cast<int>(TrackCount());
    const int last = AudioTrackCount();
    QList<int> starts;
    for (int k = 1; k <= last; ++k)
        starts << MsfToFrames(TrackPosition(k));
    int leadOut = MsfToFrames(TrackPosition(n)) + MsfToFrames(TrackLength(n)) + 1;
    if (last < n) {
        const int dataStart = MsfToFrames(TrackPosition(last + 1));
        leadOut = dataStart - SessionGapFrames > starts.last() ? dataStart - SessionGapFrames : dataStart;
    }
    return MusicBrainzDiscId::FromToc(1, starts, leadOut);
}
