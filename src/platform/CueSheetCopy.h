#pragma once
#include <QString>
#include <QTemporaryDir>

class CueSheetLayout;

// The copy of a cue sheet that libcdio reads, with a link to the sheet's
// .bin beside it under the copy's name; both go with the object.
class CueSheetCopy {
public:
    // Raises CalvenorError with a French text when the copy cannot be made.
    CueSheetCopy(const QString& sheet, const CueSheetLayout& layout);
    QString Path() const;

private:
    QTemporaryDir m_dir;
};
