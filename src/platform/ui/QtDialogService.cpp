#include "platform/ui/QtDialogService.h"
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

namespace {
// Past this many lines a text scrolls: at twice the scale, a box of a
// 40-track rip's summary would push its buttons off a laptop's screen.
constexpr int MaxShownLines = 20;

// The box's text goes into a scrolling box of MaxShownLines lines in its place.
void scrollLongText(QMessageBox& box, const QString& text)
{
    if (text.count(QLatin1Char('\n')) < MaxShownLines)
        return;
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!label || !grid)
        return;
    auto* scroll = new QScrollArea(&box);
    scroll->setObjectName(QStringLiteral("calvenor_msgbox_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->replaceWidget(label, scroll);
    label->setWordWrap(false);
    label->setContentsMargins(0, 0, label->fontMetrics().averageCharWidth(), 0); // clear of the scroll bar
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    const int height = label->fontMetrics().lineSpacing() * MaxShownLines;
    scroll->setMinimumSize(label->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width(), height);
    scroll->setMaximumHeight(height);
}

QMessageBox::Icon iconOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Confirmation: return QMessageBox::Question;
    case MsgKind::Information: default: return QMessageBox::Information;
    }
}
} // namespace

MsgAnswer QtDialogService::message(MsgKind kind, const QString& text, MsgButtons buttons)
{
    return captionedMessage(kind, QStringLiteral("Calvenor"), text, buttons);
}

MsgAnswer QtDialogService::captionedMessage(MsgKind kind, const QString& caption, const QString& text,
                                            MsgButtons buttons)
{
    // Centred on the window it answers: the modal one when there is one, as
    // the active window may be unknown (no window manager).
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::NoButton,
                    owner ? owner : QApplication::activeWindow());
    // Texts may come from a server: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    scrollLongText(box, text);
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    if (buttons == MsgButtons::YesNo) {
        yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
    } else {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == ok)
        return MsgAnswer::Ok;
    if (clicked && clicked == yes)
        return MsgAnswer::Yes;
    if (clicked && clicked == no)
        return MsgAnswer::No;
    return MsgAnswer::Dismissed;
}
