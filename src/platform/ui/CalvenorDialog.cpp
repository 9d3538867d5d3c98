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

void CalvenorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QWidget* owner = m_forms.Main_Form)
        move(owner->geometry().center() - rect().center());
}

void CalvenorDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !m_escapeCloses)
        return;
    QDialog::keyPressEvent(event);
}
