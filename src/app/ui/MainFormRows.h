#pragma once
#include "rip/ITrackRows.h"

class TMain_Form;

// The main window's track rows and destination folder, as a rip run reads them.
class MainFormRows : public ITrackRows {
public:
    explicit MainFormRows(TMain_Form& form) : m_form(form) {}
    int RowCount() const override;
    TrackRow Row(int k) const override;
    QString Folder() const override;

private:
    TMain_Form& m_form;
};
