#include "platform/ui/CalvenorDialog.h"
#include "platform/ui/QtDialogService.h"
#include <QApplication>
#include <QScrollArea>
#include <QTimer>
#include <gtest/gtest.h>

// A dialog opens centred on the window it belongs to, be it the main window or another.
TEST(DialogPlacement, ADialogOpensCentredOnItsParent)
{
    AppForms forms;
    PlatformServices services;
    QWidget main;
    main.setGeometry(40, 30, 600, 400);
    forms.Main_Form = &main;
    QWidget lookup;
    lookup.setGeometry(700, 500, 250, 400);
    for (QWidget* parent : {&main, &lookup}) {
        CalvenorDialog dialog(forms, services, parent, Qt::Dialog | Qt::FramelessWindowHint);
        dialog.setFixedSize(250, 100);
        dialog.show();
        EXPECT_EQ(dialog.geometry().center(), parent->geometry().center());
    }
}

// At twice the scale a 1200-pixel screen holds 600 pixels of the box: the
// summary of a 40-track rip scrolls so its button stays on screen.
TEST(DialogPlacement, AMessageOfFortyLinesScrollsAndKeepsItsButtonsOnScreen)
{
    QStringList lines;
    for (int track = 1; track <= 40; ++track)
        lines << QStringLiteral("Piste %1 : exacte (confiance 12)").arg(track, 2, 10, QLatin1Char('0'));
    QSize shown;
    bool scrolls = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = box->size();
            scrolls = box->findChild<QScrollArea*>() != nullptr;
            box->reject();
        }
    });
    QtDialogService dialogs;
    dialogs.message(MsgKind::Information, lines.join('\n'), MsgButtons::Ok);
    EXPECT_TRUE(scrolls);
    EXPECT_GT(shown.height(), 0);
    EXPECT_LE(shown.height() * 2, 1200);
}
