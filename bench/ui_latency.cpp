// Offscreen windows under load: a whole MP3 rip from a slow drive (about four
// times real time, with one stall of three seconds) stopped during its last
// track, then a lookup against a test server that answers after five
// seconds. Prints the longest gap of the window thread's event loop during
// each, and the time from Stop to the end of the ripping window's showing.
// Run by bench/ui-latency; never part of the tests.
#include "FakeCdAudioDevice.h"
#include "CddbServer.h"
#include "app/ui/TMain_Form.h"
#include "disc/AlbumSheet.h"
#include "cddb/ui/TChooseAlbum.h"
#include "cddb/ui/TConnexion_CDDB_Form.h"
#include "cddb/ui/TRename_Track.h"
#include "platform/CdioRipLibrary.h"
#include "platform/CurlHttpClient.h"
#include "platform/LameEncoderLibrary.h"
#include "platform/Settings.h"
#include "platform/ui/AppForms.h"
#include "rip/ui/TRippageEnCour.h"
#include "support/DiscImage.h"
#include "support/FakeDialogService.h"
#include "support/FakeDrives.h"
#include "support/FakeInternet.h"
#include "support/FakeShell.h"
#include "support/SlowCdRipLibrary.h"
#include "tags/ui/TEdit_Tags_Form.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidgetItem>
#include <cstdio>

namespace {
constexpr int TrackSeconds = 20;
constexpr int Tracks = 3;
constexpr double DriveSpeed = 4;
constexpr int StallMs = 3000;
constexpr int ChunkSectors = 26;

// The longest time between two turns of the event loop while it measures.
class GapMeter {
public:
    GapMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_clock.isValid())
                m_longest = std::max(m_longest, m_clock.restart());
            else
                m_clock.start();
        });
    }
    void Start()
    {
        m_longest = 0;
        m_clock.invalidate();
        m_timer.start(2);
    }
    qint64 Stop()
    {
        m_timer.stop();
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DiscImage image;
    for (int t = 1; t <= Tracks; ++t)
        image.AddAudioTrack(DiscImage::NoisePcm(TrackSeconds * 75, uint32_t(t)));
    const QString cue = image.WriteTo(dir.path());

    CdioRipLibrary disc({cue});
    SlowCdRipLibrary drive(disc);
    drive.speed = DriveSpeed;
    drive.stallChunk = TrackSeconds * 75 / ChunkSectors + 20; // early in track 2
    drive.stallMs = StallMs;
    FakeDrives drives;
    drives.sources = {{'d', cue}};
    drives.discs = {{'d', true}};
    FakeCdAudioDevice cdAudio; // the disc as the lookup reads it: CDDB identifier 02011e01
    cdAudio.tocs[cue] = {{150}, 150 + 75 * 0x011e};
    FakeDialogService dialogs;
    FakeShell shell;
    shell.documents = dir.filePath("docs");
    FakeInternet internet; // no network during the rip: no AccurateRip request leaves the machine
    LameEncoderLibrary encoder;
    CurlHttpClient http;
    Settings settings(dir.filePath("Calvenor.conf"));
    settings.SetEmail(QStringLiteral("banc@exemple.fr"));
    PlatformServices services;
    services.settings = &settings;
    services.drives = &drives;
    services.cdRip = &drive;
    services.dialogs = &dialogs;
    services.shell = &shell;
    services.internet = &internet;
    services.encoder = &encoder;
    services.http = &http;
    services.cdAudio = &cdAudio;

    AppForms forms;
    TMain_Form main(forms, services, {});
    TRippageEnCour ripping(forms, services, main, &main);
    TEdit_Tags_Form editor(forms, services, main, &main);
    TRename_Track rename(forms, services, &main);
    TChooseAlbum chooser(forms, services, &main);
    TConnexion_CDDB_Form lookup(forms, services, main, &main);
    main.show();
    main.DrivesList->setCurrentIndex(0);
    main.DrivesListChange();
    QDir().mkpath(dir.filePath("music"));
    main.DirectoryText->setText(dir.filePath("music/"));
    main.MP3Ripp->click();
    main.Sheet().TickAll(true);

    // Stop halfway through the last track, as read.
    GapMeter meter;
    QElapsedTimer sinceStop;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (ripping.Label2->toolTip().contains("Piste 03") && main.localProgress->value() >= 50) {
            stopper.stop();
            sinceStop.start();
            ripping.Image1Click();
        }
    });
    stopper.start(10);
    QTimer::singleShot(0, [&] { meter.Start(); });
    QElapsedTimer ripClock;
    ripClock.start();
    main.Button2Click();
    const qint64 stopToIdle = sinceStop.isValid() ? sinceStop.elapsed() : -1;
    const qint64 ripGap = meter.Stop();
    std::printf("rip: %.1f s of MP3 ripping at %gx real time with a %d ms stall, stopped in track %d\n",
                ripClock.elapsed() / 1000.0, DriveSpeed, StallMs, Tracks);
    std::printf("  longest event-loop gap: %lld ms (goal <= 50 ms)\n", static_cast<long long>(ripGap));
    std::printf("  Stop to idle:           %lld ms (goal <= 200 ms)\n", static_cast<long long>(stopToIdle));

    CddbServer server;
    lookup.SetCddbServer(server.Url());
    internet.connected = true;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (lookup.isVisible() && lookup.ProgressBar1->value() == 100) {
            closer.stop();
            lookup.BitBtn2->click();
        }
    });
    closer.start(10);
    QElapsedTimer lookupClock;
    lookupClock.start();
    meter.Start();
    lookup.ShowModal();
    const qint64 lookupGap = meter.Stop();
    std::printf("lookup: %.1f s against a server that answers after 5 s, found \"%s\"\n",
                lookupClock.elapsed() / 1000.0, qPrintable(lookup.Album->text()));
    std::printf("  longest event-loop gap: %lld ms (goal <= 50 ms)\n", static_cast<long long>(lookupGap));
    const bool met = ripGap <= 50 && lookupGap <= 50 && stopToIdle >= 0 && stopToIdle <= 200;
    return met ? 0 : 1;
}
