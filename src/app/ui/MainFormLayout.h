#pragma once

class QAbstractItemModel;
class TMain_Form;

// The main window's menu and controls, placed as the user sees them.
class MainFormLayout {
public:
    static void BuildMenu(TMain_Form& f);
    static void BuildControls(TMain_Form& f);
    // The track list shows this model, with the columns' widths.
    static void ShowTracks(TMain_Form& f, QAbstractItemModel& tracks);
    // French names for screen readers, and what the pictures do.
    static void NameControls(TMain_Form& f);
};
