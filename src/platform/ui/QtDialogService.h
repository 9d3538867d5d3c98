#pragma once
#include "platform/IDialogService.h"

// Message boxes of the desktop, titled "Calvenor", with French buttons.
class QtDialogService : public IDialogService {
public:
    MsgAnswer message(MsgKind kind, const QString& text, MsgButtons buttons) override;
};
