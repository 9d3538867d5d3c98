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
    struct Choice {
        MsgButtons shownIn;
        const char* text;
        QMessageBox::ButtonRole role;
        MsgAnswer answer;
    };
    static const Choice choices[] = {
        {MsgButtons::Ok, "OK", QMessageBox::AcceptRole, MsgAnswer::Ok},
        {MsgButtons::OkReport, "OK", QMessageBox::AcceptRole, MsgAnswer::Ok},
        {MsgButtons::YesNo, "Oui", QMessageBox::YesRole, MsgAnswer::Yes},
        {MsgButtons::YesNoReport, "Oui", QMessageBox::YesRole, MsgAnswer::Yes},
        {MsgButtons::YesAllNoAllCancel, "Oui", QMessageBox::YesRole, MsgAnswer::Yes},
        {MsgButtons::YesAllNoAllCancel, "Oui pour tous", QMessageBox::YesRole, MsgAnswer::YesToAll},
        {MsgButtons::YesNo, "Non", QMessageBox::NoRole, MsgAnswer::No},
        {MsgButtons::YesNoReport, "Non", QMessageBox::NoRole, MsgAnswer::No},
        {MsgButtons::YesAllNoAllCancel, "Non", QMessageBox::NoRole, MsgAnswer::No},
        {MsgButtons::YesAllNoAllCancel, "Non pour tous", QMessageBox::NoRole, MsgAnswer::NoToAll},
        {MsgButtons::YesAllNoAllCancel, "Annuler", QMessageBox::RejectRole, MsgAnswer::Cancel},
        {MsgButtons::OkReport, "Voir le rapport", QMessageBox::ActionRole, MsgAnswer::Report},
        {MsgButtons::YesNoReport, "Voir le rapport", QMessageBox::ActionRole, MsgAnswer::Report},
    };
    QList<std::pair<QAbstractButton*, MsgAnswer>> added;
    for (const Choice& c : choices) {
        if (c.shownIn != buttons)
            continue;
        QPushButton* b = box.addButton(QString::fromUtf8(c.text), c.role);
        if (added.isEmpty())
            box.setDefaultButton(b);
        added.append({b, c.answer});
    }
    box.exec();
    for (const auto& [button, answer] : added)
        if (box.clickedButton() == button)
            return answer;
    return MsgAnswer::Dismissed;
}
