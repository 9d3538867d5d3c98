#include "rip/JitterLog.h"
#include "encode/ECDRIPError.h"
#include "platform/FileError.h"
#include "platform/PathText.h"
#include <QFile>
#include <cerrno>

QString JitterLog::PathBeside(const QString& ripped)
{
    return PathText::WithExtension(ripped, QStringLiteral("jitt"));
}

void JitterLog::Save(const QString& ripped, const QStringList& positions)
{
    const QString logPath = PathBeside(ripped);
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError::CannotCreate(logPath, log.errorString());
    const QByteArray text = (positions.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    if (log.write(text) != text.size() || !log.flush()) {
        const int systemError = errno;
        throw ECDRIPError(FileError::CannotWrite(logPath, log, systemError).message());
    }
}
