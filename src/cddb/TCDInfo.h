#pragma once
#include "platform/ICdAudioDevice.h"
#include <QChar>
#include <QString>
#include <cstdint>
#include <memory>

class IDrives;

// A position or a length on the disc; 75 frames make a second.
struct TMsfTime {
    int32_t Minutes = 0;
    int32_t Seconds = 0;
    int32_t Frames = 0;
};

// The table of contents of the disc in one drive, and its CDDB disc
// identifier. Create, OpenDrive, ask, destroy: the disc is closed with the object.
class TCDInfo {
public:
    TCDInfo(IDrives& drives, ICdAudioDevice& device);
    ~TCDInfo();
    TCDInfo(const TCDInfo&) = delete;
    TCDInfo& operator=(const TCDInfo&) = delete;

    // Opens the disc of the drive with this letter.
    void OpenDrive(QChar letter);
    uint32_t TrackCount();
    // Start of a track (1-based), counted from the very start of the disc.
    TMsfTime TrackPosition(int track);
    TMsfTime TrackLength(int track);
    static int32_t MsfToFrames(const TMsfTime& time);
    static TMsfTime FramesToMsf(uint32_t frames);
    // From the first track's start to the lead-out, in whole seconds.
    int32_t TotalSeconds();
    uint32_t DiscId();
    // DiscId as eight lower-case hexadecimal digits.
    QString DiscIdString();
    // Tracks up to the last audio track: data tracks at the end are not counted.
    int AudioTrackCount();
    // The disc's MusicBrainz identifier (28 characters).
    QString MusicBrainzDiscIdString();
    // Lead-out, lead-in and pregap between the sessions of a disc whose data
    // track follows its audio.
    static constexpr int SessionGapFrames = 11400;

private:
    ICdAudioDevice::Disc& disc();

    IDrives& m_drives;
    ICdAudioDevice& m_device;
    std::unique_ptr<ICdAudioDevice::Disc> m_disc;
};
