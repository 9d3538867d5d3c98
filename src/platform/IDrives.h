#pragma once
#include "platform/DriveModel.h"
#include <QChar>
#include <QString>
#include <optional>

// Drive letters of the user interface, mapped to CD sources (devices or disc images).
class IDrives {
public:
    virtual ~IDrives() = default;
    // True when the letter is mapped to a CD source.
    virtual bool isCdDrive(QChar letter) = 0;
    // True when a readable disc is there. Runs every second: must be cheap.
    virtual bool isDiscPresent(QChar letter) = 0;
    // Why the source cannot be read although it is there (a cue sheet
    // without its .bin), in French; empty when there is simply no disc.
    virtual QString unreadableReason(QChar letter) = 0;
    // The device or image path behind the letter, empty when none.
    virtual QString source(QChar letter) = 0;
    // The drive's hardware identity; none for a disc image, or when the
    // drive tells nothing.
    virtual std::optional<DriveModel> model(QChar letter) = 0;
    // Gives a disc image opened during the run the first free letter after
    // those in use (else the first free one) and returns it; an image already
    // there keeps its letter. Raises CalvenorError in French when the file is
    // no disc image or no letter is left.
    virtual QChar addImage(const QString& path) = 0;
};
