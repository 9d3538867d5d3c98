#pragma once
#include <QString>
#include <optional>

// A drive's hardware identity, as the drive answers libcdio's inquiry.
struct DriveModel {
    QString Vendor;
    QString Model;
    QString Revision;

    // "VENDOR MODEL": drives of one model read with one offset, whatever
    // their firmware.
    QString Name() const;
    // "VENDOR MODEL REVISION", for the rip log.
    QString Text() const;

    // The drive at a device path; none when libcdio tells nothing.
    static std::optional<DriveModel> OfDevice(const QString& device);
};
