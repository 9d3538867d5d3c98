#pragma once
#include "platform/ui/AppForms.h"
#include "platform/PlatformServices.h"
#include <QDialog>

// What every secondary window shares: it reaches the other windows and the
// platform services, and it shows centred on its parent window.
class CalvenorDialog : public QDialog {
    Q_OBJECT
public:
    CalvenorDialog(AppForms& forms, const PlatformServices& services, QWidget* parent,
                   Qt::WindowFlags flags = Qt::Dialog);
    static void MakeBold(QWidget* label);
    void setVisible(bool visible) override;

protected:
    // Windows without a close box keep Escape from closing them.
    void SetEscapeCloses(bool closes) { m_escapeCloses = closes; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    AppForms& m_forms;
    PlatformServices m_services;

private:
    void centreOnOwner();

    bool m_escapeCloses = true;
};
