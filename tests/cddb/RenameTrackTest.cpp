#include "cddb/ui/TRename_Track.h"
#include "platform/PlatformServices.h"
#include "support/FakeDialogService.h"
#include <QLineEdit>
#include <gtest/gtest.h>

TEST(RenameTrack, ForbiddenCharacterKeepsTheWindowOpen)
{
    FakeDialogService dialogs;
    PlatformServices services;
    services.dialogs = &dialogs;
    AppForms forms;
    TRename_Track w(forms, services);
    w.show();
    w.ModifyText->setText("A/B");
    w.ModifyButtonClick();
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().text,
              "Le nom de fichier contient un ou plusieurs caractères interdits par windows. Veuillez corriger en "
              "enlevant tous les caractères cités dans la fenêtre :");
    w.ModifyText->setText("A-B");
    w.ModifyButtonClick();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}
