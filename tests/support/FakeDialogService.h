#pragma once
#include "platform/IDialogService.h"
#include <QList>
#include <QString>
#include <deque>
#include <functional>

// Records every message box and answers from a script; with the script
// empty, boxes with a Non get No and the others OK.
class FakeDialogService : public IDialogService {
public:
    struct Shown {
        MsgKind kind;
        QString text;
        MsgButtons buttons;
    };
    MsgAnswer message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    // Records the caption in `captions`, then answers as message() does.
    MsgAnswer captionedMessage(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) override
    {
        captions << caption;
        return message(kind, text, buttons);
    }
    void script(MsgAnswer answer) { answers.push_back(answer); }
    QStringList texts() const;

    QList<Shown> shown;
    QStringList captions;
    std::deque<MsgAnswer> answers;
    // Runs while a box is up, as the user would act before answering.
    std::function<void()> whileShown;
};
