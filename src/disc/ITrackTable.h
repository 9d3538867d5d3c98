#pragma once
#include <QChar>
#include <QString>

class AlbumSheet;
class DiscToc;

// The disc the main window lists, as the other windows reach it: its album
// sheet and table of contents, the selected track, the destination folder,
// the drive letter and the disc identifier. Slots count from 1; a slot
// outside the sheet holds nothing and takes nothing.
class ITrackTable {
public:
    virtual ~ITrackTable() = default;
    // The album of the disc now listed, and its table of contents (empty
    // when no disc is listed or it could not be read).
    virtual AlbumSheet& Sheet() = 0;
    virtual const DiscToc& Toc() const = 0;
    // Slot of the selected track, 0 when none is selected.
    virtual int SelectedSlot() const = 0;
    virtual void SelectRow(int k) = 0;

    virtual QString Folder() const = 0;
    virtual void SetFolder(const QString& folder) = 0;
    // The documents folder + "Ma musique/".
    virtual QString DefaultFolder() const = 0;
    // The extension of the files the chosen format writes (".wav", ".mp3", ".flac").
    virtual QString OutputExtension() const = 0;
    // Every track's target path again from the folder and its values.
    virtual void RetargetRows() = 0;

    // Lower case; null when no drive is chosen.
    virtual QChar DriveLetter() const = 0;
    // "ID : " + identifier, as last read.
    virtual QString DiscId() const = 0;
    // The identifier of the listed disc; raises when its table of contents
    // can't be read.
    virtual void RefreshDiscId() = 0;
};
