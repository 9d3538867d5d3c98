#pragma once
#include "platform/DriveModel.h"
#include <QChar>
#include <QString>
#include <optional>

class IDrives;
class Settings;

// What a drive letter stands for, to the user and to the settings: a
// drive's model, a disc image's file, or a drive that tells nothing.
class DriveIdentity {
public:
    // Nothing known: the read offset saved before offsets were kept per model.
    DriveIdentity() = default;
    static DriveIdentity Of(IDrives& drives, QChar letter);

    // "VENDOR MODEL REVISION", "image album.cue", or "modèle inconnu".
    QString LogText() const;
    // "VENDOR MODEL" or "album.cue"; empty when nothing is known.
    QString ShortText() const;

    // The drive's saved read offset: its model's, else the one saved before
    // offsets were kept per model; an image reads at 0 unless one was saved
    // for it.
    int ReadOffset(const Settings& settings) const;
    void SaveReadOffset(Settings& settings, int samples) const;

private:
    QString offsetKey() const;

    std::optional<DriveModel> m_model;
    QString m_image; // the image's path
};
