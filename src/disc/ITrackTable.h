#pragma once
#include <QChar>
#include <QString>

class AlbumSheet;
class DiscToc;

// The track rows of the disc in the main window, with the destination folder,
// the drive letter and the disc identifier, as the other windows read and
// write them. Rows count from 1; a slot outside 1..RowCount() holds nothing
// and takes nothing.
class ITrackTable {
public:
    enum RowValue { TargetValue = 0, TitleValue, ArtistValue, AlbumValue, YearValue, GenreValue, CommentValue };

    virtual ~ITrackTable() = default;
    // The album of the disc now listed, and its table of contents (empty
    // when no disc is listed).
    virtual AlbumSheet& Sheet() = 0;
    virtual const DiscToc& Toc() const = 0;
    virtual int RowCount() const = 0;
    // "Piste NN".
    virtual QString RowLabel(int k) const = 0;
    virtual QString Cell(int k, int value) const = 0;
    virtual void SetCell(int k, int value, const QString& text) = 0;
    virtual bool RowTicked(int k) const = 0;
    // Slot of the selected row, 0 when none is selected.
    virtual int SelectedSlot() const = 0;
    virtual void SelectRow(int k) = 0;

    virtual QString Folder() const = 0;
    virtual void SetFolder(const QString& folder) = 0;
    // The documents folder + "Ma musique/".
    virtual QString DefaultFolder() const = 0;
    // MP3 files rather than WAV.
    virtual bool RipsMp3() const = 0;
    // Every row's target path again from the folder and the row's values.
    virtual void RetargetRows() = 0;

    // Lower case; null when no drive is chosen.
    virtual QChar DriveLetter() const = 0;
    // "ID : " + identifier, as last read.
    virtual QString DiscId() const = 0;
    // Reads the identifier of the chosen drive's disc.
    virtual void RefreshDiscId() = 0;
};
