#include "app/ui/DestinationFolder.h"
#include "platform/DesktopOpen.h"
#include "platform/IDialogService.h"
#include "platform/IShell.h"
#include "platform/TargetNameRule.h"
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

QString DestinationFolder::Text() const
{
    return m_box.text();
}

void DestinationFolder::SetText(const QString& folder)
{
    m_box.setText(folder);
}

bool DestinationFolder::Ensure()
{
    const QString folder = Text();
    if (QFileInfo(folder).isDir())
        return true;
    const MsgAnswer a = m_services.dialogs->message(
        MsgKind::Confirmation,
        QStringLiteral("Le répertoire de destination (\"") + folder + QStringLiteral("\") n'existe pas. Voulez vous le créer ?"),
        MsgButtons::YesNo);
    if (a == MsgAnswer::Yes && (folder.isEmpty() || !QDir().mkpath(folder)))
        m_services.dialogs->message(MsgKind::Error, QStringLiteral("Impossible de créer le répertoire"), MsgButtons::Ok);
    return QFileInfo(folder).isDir();
}

void DestinationFolder::Open()
{
    if (Ensure())
        DesktopOpen::Open(*m_services.shell, *m_services.dialogs, Text());
}

void DestinationFolder::Browse()
{
    const QString current = Text();
    const auto chosen = m_services.shell->browseFolder(QStringLiteral("Dossier de destination"),
                                                       QFileInfo(current).isDir() ? current : QString());
    if (chosen) {
        SetText(TargetNameRule::WithSeparator(*chosen));
        m_chosen = Text();
    }
}

void DestinationFolder::Up()
{
    SetText(TargetNameRule::ParentFolder(Text()));
    m_chosen = Text();
}
