#include "support/DiscImage.h"
#include <QDir>
#include <QFile>
#include <cmath>
#include <stdexcept>

namespace {
constexpr int FramesPerSecond = 75;
constexpr int FramesPerSector = DiscImage::SectorBytes / 4;
// Sector addresses on disc count 150 frames of lead-in before sector 0.
constexpr int32_t LeadInFrames = 150;

uint8_t bcd(int v)
{
    return static_cast<uint8_t>((v / 10) << 4 | (v % 10));
}

QString msf(int32_t sector)
{
    return QStringLiteral("%1:%2:%3")
        .arg(sector / (60 * FramesPerSecond), 2, 10, QLatin1Char('0'))
        .arg(sector / FramesPerSecond % 60, 2, 10, QLatin1Char('0'))
        .arg(sector % FramesPerSecond, 2, 10, QLatin1Char('0'));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString cdTextLines(const QString& indent, const QString& title, const QString& performer)
{
    QString lines;
    if (!title.isEmpty())
        lines += QStringLiteral("%1TITLE \"%2\"\n").arg(indent, title);
    if (!performer.isEmpty())
        lines += QStringLiteral("%1PERFORMER \"%2\"\n").arg(indent, performer);
    return lines;
}

void put16(QByteArray& pcm, int offset, int16_t v)
{
    pcm[offset] = static_cast<char>(v & 0xFF);
    pcm[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
}
} // namespace

DiscImage& DiscImage::AddAudioTrack(const QByteArray& pcm, int flags)
{
    if (pcm.isEmpty() || pcm.size() % SectorBytes != 0)
        throw std::invalid_argument("audio track PCM must hold whole sectors");
    Track t;
    t.pcm = pcm;
    t.flags = flags;
    t.firstSector = m_sectors;
    m_sectors += static_cast<int32_t>(pcm.size() / SectorBytes);
    t.lastSector = m_sectors - 1;
    m_tracks.append(t);
    return *this;
}

DiscImage& DiscImage::WithPregap(int sectors)
{
    if (m_tracks.size() < 2 || !m_tracks.last().audio || !m_tracks.at(m_tracks.size() - 2).audio)
        throw std::invalid_argument("a pre-gap goes to an audio track after an audio track");
    Track& track = m_tracks.last();
    Track& previous = m_tracks[m_tracks.size() - 2];
    if (sectors <= 0 || sectors >= track.lastSector - track.firstSector + 1)
        throw std::invalid_argument("a pre-gap leaves the track at least one sector");
    const qsizetype bytes = qsizetype(sectors) * SectorBytes;
    track.pregap = track.firstSector;
    track.firstSector += sectors;
    previous.lastSector += sectors;
    previous.pcm += track.pcm.left(bytes);
    track.pcm.remove(0, bytes);
    return *this;
}

DiscImage& DiscImage::WithIsrc(const QString& isrc)
{
    m_tracks.last().isrc = isrc;
    return *this;
}

DiscImage& DiscImage::WithIndex(int sectors)
{
    Track& track = m_tracks.last();
    const int32_t at = track.firstSector + sectors;
    if (at <= (track.indexes.isEmpty() ? track.firstSector : track.indexes.last()) || at > track.lastSector)
        throw std::invalid_argument("an index point lies in its track, after the one before");
    track.indexes << at;
    return *this;
}

DiscImage& DiscImage::WithCatalog(const QString& mcn)
{
    m_catalog = mcn;
    return *this;
}

DiscImage& DiscImage::AddDataTrack(int sectors)
{
    if (sectors <= 0)
        throw std::invalid_argument("a data track needs sectors");
    Track t;
    t.audio = false;
    t.firstSector = m_sectors;
    m_sectors += sectors;
    t.lastSector = m_sectors - 1;
    m_tracks.append(t);
    return *this;
}

DiscImage& DiscImage::SetHiddenAudio(const QByteArray& pcm)
{
    if (!m_tracks.isEmpty() || pcm.isEmpty() || pcm.size() % SectorBytes != 0)
        throw std::invalid_argument("hidden audio comes first and holds whole sectors");
    m_hidden = pcm;
    m_sectors = static_cast<int32_t>(pcm.size() / SectorBytes);
    return *this;
}

DiscImage& DiscImage::SetCdText(const QStringList& titles, const QStringList& performers)
{
    m_titles = titles;
    m_performers = performers;
    return *this;
}

QString DiscImage::WriteTo(const QString& folder, const QString& baseName) const
{
    QByteArray bin;
    bin.reserve(static_cast<qsizetype>(m_sectors) * SectorBytes);
    bin += m_hidden;
    for (const Track& t : m_tracks) {
        if (t.audio)
            bin += t.pcm;
        else
            for (int32_t s = t.firstSector; s <= t.lastSector; ++s)
                bin += dataSector(s);
    }
    const QDir dir(folder);
    const QString binName = baseName + QStringLiteral(".bin");
    const QString cuePath = dir.filePath(baseName + QStringLiteral(".cue"));
    writeFile(dir.filePath(binName), bin);
    writeFile(cuePath, cueSheet(binName));
    return cuePath;
}

QByteArray DiscImage::cueSheet(const QString& binName) const
{
    QString cue = (m_catalog.isEmpty() ? QString() : QStringLiteral("CATALOG %1\n").arg(m_catalog))
        + cdTextLines(QString(), m_titles.value(0), m_performers.value(0));
    cue += QStringLiteral("FILE \"%1\" BINARY\n").arg(binName);
    for (int i = 0; i < m_tracks.size(); ++i) {
        const Track& t = m_tracks.at(i);
        cue += QStringLiteral("  TRACK %1 %2\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(t.audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"));
        if (t.flags & (CopyPermitted | PreEmphasis))
            cue += QStringLiteral("    FLAGS%1%2\n")
                       .arg(t.flags & CopyPermitted ? QStringLiteral(" DCP") : QString())
                       .arg(t.flags & PreEmphasis ? QStringLiteral(" PRE") : QString());
        if (!t.isrc.isEmpty())
            cue += QStringLiteral("    ISRC %1\n").arg(t.isrc);
        cue += cdTextLines(QStringLiteral("    "), m_titles.value(i + 1), m_performers.value(i + 1));
        if (i == 0 && !m_hidden.isEmpty())
            cue += QStringLiteral("    INDEX 00 00:00:00\n");
        else if (t.pregap >= 0)
            cue += QStringLiteral("    INDEX 00 %1\n").arg(msf(t.pregap));
        cue += QStringLiteral("    INDEX 01 %1\n").arg(msf(t.firstSector));
        for (int k = 0; k < t.indexes.size(); ++k)
            cue += QStringLiteral("    INDEX %1 %2\n").arg(k + 2, 2, 10, QLatin1Char('0')).arg(msf(t.indexes.at(k)));
    }
    return cue.toUtf8();
}

// Sync pattern, BCD address, mode 1 and recognisable user data; the error
// correction bytes stay zero.
QByteArray DiscImage::dataSector(int32_t lsn)
{
    QByteArray s(SectorBytes, '\0');
    for (int i = 1; i <= 10; ++i)
        s[i] = static_cast<char>(0xFF);
    const int32_t address = lsn + LeadInFrames;
    s[12] = static_cast<char>(bcd(address / (60 * FramesPerSecond)));
    s[13] = static_cast<char>(bcd(address / FramesPerSecond % 60));
    s[14] = static_cast<char>(bcd(address % FramesPerSecond));
    s[15] = 1;
    for (int i = 0; i < 2048; ++i)
        s[16 + i] = static_cast<char>((lsn + i) & 0xFF);
    return s;
}

QByteArray DiscImage::NoisePcm(int sectors, uint32_t seed)
{
    QByteArray pcm(sectors * SectorBytes, '\0');
    uint32_t x = seed ? seed : 0x9E3779B9u;
    for (qsizetype i = 0; i < pcm.size(); ++i) {
        // xorshift32: cheap and reproducible.
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        pcm[i] = static_cast<char>(x >> 24);
    }
    return pcm;
}

QByteArray DiscImage::SinePcm(int sectors, double frequency, double amplitude)
{
    QByteArray pcm(sectors * SectorBytes, '\0');
    const int frames = sectors * FramesPerSector;
    for (int n = 0; n < frames; ++n) {
        const double v = amplitude * 32767.0 * std::sin(2.0 * M_PI * frequency * n / 44100.0);
        const auto sample = static_cast<int16_t>(std::lround(v));
        put16(pcm, n * 4, sample);
        put16(pcm, n * 4 + 2, sample);
    }
    return pcm;
}
