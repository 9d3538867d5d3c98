#include "app/ui/CalvenorApplication.h"
#include "about/ui/TAboutForm.h"
#include "app/RememberedChoices.h"
#include "app/ui/TMain_Form.h"
#include "cddb/ui/TRename_Track.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "cddb/ui/TPreferences_Form.h"
#include "encode/ui/TConvert_Form.h"
#include "encode/ui/TEncode_Options_Form.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/CtdbDatabase.h"
#include "rip/ui/TRippageEnCour.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/CurlHttpClient.h"
#include "platform/DriveMap.h"
#include "platform/ErrorDisplay.h"
#include "platform/InterfaceInternet.h"
#include "platform/LameEncoderLibrary.h"
#include "platform/Settings.h"
#include "platform/ui/QtAudioOutput.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtShell.h"
#include "tags/FileTagStore.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <memory>

// The real services, owned for the whole run; the windows come after them and
// go before them.
struct CalvenorApplication::Owned {
    QtDialogService dialogs;
    QtShell shell;
    InterfaceInternet internet;
    std::unique_ptr<DriveMap> drives;
    std::unique_ptr<CdioRipLibrary> cdRip;
    LameEncoderLibrary encoder;
    QtAudioOutput audio;
    CdioAudioDevice cdAudio;
    CurlHttpClient http;
    Settings settings;
    FileTagStore tags;
    std::unique_ptr<TMain_Form> mainForm;
    std::unique_ptr<TEdit_Tags_Form> editTagsForm;
    std::unique_ptr<TEncode_Options_Form> encodeOptionsForm;
    std::unique_ptr<TConnexion_CDDB_Form> connexionCddbForm;
    std::unique_ptr<TRippageEnCour> rippageEnCour;
    std::unique_ptr<TAboutForm> aboutForm;
    std::unique_ptr<TChooseAlbum> chooseAlbum;
    std::unique_ptr<TRename_Track> renameTrack;
    std::unique_ptr<TConvert_Form> convertForm;
    std::unique_ptr<TPreferences_Form> preferencesForm;
};

CalvenorApplication::CalvenorApplication(int& argc, char** argv)
    : QApplication(argc, argv), m_owned(std::make_unique<Owned>())
{
    setApplicationName(QStringLiteral("Calvenor"));
    // Ties the windows to the installed menu entry and icon.
    setDesktopFileName(QStringLiteral(CALVENOR_APP_ID));
    setWindowIcon(QIcon::fromTheme(QStringLiteral(CALVENOR_APP_ID), QIcon(QStringLiteral(":/icons/calvenor-256.png"))));
    // The toolkit's own texts (file dialogs, edit menus) in French too.
    if (m_qtTranslator.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
    setQuitOnLastWindowClosed(false);
}

CalvenorApplication::~CalvenorApplication()
{
    // Windows first: they hold references to the services.
    m_owned.reset();
}

bool CalvenorApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    auto dispatch = [&] { handled = QApplication::notify(receiver, event); };
    if (!m_services.dialogs) {
        dispatch();
        return handled;
    }
    ErrorDisplay::Run(*m_services.dialogs, dispatch);
    return handled;
}

void CalvenorApplication::createServices(const QStringList& driveArguments)
{
    QStringList rest;
    m_services.dialogs = &m_owned->dialogs;
    m_services.shell = &m_owned->shell;
    m_services.internet = &m_owned->internet;
    try {
        m_owned->drives = std::make_unique<DriveMap>(DriveMap::FromArguments(driveArguments, &rest));
    } catch (const CalvenorError& e) {
        m_owned->dialogs.message(MsgKind::Error, e.message(), MsgButtons::Ok);
        m_owned->drives = std::make_unique<DriveMap>(DriveMap::FromArguments({}, &rest));
        rest.clear();
    }
    m_arguments = rest;
    m_owned->cdRip = std::make_unique<CdioRipLibrary>(m_owned->drives->CdSources());
    m_services.drives = m_owned->drives.get();
    m_services.cdRip = m_owned->cdRip.get();
    m_services.encoder = &m_owned->encoder;
    m_services.audioOutput = &m_owned->audio;
    m_services.cdAudio = &m_owned->cdAudio;
    m_services.http = &m_owned->http;
    m_services.settings = &m_owned->settings;
    m_services.tags = &m_owned->tags;
}

void CalvenorApplication::createWindows()
{
    m_owned->mainForm = std::make_unique<TMain_Form>(m_forms, m_services, m_arguments);
    TMain_Form* main = m_owned->mainForm.get();
    m_owned->editTagsForm = std::make_unique<TEdit_Tags_Form>(m_forms, m_services, *main, main);
    m_owned->encodeOptionsForm = std::make_unique<TEncode_Options_Form>(m_forms, m_services, main->LameCoder1(), main);
    m_owned->connexionCddbForm = std::make_unique<TConnexion_CDDB_Form>(m_forms, m_services, *main, main);
    // For demonstrations: CALVENOR_CDDB_SERVER=http://127.0.0.1:PORT/~cddb asks another server.
    if (const QString server = qEnvironmentVariable("CALVENOR_CDDB_SERVER"); !server.isEmpty())
        m_owned->connexionCddbForm->SetCddbServer(server);
    m_owned->rippageEnCour = std::make_unique<TRippageEnCour>(m_forms, m_services, *main, main);
    m_owned->aboutForm = std::make_unique<TAboutForm>(m_forms, m_services, main);
    m_owned->chooseAlbum = std::make_unique<TChooseAlbum>(m_forms, m_services, main);
    m_owned->renameTrack = std::make_unique<TRename_Track>(m_forms, m_services, main);
    m_owned->convertForm = std::make_unique<TConvert_Form>(m_forms, m_services, main);
    m_owned->preferencesForm = std::make_unique<TPreferences_Form>(m_forms, m_services, main);
    m_owned->preferencesForm->ShowDefaultServers(AccurateRipDatabase::DefaultServer, CtdbDatabase::DefaultServer);
}

// For screenshots: CALVENOR_SHOW=TAboutForm (a window's class) also shows that
// window, without waiting for it, once the program runs.
void CalvenorApplication::showWindowNamed(const QString& className)
{
    if (className == QLatin1String("TRippageEnCour")) {
        // The ripping window only shows during a rip: once the disc is read,
        // rip every track into a scratch folder.
        TMain_Form* main = m_owned->mainForm.get();
        QTimer::singleShot(2500, main, [main] {
            const QString folder = QDir::tempPath() + QStringLiteral("/calvenor-screenshot/");
            QDir().mkpath(folder);
            main->DirectoryText->setText(folder);
            main->BitBtn2Click();
            main->Button2Click();
        });
        return;
    }
    if (className.isEmpty())
        return;
    bool found = false;
    for (QWidget* window : topLevelWidgets())
        if (className == QLatin1String(window->metaObject()->className())) {
            QTimer::singleShot(0, window, &QWidget::show);
            found = true;
        }
    if (!found)
        qWarning("CALVENOR_SHOW : aucune fenêtre de la classe %s", qPrintable(className));
}

int CalvenorApplication::Run()
{
    createServices(arguments().mid(1));
    createWindows();
    TMain_Form* main = m_owned->mainForm.get();
    RememberedChoices remembered(m_owned->settings);
    // After the windows: the options window starts the encoder from its defaults.
    if (const auto choices = remembered.Restore(main->LameCoder1())) {
        main->RestoreChoices(*choices);
        m_owned->encodeOptionsForm->ShowCoderChoices();
    }
    connect(main, &QObject::destroyed, this, &QApplication::quit);
    main->show();
    main->move(primaryScreen()->availableGeometry().center() - main->rect().center());
    // The program ends when the main window closes.
    main->setAttribute(Qt::WA_QuitOnClose);
    setQuitOnLastWindowClosed(true);
    showWindowNamed(qEnvironmentVariable("CALVENOR_SHOW"));
    const int status = exec();
    remembered.Save(main->Choices(), main->LameCoder1());
    return status;
}
