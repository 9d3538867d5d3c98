#include "FuzzFile.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QTemporaryDir& scratch()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/calvenor-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/calvenor-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir;
}
} // namespace

QString FuzzFile::Path(const QString& name)
{
    return scratch().filePath(name);
}

QString FuzzFile::Write(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = Path(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort(); // the harness itself failed, not the code under test
    return path;
}
