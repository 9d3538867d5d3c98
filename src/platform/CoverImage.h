#pragma once
#include <QByteArray>
#include <QString>

// A front cover as its encoded bytes, kept as they came: a JPEG or PNG image
// that Qt decodes, never re-encoded.
struct CoverImage {
    static const QString JpegMime; // "image/jpeg"
    static const QString PngMime;  // "image/png"

    QByteArray bytes;
    QString mime;

    bool IsEmpty() const { return bytes.isEmpty(); }
    // The bytes as a cover; empty when they are not a whole JPEG or PNG image.
    static CoverImage FromBytes(const QByteArray& bytes);
    // The file's image; raises CalvenorError with a French text when it cannot
    // be read or is no JPEG or PNG image.
    static CoverImage FromFile(const QString& path);
    // "cover.jpg" or "cover.png", after the image's type.
    QString FileName() const;
};
