#pragma once
#include <QString>

enum class MsgKind { Error, Information, Confirmation, Warning };
enum class MsgButtons { Ok, YesNo };
// Dismissed: the box was closed without one of its buttons (Escape, close box).
enum class MsgAnswer { Ok, Yes, No, Dismissed };

// Every message box of the program goes through this service, so tests can
// script the answers and read back the texts.
class IDialogService {
public:
    virtual ~IDialogService() = default;
    virtual MsgAnswer message(MsgKind kind, const QString& text, MsgButtons buttons) = 0;
    // A box with a caption of its own instead of the program's name.
    virtual MsgAnswer captionedMessage(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons)
    {
        (void)caption;
        return message(kind, text, buttons);
    }
};
