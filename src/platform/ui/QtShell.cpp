#include "platform/ui/QtShell.h"
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

QString QtShell::documentsFolder()
{
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}

bool QtShell::open(const QString& pathOrUrl)
{
    const bool isAddress = pathOrUrl.contains(QStringLiteral("://")) || pathOrUrl.startsWith(QStringLiteral("mailto:"));
    return QDesktopServices::openUrl(isAddress ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl));
}

std::optional<QString> QtShell::browseFolder(const QString& title, const QString& preselected)
{
    const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, preselected);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtShell::chooseFile(const QString& title, const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void QtShell::beep()
{
    QApplication::beep();
}

void QtShell::minimizeApplication()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->showMinimized();
}

void QtShell::restoreApplication()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isMinimized())
            w->showNormal();
}
