#include "platform/ui/CalvenorDialog.h"
#include <QKeyEvent>

CalvenorDialog::CalvenorDialog(AppForms& forms, const PlatformServices& services, QWidget* parent,
                               Qt::WindowFlags flags)
    : QDialog(parent, flags), m_forms(forms), m_services(services)
{
}

void CalvenorDialog::MakeBold(QWidget* label)
{
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
}

// On the window it belongs to, else on the main window.
void CalvenorDialog::centreOnOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : m_forms.Main_Form;
    if (owner)
        move(owner->geometry().center() - rect().center());
}

// Placed before the window exists, so a window manager keeps the place
// instead of choosing one (the screen's corner for windows without a frame).
void CalvenorDialog::setVisible(bool visible)
{
    if (visible && !isVisible())
        centreOnOwner();
    QDialog::setVisible(visible);
}

// Again once shown: a window laid out by its contents has its size only now.
void CalvenorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnOwner();
}

void CalvenorDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !m_escapeCloses)
        return;
    QDialog::keyPressEvent(event);
}
