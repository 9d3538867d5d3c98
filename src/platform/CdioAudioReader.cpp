#include "platform/CdioAudioReader.h"
#include <cdio/cdio.h>

CdioAudioReader::CdioAudioReader(const QString& source) : m_disc(source), m_toc(m_disc.Toc()) {}

std::unique_ptr<IDiscAudioSource> CdioAudioReader::Open(const QString& source)
{
    return std::make_unique<CdioAudioReader>(source);
}

int CdioAudioReader::firstTrack() const
{
    return m_toc.front().btTrackNumber;
}

int CdioAudioReader::lastTrack() const
{
    return firstTrack() + static_cast<int>(m_toc.size()) - 2;
}

const TTocEntry& CdioAudioReader::entry(int track) const
{
    return m_toc.at(static_cast<size_t>(track - firstTrack()));
}

const TTocEntry& CdioAudioReader::next(int track) const
{
    return m_toc.at(static_cast<size_t>(track - firstTrack() + 1));
}

bool CdioAudioReader::isAudio(int track) const
{
    return entry(track).btFlag == TOC_FLAG_AUDIO;
}

int32_t CdioAudioReader::firstSector(int track) const
{
    return static_cast<int32_t>(entry(track).dwStartSector);
}

// A track runs up to the next one (its pregap included) or to the lead-out.
int32_t CdioAudioReader::lastSector(int track) const
{
    return static_cast<int32_t>(next(track).dwStartSector) - 1;
}

bool CdioAudioReader::readSectors(int32_t sector, int count, char* out)
{
    return cdio_read_audio_sectors(m_disc.Handle(), out, sector, static_cast<uint32_t>(count)) == DRIVER_OP_SUCCESS;
}
