#pragma once
#include <QByteArray>
#include <QString>
#include <taglib/tiostream.h>

// A file as TagLib reads and writes it, with every write checked. TagLib's
// own stream drops the result of its writes, so a tag that outgrows its room
// on a full disk leaves a broken file behind a save that says it succeeded.
// Here the first failure is kept (Failed, Error) and every later write is
// given up.
class CheckedTagStream : public TagLib::IOStream {
public:
    // Opens path for reading and writing.
    explicit CheckedTagStream(const QString& path);
    ~CheckedTagStream() override;

    // errno of the first failed operation; 0 when none failed.
    int Error() const { return m_error; }
    bool Failed() const { return m_error != 0; }

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector& data) override;
    void insert(const TagLib::ByteVector& data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override { return false; }
    bool isOpen() const override { return m_fd >= 0; }
    void seek(long offset, Position p = Beginning) override;
    long tell() const override { return m_position; }
    long length() override;
    void truncate(long length) override;

private:
    bool readAt(long offset, char* data, long length);
    bool writeAt(long offset, const char* data, long length);
    // Moves the bytes from `from` to the end of the file by `by` bytes
    // (forward when positive), chunk by chunk so that no byte is
    // overwritten before it is moved.
    void moveTail(long from, long by);
    void fail();

    QByteArray m_name;
    int m_fd = -1;
    long m_position = 0;
    int m_error = 0;
};
