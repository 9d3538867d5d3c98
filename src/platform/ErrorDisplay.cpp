#include "platform/ErrorDisplay.h"
#include "platform/CalvenorError.h"
#include "platform/IDialogService.h"
#include <exception>

bool ErrorDisplay::Run(IDialogService& dialogs, const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const CalvenorError& e) {
        dialogs.message(MsgKind::Error, e.message(), MsgButtons::Ok);
    } catch (const std::bad_alloc&) {
        dialogs.message(MsgKind::Error, QStringLiteral("Mémoire insuffisante."), MsgButtons::Ok);
    } catch (const std::exception& e) {
        dialogs.message(MsgKind::Error, QString::fromLocal8Bit(e.what()), MsgButtons::Ok);
    }
    return false;
}
