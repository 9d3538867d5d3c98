#include "encode/ConversionTarget.h"
#include "platform/FileError.h"
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

ConversionTarget::ConversionTarget(const QString& target) : m_target(target)
{
    // A hidden name of our own beside the target, created with the ordinary
    // permissions of a new file (a temporary-file class would keep it private).
    const QFileInfo info(target);
    QFile reserved;
    for (int attempt = 0; attempt < 100; ++attempt) {
        reserved.setFileName(QStringLiteral("%1/.%2.%3.part")
                                 .arg(info.absolutePath(), info.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (reserved.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_temporary = reserved.fileName();
            return;
        }
        if (reserved.error() != QFileDevice::OpenError || !QFileInfo::exists(reserved.fileName()))
            break;
    }
    throw FileError::CannotCreate(target, reserved.errorString());
}

ConversionTarget::~ConversionTarget()
{
    if (!m_committed)
        QFile::remove(m_temporary);
}

void ConversionTarget::Commit()
{
    QFile::remove(m_target);
    if (!QFile::rename(m_temporary, m_target))
        throw FileError::CannotCreate(m_target, QStringLiteral("Le fichier temporaire n'a pas pu être renommé."));
    m_committed = true;
}
