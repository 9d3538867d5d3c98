#include "platform/ConversionTarget.h"
#include "platform/FileError.h"
#include "platform/PathText.h"
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QString systemError()
{
    return FileError::Reason(errno);
}

// New files get the ordinary permissions (umask applied), as any other output.
constexpr mode_t NewFileMode = 0666;
} // namespace

ConversionTarget::ConversionTarget(const QString& target) : m_target(QFileInfo(target).absoluteFilePath())
{
    m_fd = ::open(native(QFileInfo(m_target).absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                  NewFileMode);
    if (m_fd >= 0)
        return;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        throw FileError::CannotCreate(m_target, systemError());
    openNamed();
}

void ConversionTarget::openNamed()
{
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_named = hiddenName();
        m_fd = ::open(native(m_named).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, NewFileMode);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        throw FileError::CannotCreate(m_target, systemError());
}

QString ConversionTarget::hiddenName() const
{
    return PathText::HiddenBeside(
        m_target, QStringLiteral(".%1.part").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

ConversionTarget::~ConversionTarget()
{
    ::close(m_fd);
    if (!m_committed && !m_named.isEmpty())
        ::unlink(native(m_named).constData());
}

QString ConversionTarget::DataPath() const
{
    return QStringLiteral("/proc/self/fd/%1").arg(m_fd);
}

bool ConversionTarget::linkAs(const QString& name) const
{
    return ::linkat(AT_FDCWD, native(DataPath()).constData(), AT_FDCWD, native(name).constData(), AT_SYMLINK_FOLLOW)
        == 0;
}

void ConversionTarget::CommitAs(const QString& target)
{
    m_target = QFileInfo(target).absoluteFilePath();
    Commit();
}

void ConversionTarget::Commit()
{
    // Data the disk could not take shows here at the latest: nothing is named then.
    if (::fsync(m_fd) != 0 && errno != EINVAL)
        throw FileError::CannotWrite(m_target, errno);
    if (m_named.isEmpty()) {
        // A new target gets its name directly; an existing one (the user said
        // Yes) is replaced through a name of our own that lives for one call.
        if (linkAs(m_target)) {
            m_committed = true;
            return;
        }
        if (errno != EEXIST)
            throw FileError::CannotCreate(m_target, systemError());
        m_named = hiddenName();
        if (!linkAs(m_named))
            throw FileError::CannotCreate(m_target, systemError());
    }
    if (std::rename(native(m_named).constData(), native(m_target).constData()) != 0)
        throw FileError::CannotCreate(m_target, systemError());
    m_committed = true;
}
