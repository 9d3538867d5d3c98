#pragma once
#include <QByteArray>
#include <QString>

// A front cover as its encoded bytes, kept as they came: a JPEG or PNG image
// that Qt decodes, never re-encoded. No image may say why it could not be had.
struct CoverImage {
    static const QString JpegMime; // "image/jpeg"
    static const QString PngMime;  // "image/png"
    // Larger files are no covers a player shows, and would swell every track.
    static constexpr qsizetype MaxBytes = 10 * 1024 * 1024;
    // A CD booklet scanned at 1100 dpi (some 5200 pixels a side) passes; 32
    // million 32-bit pixels take 128 MB, within Qt's own allocation limit
    // (128 MiB), so that Qt never refuses, and warns about, an image taken here.
    static constexpr int MaxSide = 10000;
    static constexpr qint64 MaxPixels = 32'000'000;

    QByteArray bytes;
    QString mime;
    // When there are no bytes: why, in a few French words ("image illisible");
    // empty when there was no image to be had.
    QString failure;

    bool IsEmpty() const { return bytes.isEmpty(); }
    // No image, for this reason.
    static CoverImage Failed(const QString& failure) { return {QByteArray(), QString(), failure}; }
    // The failure of an image over maxBytes: "image trop lourde : plus de 10 Mio".
    static QString TooHeavy(qsizetype maxBytes);
    // The bytes as a cover, after their size, then the header's dimensions,
    // are checked; else empty with its failure.
    static CoverImage FromBytes(const QByteArray& bytes);
    // The file's image; raises CalvenorError with a French text when it cannot
    // be read or is no JPEG or PNG image.
    static CoverImage FromFile(const QString& path);
    // "cover.jpg" or "cover.png", after the image's type.
    QString FileName() const;
};
