#pragma once
#include "platform/IDialogService.h"

// Message boxes of the desktop, titled "Calvenor", with French buttons.
class QtDialogService : public IDialogService {
public:
    MsgAnswer message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    MsgAnswer captionedMessage(MsgKind kind, const QString& caption, const QString& text, MsgButtons buttons) override;
};
