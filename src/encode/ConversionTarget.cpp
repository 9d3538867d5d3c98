#include "encode/ConversionTarget.h"
#include "platform/FileError.h"
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

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
    // One step that replaces an existing target: it is never left missing.
    if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        throw FileError::CannotCreate(m_target, QString::fromLocal8Bit(std::strerror(errno)));
    m_committed = true;
}
