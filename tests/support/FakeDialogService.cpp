#include "support/FakeDialogService.h"

MsgAnswer FakeDialogService::message(MsgKind kind, const QString& text, MsgButtons buttons)
{
    shown.append({kind, text, buttons});
    if (whileShown)
        whileShown();
    if (!answers.empty()) {
        MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MsgButtons::Ok || buttons == MsgButtons::OkReport ? MsgAnswer::Ok : MsgAnswer::No;
}

QStringList FakeDialogService::texts() const
{
    QStringList out;
    for (const Shown& s : shown)
        out << s.text;
    return out;
}
