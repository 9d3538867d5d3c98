#include "platform/ui/QtDialogService.h"
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
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
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    // Texts may come from a server: never read them as markup.
    box.setTextFormat(Qt::PlainText);
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
        {MsgButtons::YesAllNo, "Oui", QMessageBox::YesRole, MsgAnswer::Yes},
        {MsgButtons::YesAllNo, "Oui pour tous", QMessageBox::YesRole, MsgAnswer::YesToAll},
        {MsgButtons::YesNo, "Non", QMessageBox::NoRole, MsgAnswer::No},
        {MsgButtons::YesNoReport, "Non", QMessageBox::NoRole, MsgAnswer::No},
        {MsgButtons::YesAllNo, "Non", QMessageBox::NoRole, MsgAnswer::No},
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
