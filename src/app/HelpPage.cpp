#include "app/HelpPage.h"
#include "platform/DesktopOpen.h"
#include "platform/IDialogService.h"
#include "platform/IShell.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString HelpPage::Path(const QString& programFolder)
{
    const QDir folder(programFolder);
    const QString beside = folder.filePath(QStringLiteral("Aide/Aide.htm"));
    const QString installed =
        QDir::cleanPath(folder.filePath(QStringLiteral(CALVENOR_DATA_FROM_BIN) + QStringLiteral("/Aide/Aide.htm")));
    if (QFileInfo::exists(beside))
        return beside;
    // An installed program lives in a bin folder.
    if (QFileInfo::exists(installed) || folder.dirName() == QLatin1String("bin"))
        return installed;
    return beside;
}

void HelpPage::Open(IDialogService& dialogs, IShell& shell)
{
    const QString path = Path(QDir::fromNativeSeparators(QCoreApplication::applicationDirPath()));
    if (!QFileInfo::exists(path)) {
        const MsgAnswer a = dialogs.message(MsgKind::Error, QStringLiteral("Impossible de trouver le fichier d'aide : ") + path,
                                            MsgButtons::Ok);
        if (a == MsgAnswer::Ok)
            return;
    }
    DesktopOpen::Open(shell, dialogs, path);
}
