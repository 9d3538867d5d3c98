#include "about/ui/TAboutForm.h"
#include "support/FakeShell.h"
#include "support/MainFormFixture.h"
#include "support/MouseInput.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
const QColor LinkColour(18, 129, 181);
const QColor HoverColour(4, 163, 237);

QColor colour(const QLabel* l)
{
    return l->palette().color(QPalette::WindowText);
}

class AboutForm : public ::testing::Test {
protected:
    static PlatformServices servicesWith(FakeShell& shell)
    {
        PlatformServices s;
        s.shell = &shell;
        return s;
    }

    FakeShell shell;
    PlatformServices services = servicesWith(shell);
    AppForms forms;
    TAboutForm about{forms, services};
};

TEST_F(AboutForm, ShowsNameVersionAndCaptions)
{
    EXPECT_EQ(forms.AboutForm, &about);
    EXPECT_EQ(about.windowTitle(), "A Propos de Calvenor");
    EXPECT_EQ(about.size(), QSize(474, 311));
    EXPECT_EQ(about.BigProductLabel->text(), "Calvenor");
    EXPECT_EQ(about.MainProductVer->text() + about.SecondProductVer->text(), "1.2");
    EXPECT_EQ(about.MainProductVer->font().pointSize(), 75);
    EXPECT_EQ(about.OrvaneLabel->text(), "Orvane");
    EXPECT_EQ(about.CompilingLabel->text(), "\"C o m p i l i n g   t h e   f u t u r e . . .\"");
    EXPECT_EQ(about.ProductLabel->text(), "Version 1.2");
    EXPECT_EQ(about.Label3->text(), "Merci aux béta-testeurs :");
    EXPECT_EQ(about.Web->text(), "Site Internet :");
    EXPECT_EQ(about.Label1->text(), "Support Technique :");
    EXPECT_EQ(about.Label2->text(), "Forum Support Technique");
    EXPECT_EQ(about.ButtonClose->text(), "Ok");
    EXPECT_EQ(colour(about.DotLabel), LinkColour);
}

TEST_F(AboutForm, LinksCarryATooltipAndAnAddressInTheirHints)
{
    EXPECT_TRUE(TAboutForm::Hint(about.LabelWeb).startsWith("Site Internet|"));
    EXPECT_TRUE(TAboutForm::Hint(about.Label2).startsWith("Forum Support Technique sur Internet|"));
    EXPECT_EQ(about.LabelWeb->toolTip(), "Site Internet");
    EXPECT_EQ(about.Label2->toolTip(), "Forum Support Technique sur Internet");
    for (QLabel* link : {about.LabelWeb, about.Label2}) {
        EXPECT_EQ(colour(link), LinkColour);
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
}

TEST_F(AboutForm, HoverUnderlinesAndBrightensALinkAndLeavingRestoresIt)
{
    const QFont captionFont = about.Web->font();
    const QColor captionColour = colour(about.Web);
    for (QLabel* link : {about.LabelWeb, about.Label2}) {
        MouseInput::Enter(link);
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(colour(link), HoverColour);

        MouseInput::Leave(link);
        EXPECT_FALSE(link->font().underline());
        EXPECT_FALSE(link->font().bold());
        EXPECT_EQ(colour(link), LinkColour);
    }
    EXPECT_EQ(about.Web->font(), captionFont);
    EXPECT_EQ(colour(about.Web), captionColour);
}

TEST_F(AboutForm, AClickOpensTheAddressAfterTheBarOfTheHint)
{
    MouseInput::Click(about.Label2);
    MouseInput::Click(about.LabelWeb);
    const QString forum = TAboutForm::Hint(about.Label2).section('|', 1);
    const QString site = TAboutForm::Hint(about.LabelWeb).section('|', 1);
    EXPECT_EQ(shell.opened, QStringList({forum, site}));
    EXPECT_TRUE(forum.startsWith("http://"));
    EXPECT_NE(forum, site);
}

using MainFormAbout = MainFormFixture;

TEST_F(MainFormAbout, TheMenuEntryShowsTheAboutWindowModally)
{
    open();
    TAboutForm about(forms, services, form.get());
    bool modal = false;
    QTimer::singleShot(0, &about, [&] {
        modal = about.isVisible() && about.isModal();
        about.ButtonCloseClick();
    });
    form->HELP_ABOUT->trigger();
    EXPECT_TRUE(modal);
    EXPECT_TRUE(about.isHidden());
}
} // namespace
