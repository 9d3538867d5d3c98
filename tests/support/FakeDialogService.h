#pragma once
#include "platform/IDialogService.h"
#include <QList>
#include <QString>
#include <deque>

// Records every message box and answers from a script; with the script
// empty, Yes/No boxes get No and OK boxes get OK.
class FakeDialogService : public IDialogService {
public:
    struct Shown {
        MsgKind kind;
        QString text;
        MsgButtons buttons;
    };
    MsgAnswer message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    void script(MsgAnswer answer) { answers.push_back(answer); }
    QStringList texts() const;

    QList<Shown> shown;
    std::deque<MsgAnswer> answers;
};
