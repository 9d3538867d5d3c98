#pragma once
#include <QString>

enum class MsgKind { Error, Information, Confirmation, Warning };
// YesAllNoAllCancel: Oui / Oui pour tous / Non / Non pour tous / Annuler. The
// Report kinds add "Voir le rapport".
enum class MsgButtons { Ok, YesNo, YesAllNoAllCancel, OkReport, YesNoReport };
// Dismissed: the box was closed without one of its buttons (Escape, close box).
enum class MsgAnswer { Ok, Yes, No, Dismissed, YesToAll, Report, NoToAll, Cancel };

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
