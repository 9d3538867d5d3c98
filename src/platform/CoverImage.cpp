#include "platform/CoverImage.h"
#include "platform/CalvenorError.h"
#include "platform/MutedImageWarnings.h"
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

const QString CoverImage::JpegMime = QStringLiteral("image/jpeg");
const QString CoverImage::PngMime = QStringLiteral("image/png");

namespace {
constexpr qsizetype Mebibyte = 1024 * 1024;

QString mimeOf(const QByteArray& format)
{
    if (format == "jpeg" || format == "jpg")
        return CoverImage::JpegMime;
    if (format == "png")
        return CoverImage::PngMime;
    return QString();
}

bool tooLarge(const QSize& size)
{
    return size.width() > CoverImage::MaxSide || size.height() > CoverImage::MaxSide
        || qint64(size.width()) * size.height() > CoverImage::MaxPixels;
}
} // namespace

QString CoverImage::TooHeavy(qsizetype maxBytes)
{
    return QStringLiteral("image trop lourde : plus de %1 Mio").arg(maxBytes / Mebibyte);
}

// Qt would allocate what the header claims before reading a single pixel.
CoverImage CoverImage::FromBytes(const QByteArray& bytes)
{
    if (bytes.size() > MaxBytes)
        return Failed(TooHeavy(MaxBytes));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const MutedImageWarnings muted;
    QImageReader reader(&buffer);
    const QString mime = mimeOf(reader.format());
    if (mime.isEmpty())
        return Failed(QStringLiteral("pas une image JPEG ou PNG"));
    const QSize size = reader.size();
    if (size.isValid() && tooLarge(size))
        return Failed(QStringLiteral("image trop grande : %1 × %2 pixels").arg(size.width()).arg(size.height()));
    if (!size.isValid() || reader.read().isNull())
        return Failed(QStringLiteral("image illisible"));
    return {bytes, mime, QString()};
}

CoverImage CoverImage::FromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CalvenorError(QStringLiteral("Le fichier « %1 » n'a pas pu être ouvert : %2").arg(path, file.errorString()));
    const CoverImage cover = file.size() <= MaxBytes ? FromBytes(file.readAll()) : Failed(TooHeavy(MaxBytes));
    if (cover.IsEmpty())
        throw CalvenorError(
            QStringLiteral("Le fichier « %1 » ne peut pas servir de pochette (%2).").arg(path, cover.failure));
    return cover;
}

QString CoverImage::FileName() const
{
    return mime == PngMime ? QStringLiteral("cover.png") : QStringLiteral("cover.jpg");
}
