#include "app/ui/DriveChoice.h"
#include "platform/DriveIdentity.h"
#include "platform/ICdRipLibrary.h"
#include "platform/IDialogService.h"
#include "platform/IDrives.h"
#include <QAbstractItemView>
#include <QComboBox>

void DriveChoice::ListCdDrives()
{
    for (char c = 'a'; c <= 'y'; ++c)
        if (m_services.drives->isCdDrive(QChar(c)))
            m_list.addItem(EntryText(QChar(c), DriveIdentity::Of(*m_services.drives, QChar(c))));
    widenList();
    if (m_list.count() == 0) {
        m_services.dialogs->message(MsgKind::Error,
                                    QStringLiteral("Vous ne semblez pas avoir de lecteur de CD sur votre ordinateur."),
                                    MsgButtons::Ok);
        m_list.setPlaceholderText(QStringLiteral("Aucun lecteur"));
    }
}

// The box is narrow: its open list is as wide as the longest model.
void DriveChoice::widenList()
{
    m_list.view()->setMinimumWidth(m_list.view()->sizeHintForColumn(0));
}

void DriveChoice::AddImage(const QString& path)
{
    const QChar letter = m_services.drives->addImage(path);
    const QString root = QString(letter) + QStringLiteral(":\\");
    if (m_list.findText(root, Qt::MatchStartsWith) < 0) {
        // Entries and the ripping library's drives both follow the letters.
        int entry = 0;
        while (entry < m_list.count() && m_list.itemText(entry).at(0) < letter)
            ++entry;
        m_services.cdRip->CR_InsertCDROM(entry, path);
        m_list.insertItem(entry, EntryText(letter, DriveIdentity::Of(*m_services.drives, letter)));
        m_list.setPlaceholderText(QStringLiteral("Lecteurs de CD"));
        widenList();
    }
    ChooseFromArgument(root);
}

void DriveChoice::ChooseFromArgument(const QString& argument)
{
    if (argument.isEmpty())
        return;
    // Choosing the entry does not read the disc: the poll does within a second.
    QString root = argument.toLower();
    if (root.size() == 2 && root.endsWith(':'))
        root += '\\';
    const int entry = m_list.findText(root, Qt::MatchStartsWith);
    if (entry >= 0)
        m_list.setCurrentIndex(entry);
}

QString DriveChoice::EntryText(QChar letter, const DriveIdentity& drive)
{
    const QString root = QString(letter) + QStringLiteral(":\\");
    const QString what = drive.ShortText();
    return what.isEmpty() ? root : root + QStringLiteral(" — ") + what;
}

bool DriveChoice::Chosen() const
{
    return m_list.currentIndex() >= 0;
}

QChar DriveChoice::Letter() const
{
    const QString text = m_list.currentText();
    return text.isEmpty() ? QChar() : text.at(0).toLower();
}

void DriveChoice::SayWhyUnreadable(QChar letter)
{
    const QString reason = letter.isNull() ? QString() : m_services.drives->unreadableReason(letter);
    if (reason == m_unreadableReason)
        return;
    m_unreadableReason = reason;
    if (!reason.isEmpty())
        m_services.dialogs->message(MsgKind::Error, reason, MsgButtons::Ok);
}
