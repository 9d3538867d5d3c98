#pragma once
#include "platform/ui/AppForms.h"
#include "platform/PlatformServices.h"
#include <QApplication>
#include <QTranslator>
#include <memory>

class DriveMap;
class IDialogService;

// The program: the real platform services, the windows created once in
// their order, and the last-resort general error display.
class CalvenorApplication : public QApplication {
    Q_OBJECT
public:
    CalvenorApplication(int& argc, char** argv);
    ~CalvenorApplication() override;
    // Creates the windows, shows the main one and runs until it closes.
    int Run();

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void createServices(const QStringList& driveArguments);
    void createWindows();
    void showWindowNamed(const QString& className);

    struct Owned;
    std::unique_ptr<Owned> m_owned;
    PlatformServices m_services;
    AppForms m_forms;
    QStringList m_arguments;
    QTranslator m_qtTranslator;
};
