#include "platform/DesktopOpen.h"
#include "platform/IDialogService.h"
#include "platform/IShell.h"

bool DesktopOpen::Open(IShell& shell, IDialogService& dialogs, const QString& pathOrUrl)
{
    if (shell.open(pathOrUrl))
        return true;
    dialogs.message(MsgKind::Error, NoViewerText(pathOrUrl), MsgButtons::Ok);
    return false;
}

QString DesktopOpen::NoViewerText(const QString& pathOrUrl)
{
    return QStringLiteral("Aucune application n'est disponible pour ouvrir « %1 ».").arg(pathOrUrl);
}
