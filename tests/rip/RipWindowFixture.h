#pragma once
#include "platform/ui/AppForms.h"
#include "app/ui/TMain_Form.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/LameEncoderLibrary.h"
#include "platform/Mp3Decoder.h"
#include "platform/Settings.h"
#include "rip/ui/TRippageEnCour.h"
#include "support/DiscImage.h"
#include "support/FailingDrive.h"
#include "support/FakeDialogService.h"
#include "support/FakeDrives.h"
#include "support/FakeHttpClient.h"
#include "support/FakeInternet.h"
#include "support/FakeShell.h"
#include "support/QSubchannelDrive.h"
#include "support/ReferenceScript.h"
#include "support/SlowCdRipLibrary.h"
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeView>
#include <QTimer>
#include "disc/AlbumSheet.h"
#include <QtEndian>
#include <QApplication>
#include <QShowEvent>
#include <gtest/gtest.h>
#include <atomic>
#include <csignal>
#include <memory>
#include <sys/resource.h>

// The main and ripping windows over a generated five-track disc in drive d,
// read through the real ripping and encoder libraries.
class RipWindow : public ::testing::Test {
protected:
    static inline const QString FinalQuestion = "Calvenor a terminé de ripper les pistes demandées avec succès. "
                                                "Voulez vous ouvrir le répertoire contenant les nouveaux fichiers ?";

    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (int t = 1; t <= 5; ++t)
            image.AddAudioTrack(DiscImage::NoisePcm(20 + 5 * t, t));
        cue = image.WriteTo(dir.path(), "img");
        drives.sources = {{'d', cue}};
        drives.discs = {{'d', true}};
        cdRip = std::make_unique<FailingDrive>(QStringList{cue});
        drive = std::make_unique<SlowCdRipLibrary>(*cdRip);
        shell.documents = dir.filePath("docs");
        services.drives = &drives;
        services.cdRip = drive.get();
        services.dialogs = &dialogs;
        services.shell = &shell;
        services.internet = &internet;
        services.http = &http;
        services.cdAudio = &cdAudio;
        services.encoder = &encoder;
        settings = std::make_unique<Settings>(dir.filePath("Calvenor.conf"));
        services.settings = settings.get();
        main = std::make_unique<TMain_Form>(forms, services, QStringList{});
        main->Timer1->stop();
        ripping = std::make_unique<TRippageEnCour>(forms, services, *main, main.get());
        main->DrivesList->setCurrentIndex(0);
        main->DrivesListChange();
        ASSERT_EQ(main->Sheet().TrackCount(), 5);
        music = dir.filePath("music/");
        QDir().mkpath(music);
        main->DirectoryText->setText(music);
    }
    void tick(std::initializer_list<int> rows)
    {
        for (int k : rows)
            main->Sheet().SetTicked(k, true);
    }
    QString target(int k) const { return main->Sheet().Track(k).value(AlbumTrack::Target); }
    QStringList playlist(const QString& name = "PlayList.M3u") const
    {
        return QString::fromUtf8(readAll(music + name)).split("\r\n", Qt::SkipEmptyParts);
    }
    // The run reads on a worker thread: what a test does to the windows runs
    // on their thread, while the reader waits.
    void onWindowThread(const std::function<void()>& action)
    {
        if (QThread::currentThread() == main->thread())
            action();
        else
            QMetaObject::invokeMethod(main.get(), action, Qt::BlockingQueuedConnection);
    }
    // Runs `action` once, when track `track` has delivered its first chunk.
    void duringTrack(int track, std::function<void()> action)
    {
        drive->onOpen = [this, first = image.TrackAt(track).firstSector](int32_t sector) { current = sector == first; };
        drive->afterChunk = [this, action] {
            if (current.exchange(false))
                onWindowThread(action);
        };
    }

    QTemporaryDir dir;
    DiscImage image;
    QString cue;
    FakeDrives drives;
    std::unique_ptr<FailingDrive> cdRip;
    std::unique_ptr<SlowCdRipLibrary> drive;
    LameEncoderLibrary encoder;
    FakeDialogService dialogs;
    FakeShell shell;
    FakeInternet internet;
    FakeHttpClient http;
    QSubchannelDrive cdAudio;
    std::unique_ptr<Settings> settings;
    PlatformServices services;
    AppForms forms;
    std::unique_ptr<TMain_Form> main;
    std::unique_ptr<TRippageEnCour> ripping;
    QString music;
    std::atomic<bool> current{false};
};
