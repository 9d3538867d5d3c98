#pragma once
#include "platform/ui/AppForms.h"
#include "app/ui/TMain_Form.h"
#include "platform/PlatformServices.h"
#include "platform/Settings.h"
#include "support/FakeCdRipLibrary.h"
#include "support/FakeDialogService.h"
#include "support/FakeDrives.h"
#include "support/FakeEncoderLibrary.h"
#include "support/FakeInternet.h"
#include "support/FakeShell.h"
#include "tags/FileTagStore.h"
#include <QComboBox>
#include <QTemporaryDir>
#include <QTimer>
#include "disc/AlbumSheet.h"
#include <gtest/gtest.h>
#include <memory>

// A main window over fakes: drives d and e, a disc of three audio tracks in d.
class MainFormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        drives.sources = {{'d', "/dev/sr0"}, {'e', "/dev/sr1"}};
        drives.discs = {{'d', true}};
        cdRip.SetAudioToc({0, 100, 200}, 300);
        services.drives = &drives;
        services.cdRip = &cdRip;
        services.dialogs = &dialogs;
        services.shell = &shell;
        services.internet = &internet;
        services.encoder = &encoder;
        services.settings = &settings;
        services.tags = &tags;
    }
    // The window goes first: fakes of derived fixtures die before this one's members.
    void TearDown() override { form.reset(); }
    TMain_Form& open(const QStringList& arguments = {})
    {
        form = std::make_unique<TMain_Form>(forms, services, arguments);
        form->Timer1->stop(); // the tests run the poll by hand
        return *form;
    }
    // Chooses drive entry `index` as the user does.
    void choose(int index)
    {
        form->DrivesList->setCurrentIndex(index);
        form->DrivesListChange();
    }
    QStringList labels() const
    {
        QStringList out;
        for (int k = 1; k <= form->Sheet().TrackCount(); ++k)
            out << form->Sheet().Track(k).Label();
        return out;
    }
    QString target(int k) const { return form->Sheet().Track(k).value(AlbumTrack::Target); }

    FakeDrives drives;
    FakeCdRipLibrary cdRip;
    FakeDialogService dialogs;
    FakeShell shell;
    FakeInternet internet;
    FakeEncoderLibrary encoder;
    QTemporaryDir settingsFolder;
    Settings settings{settingsFolder.filePath("Calvenor.conf")};
    FileTagStore tags;
    PlatformServices services;
    AppForms forms;
    std::unique_ptr<TMain_Form> form;
};
