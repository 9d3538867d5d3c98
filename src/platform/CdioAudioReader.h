#pragma once
#include "platform/CdRipTypes.h"
#include "platform/CdioDisc.h"
#include "platform/IDiscAudioSource.h"
#include <QString>
#include <memory>
#include <vector>

// The audio of a CD device or a disc image, read through libcdio.
class CdioAudioReader : public IDiscAudioSource {
public:
    // Opens the device or image at source and reads its table of contents;
    // raises CalvenorError with a French message when it cannot.
    explicit CdioAudioReader(const QString& source);

    static std::unique_ptr<IDiscAudioSource> Open(const QString& source);

    int firstTrack() const override;
    int lastTrack() const override;
    bool isAudio(int track) const override;
    int32_t firstSector(int track) const override;
    int32_t lastSector(int track) const override;
    bool readSectors(int32_t sector, int count, char* out) override;

private:
    const TTocEntry& entry(int track) const;
    // The entry after the track's: the next track or the lead-out.
    const TTocEntry& next(int track) const;

    CdioDisc m_disc;
    // One entry per track, then the lead-out.
    std::vector<TTocEntry> m_toc;
};
