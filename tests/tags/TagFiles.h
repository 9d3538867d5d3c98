#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Files for the tag tests, in a temporary folder removed with the object.
class TagFiles {
public:
    QString Write(const QString& name, const QByteArray& content) const;
    static QByteArray ReadAll(const QString& path);
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A trailer: "TAG" and the given fields (bytes as they stand in the file),
    // each padded with `pad` up to its width, then the genre byte.
    static QByteArray Trailer(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                              const QByteArray& year, const QByteArray& comment, uint8_t genre, char pad = ' ');
    // Audio-like bytes that hold no tag.
    static QByteArray Body(int size);

private:
    QTemporaryDir m_dir;
};
