#include "platform/CoverImage.h"
#include "platform/CalvenorError.h"
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

const QString CoverImage::JpegMime = QStringLiteral("image/jpeg");
const QString CoverImage::PngMime = QStringLiteral("image/png");

namespace {
// Larger files are no covers a player shows, and would swell every track.
constexpr qint64 MaxFileBytes = 10 * 1024 * 1024;

QString mimeOf(const QByteArray& format)
{
    if (format == "jpeg" || format == "jpg")
        return CoverImage::JpegMime;
    if (format == "png")
        return CoverImage::PngMime;
    return QString();
}
} // namespace

CoverImage CoverImage::FromBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    const QString mime = mimeOf(format);
    QImage image;
    if (mime.isEmpty() || !image.loadFromData(bytes, format.constData()) || image.isNull())
        return {};
    return {bytes, mime};
}

CoverImage CoverImage::FromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CalvenorError(QStringLiteral("Le fichier « %1 » n'a pas pu être ouvert : %2").arg(path, file.errorString()));
    const CoverImage cover = file.size() <= MaxFileBytes ? FromBytes(file.readAll()) : CoverImage();
    if (cover.IsEmpty())
        throw CalvenorError(
            QStringLiteral("Le fichier « %1 » n'est pas une image JPEG ou PNG lisible (10 Mio au plus) : il ne peut "
                           "pas servir de pochette.")
                .arg(path));
    return cover;
}

QString CoverImage::FileName() const
{
    return mime == PngMime ? QStringLiteral("cover.png") : QStringLiteral("cover.jpg");
}
