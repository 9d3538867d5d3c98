#pragma once
#include "rip/CtdbRepair.h"
#include <QString>
#include <atomic>
#include <cstdint>
#include <vector>

class TrackSums;

// Writes a track mended by the CUETools database's parity over its file,
// which is never written in place: the mended audio goes into a hidden copy
// (FileRewrite) that then takes the file's name. A WAV file's audio is
// patched where it lies, its header and tags kept; a FLAC file is encoded
// anew and given its tags back.
class RepairedTrackWriter {
public:
    // start: the disc's byte where the track's audio starts; corrections in
    // the disc's words (CtdbRepair). sums hears the audio written.
    static void Write(const QString& path, int64_t start, const std::vector<CtdbRepair::Correction>& corrections,
                      TrackSums& sums, const std::atomic<bool>* cancel = nullptr);

private:
    static void patchWav(const QString& path, const QString& copy, int64_t start,
                         const std::vector<CtdbRepair::Correction>& corrections, TrackSums& sums,
                         const std::atomic<bool>* cancel);
    static void encodeFlac(const QString& path, const QString& copy, int64_t start,
                           const std::vector<CtdbRepair::Correction>& corrections, TrackSums& sums,
                           const std::atomic<bool>* cancel);
};
