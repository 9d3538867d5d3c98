#include "platform/CdPlayer.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioReader.h"
#include "platform/DiscAudioStream.h"
#include "platform/IAudioOutput.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 FramesPerSector = IDiscAudioSource::SectorBytes / DiscAudioStream::FrameBytes;

qint64 framesOf(double seconds)
{
    return std::llround(seconds * CdPlayer::SampleRate);
}
} // namespace

CdPlayer::CdPlayer(IAudioOutput* output, SourceOpener openSource)
    : m_output(output), m_openSource(openSource ? std::move(openSource) : SourceOpener(&CdioAudioReader::Open))
{
}

CdPlayer::~CdPlayer()
{
    Close();
}

bool CdPlayer::HoldsAudioDisc(const QString& source) const
{
    if (source.isEmpty())
        return false;
    try {
        const std::unique_ptr<IDiscAudioSource> disc = m_openSource(source);
        return disc->firstTrack() == 1 && disc->isAudio(1);
    } catch (const CalvenorError&) {
        return false;
    }
}

void CdPlayer::Open()
{
    Close();
    if (!m_output || !m_output->isAvailable())
        throw CalvenorError(QStringLiteral(
            "Aucune sortie son n'est disponible sur cet ordinateur : impossible d'écouter la piste."));
    m_disc = m_openSource(m_fileName);
    m_frame = 0;
}

void CdPlayer::Close()
{
    Stop();
    m_disc.reset();
    m_frame = 0;
}

void CdPlayer::Play()
{
    if (!IsOpen())
        return;
    Stop();
    m_streamStart = m_frame;
    m_streamEnd = playEndFrom(m_frame);
    m_stream = std::make_unique<DiscAudioStream>(*m_disc, m_streamStart, m_streamEnd);
    m_output->start(*m_stream);
}

void CdPlayer::Stop()
{
    if (!IsPlaying())
        return;
    m_frame = currentFrame();
    m_output->stop();
    m_stream.reset();
}

void CdPlayer::Seek(double seconds)
{
    if (!IsOpen())
        return;
    Stop();
    const qint64 discEnd = (m_disc->lastSector(m_disc->lastTrack()) + 1) * FramesPerSector;
    m_frame = std::clamp<qint64>(framesOf(seconds), 0, discEnd);
}

double CdPlayer::Position() const
{
    return static_cast<double>(currentFrame()) / SampleRate;
}

double CdPlayer::TrackPosition(int n) const
{
    requireOpen();
    if (n < m_disc->firstTrack() || n > m_disc->lastTrack())
        throw CalvenorError(QStringLiteral("La piste %1 n'existe pas sur ce disque.").arg(n));
    return static_cast<double>(m_disc->firstSector(n) * FramesPerSector) / SampleRate;
}

void CdPlayer::requireOpen() const
{
    if (!IsOpen())
        throw CalvenorError(QStringLiteral("Aucun disque n'est ouvert pour l'écoute."));
}

qint64 CdPlayer::currentFrame() const
{
    if (!IsPlaying())
        return m_frame;
    return std::min(m_streamStart + m_output->playedFrames(), m_streamEnd);
}

// Playing runs through the audio tracks that follow each other from the
// position on and halts before a data track or the end of the disc.
qint64 CdPlayer::playEndFrom(qint64 frame) const
{
    int track = trackAt(frame);
    if (track == 0 || !m_disc->isAudio(track))
        return frame;
    while (track < m_disc->lastTrack() && m_disc->isAudio(track + 1))
        ++track;
    return (m_disc->lastSector(track) + 1) * FramesPerSector;
}

// The track holding the frame, 0 when none does.
int CdPlayer::trackAt(qint64 frame) const
{
    const qint64 sector = frame / FramesPerSector;
    for (int t = m_disc->firstTrack(); t <= m_disc->lastTrack(); ++t)
        if (sector >= m_disc->firstSector(t) && sector <= m_disc->lastSector(t))
            return t;
    return 0;
}
