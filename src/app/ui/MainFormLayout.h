#pragma once
#include "app/RememberedChoices.h"

class QAbstractItemModel;
class QWidget;
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
    // The window's size and the list's column widths, into the choices kept.
    static void Keep(const TMain_Form& f, RememberedChoices::Choices& choices);
    // Back as kept; never smaller than the window's smallest size.
    static void Restore(TMain_Form& f, const RememberedChoices::Choices& choices);

private:
    // What moves and what grows as the window grows.
    static void anchor(TMain_Form& f, QWidget& client, QWidget* background);
};
