#include "TagFiles.h"
#include <QFile>
#include <stdexcept>

QString TagFiles::Write(const QString& name, const QByteArray& content) const
{
    const QString path = Path(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write test file");
    return path;
}

QByteArray TagFiles::ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read test file");
    return file.readAll();
}

QByteArray TagFiles::Trailer(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                             const QByteArray& year, const QByteArray& comment, uint8_t genre, char pad)
{
    auto field = [pad](const QByteArray& text, int width) { return text.leftJustified(width, pad, true); };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + field(comment, 30)
           + QByteArray(1, char(genre));
}

QByteArray TagFiles::Body(int size)
{
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i)
        body[i] = char((i * 37 + 11) & 0xFF);
    return body;
}
