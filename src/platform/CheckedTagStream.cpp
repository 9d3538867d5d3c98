#include "platform/CheckedTagStream.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr long ChunkBytes = 1 << 20;
}

CheckedTagStream::CheckedTagStream(const QString& path) : m_name(QFile::encodeName(path))
{
    m_fd = ::open(m_name.constData(), O_RDWR | O_CLOEXEC);
    if (m_fd < 0)
        m_error = errno;
}

CheckedTagStream::~CheckedTagStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void CheckedTagStream::fail()
{
    if (m_error == 0)
        m_error = errno != 0 ? errno : EIO;
}

TagLib::FileName CheckedTagStream::name() const
{
    return m_name.constData();
}

bool CheckedTagStream::readAt(long offset, char* data, long length)
{
    while (length > 0) {
        const ssize_t done = ::pread(m_fd, data, static_cast<size_t>(length), offset);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        offset += done;
        length -= done;
    }
    return true;
}

bool CheckedTagStream::writeAt(long offset, const char* data, long length)
{
    if (Failed())
        return false;
    while (length > 0) {
        const ssize_t done = ::pwrite(m_fd, data, static_cast<size_t>(length), offset);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC;
            fail();
            return false;
        }
        data += done;
        offset += done;
        length -= done;
    }
    return true;
}

TagLib::ByteVector CheckedTagStream::readBlock(unsigned long length)
{
    const long available = std::max(0L, std::min<long>(static_cast<long>(length), this->length() - m_position));
    TagLib::ByteVector data(static_cast<unsigned int>(available), 0);
    if (available > 0 && !readAt(m_position, data.data(), available)) {
        fail();
        return TagLib::ByteVector();
    }
    m_position += available;
    return data;
}

void CheckedTagStream::writeBlock(const TagLib::ByteVector& data)
{
    if (writeAt(m_position, data.data(), data.size()))
        m_position += data.size();
}

void CheckedTagStream::moveTail(long from, long by)
{
    const long end = length();
    std::vector<char> chunk(static_cast<size_t>(std::min(ChunkBytes, std::max(end - from, 1L))));
    const auto step = [&](long at, long size) {
        if (!readAt(at, chunk.data(), size)) {
            fail();
            return false;
        }
        return writeAt(at + by, chunk.data(), size);
    };
    if (by > 0) {
        for (long at = end; at > from && !Failed();) {
            const long size = std::min<long>(ChunkBytes, at - from);
            at -= size;
            step(at, size);
        }
    } else {
        for (long at = from; at < end && !Failed(); at += ChunkBytes)
            step(at, std::min<long>(ChunkBytes, end - at));
    }
}

void CheckedTagStream::insert(const TagLib::ByteVector& data, unsigned long start, unsigned long replace)
{
    const long grow = static_cast<long>(data.size()) - static_cast<long>(replace);
    if (grow > 0)
        moveTail(static_cast<long>(start + replace), grow);
    if (writeAt(static_cast<long>(start), data.data(), data.size()) && grow < 0)
        removeBlock(start + data.size(), static_cast<unsigned long>(-grow));
    m_position = static_cast<long>(start + data.size());
}

void CheckedTagStream::removeBlock(unsigned long start, unsigned long length)
{
    const long end = this->length();
    moveTail(static_cast<long>(start + length), -static_cast<long>(length));
    truncate(end - static_cast<long>(length));
}

void CheckedTagStream::seek(long offset, Position p)
{
    if (p == Current)
        offset += m_position;
    else if (p == End)
        offset += length();
    m_position = std::max(0L, offset);
}

long CheckedTagStream::length()
{
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        fail();
        return 0;
    }
    return static_cast<long>(info.st_size);
}

void CheckedTagStream::truncate(long length)
{
    if (!Failed() && ::ftruncate(m_fd, length) != 0)
        fail();
}
