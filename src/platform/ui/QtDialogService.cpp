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
