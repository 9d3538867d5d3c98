#include "disc/DiscToc.h"
#include "disc/IndexPointFinder.h"
#include "platform/CalvenorError.h"
#include "platform/ICdAudioDevice.h"
#include "platform/IDrives.h"
#include "platform/MusicBrainzDiscId.h"
#include <QCryptographicHash>
#include <algorithm>
#include <memory>

namespace {
constexpr int32_t FramesPerSecond = 75;
// Sector 0 lies two seconds into the disc, after the lead-in.
constexpr int32_t LeadInFrames = 150;
// Lead-out, lead-in and pregap between the sessions of an enhanced CD.
constexpr int32_t SessionGapFrames = 11400;
// The CUETools database hashes room for this many eight-digit entries.
constexpr int CtdbEntries = 100;

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

// Index points that lie inside their track, before the next one's pre-gap,
// each after the one before; the rest could not be written in its file.
QList<int32_t> indexesInside(const QList<int32_t>& indexes, int32_t start, int32_t end)
{
    QList<int32_t> inside;
    for (const int32_t at : indexes) {
        if (at <= (inside.isEmpty() ? start : inside.last()) || at >= end)
            break;
        inside << at;
    }
    return inside;
}

void keepIndexesInside(QList<TocTrack>& tracks, int32_t leadOut)
{
    for (qsizetype k = 0; k < tracks.size(); ++k) {
        const int32_t end = IndexPointFinder::IndexesEnd(tracks, k, leadOut);
        tracks[k].indexes = indexesInside(tracks.at(k).indexes, tracks.at(k).start, end);
    }
}
} // namespace

DiscToc::DiscToc(const QList<TocTrack>& tracks, int32_t leadOut, const QString& mcn)
    : m_tracks(tracks), m_leadOut(leadOut), m_mcn(mcn)
{
}

DiscToc DiscToc::Read(ICdAudioDevice& device, const QString& source, Subchannel subchannel)
{
    const std::unique_ptr<ICdAudioDevice::Disc> disc = device.Open(source);
    const CdTocRecord record = disc->Toc(subchannel == Subchannel::Now ? DiscCodes::Read : DiscCodes::Skip);
    QList<TocTrack> tracks;
    for (qsizetype k = 0; k < record.tracks.size(); ++k) {
        const CdTrackRecord& read = record.tracks.at(k);
        TocTrack track;
        track.number = read.number;
        track.start = read.start;
        const int32_t next = k + 1 < record.tracks.size() ? record.tracks.at(k + 1).start : record.leadOut;
        track.length = next - read.start;
        track.audio = read.audio;
        track.session = read.session;
        track.pregap = read.pregap;
        track.indexes = read.indexes;
        track.preEmphasis = read.preEmphasis;
        track.copyPermitted = read.copyPermitted;
        track.isrc = read.isrc;
        track.text = read.text;
        tracks << track;
    }
    keepIndexesInside(tracks, record.leadOut);
    DiscToc toc(tracks, record.leadOut, record.mcn);
    toc.SetAlbumText(record.text);
    toc.m_warnings = record.warnings;
    if (subchannel == Subchannel::Now)
        toc.findIndexPoints(*disc);
    return toc;
}

DiscToc DiscToc::ReadDrive(IDrives& drives, ICdAudioDevice& device, QChar letter, Subchannel subchannel)
{
    const QString source = drives.source(letter);
    if (source.isEmpty())
        throw CalvenorError(QStringLiteral("Aucun lecteur de CD ne porte la lettre « %1 ».").arg(letter));
    return Read(device, source, subchannel);
}

void DiscToc::ReadCodes(ICdAudioDevice& device, const QString& source)
{
    try {
        const CdTocRecord record = device.Open(source)->Toc(DiscCodes::Read);
        for (const CdTrackRecord& read : record.tracks)
            for (TocTrack& track : m_tracks)
                if (track.number == read.number)
                    track.isrc = read.isrc;
        m_mcn = record.mcn;
    } catch (const CalvenorError&) {
        // A disc gone since its table was read: the rip stops on its own.
    }
}

void DiscToc::FindIndexPoints(ICdAudioDevice& device, const QString& source)
{
    try {
        findIndexPoints(*device.Open(source));
    } catch (const CalvenorError&) {
        // A disc gone since its table was read: the table's gaps stand.
    }
}

void DiscToc::findIndexPoints(ICdAudioDevice::Disc& disc)
{
    IQSubchannel* q = disc.QSubchannel();
    if (!q)
        return;
    IndexPointFinder(*q).Fill(m_tracks, m_leadOut);
    keepIndexesInside(m_tracks, m_leadOut);
}

bool DiscToc::HasCdText() const
{
    return !m_albumText.IsEmpty()
        || std::any_of(m_tracks.cbegin(), m_tracks.cend(), [](const TocTrack& t) { return !t.text.IsEmpty(); });
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

QList<TocTrack> DiscToc::AudioTracks() const
{
    QList<TocTrack> audio;
    for (const TocTrack& track : m_tracks)
        if (track.audio)
            audio << track;
    return audio;
}

int DiscToc::TracksUpToLastAudio() const
{
    int end = static_cast<int>(m_tracks.size());
    while (end > 1 && !m_tracks.at(end - 1).audio)
        --end;
    return end;
}

// Data tracks at the end of the disc (a second session) are left out, and
// the audio then ends where that session's lead-in begins; a data track too
// close for a session gap (an image of one session) ends it where it starts.
int32_t DiscToc::audioLeadOut() const
{
    const int end = TracksUpToLastAudio();
    if (end == m_tracks.size())
        return m_leadOut;
    const int32_t dataStart = m_tracks.at(end).start;
    return dataStart - SessionGapFrames > m_tracks.at(end - 1).start ? dataStart - SessionGapFrames : dataStart;
}

// A data track that opens the disc counts, as libdiscid counts it.
QString DiscToc::MusicBrainzId() const
{
    QList<int> starts;
    for (int k = 0; k < TracksUpToLastAudio(); ++k)
        starts << frames(m_tracks.at(k).start);
    return MusicBrainzDiscId::FromToc(FirstTrack(), starts, frames(audioLeadOut()));
}

// SHA-1 of the audio tracks' starts after the first and the audio lead-out,
// each from the first audio track on, as eight upper-case hexadecimal digits
// padded with zeros; base64 with MusicBrainz's substitutions.
QString DiscToc::CtdbId() const
{
    QList<int32_t> starts;
    for (int k = 0; k < TracksUpToLastAudio(); ++k)
        if (m_tracks.at(k).audio)
            starts << m_tracks.at(k).start;
    if (starts.isEmpty())
        throw CalvenorError(QStringLiteral("Le disque n'a pas de piste audio."));
    starts << audioLeadOut();
    QByteArray text;
    for (qsizetype k = 1; k < starts.size(); ++k)
        text += QByteArray::number(starts.at(k) - starts.first(), 16).toUpper().rightJustified(8, '0');
    text = text.leftJustified(CtdbEntries * 8, '0');
    QByteArray id = QCryptographicHash::hash(text, QCryptographicHash::Sha1).toBase64();
    return QString::fromLatin1(id.replace('+', '.').replace('/', '_').replace('=', '-'));
}

QString DiscToc::CtdbLookupToc() const
{
    QStringList starts;
    for (const TocTrack& track : m_tracks)
        starts << (track.audio ? QString() : QStringLiteral("-")) + QString::number(track.start);
    starts << QString::number(m_leadOut);
    return starts.join(QLatin1Char(':'));
}
