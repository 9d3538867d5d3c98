#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

struct FLAC__Metadata_Chain;

// The Vorbis comment and front cover of a FLAC file, read with libFLAC as
// its own tools read them: blocks of a kind it does not know, and a
// picture shorter than its header announces, are passed over.
class FlacMetadata {
public:
    explicit FlacMetadata(const QString& path);

    // Empty when the file was read; else the French reason it was not.
    const QString& Failure() const { return m_failure; }
    bool HasComment() const { return m_hasComment; }
    // The values of a field, in the file's order; names in any letter case.
    QStringList Values(const QString& name) const { return m_comments.value(name.toUpper()); }
    QString First(const QString& name) const { return Values(name).value(0); }
    const QMap<QString, QStringList>& Comments() const { return m_comments; }
    const QByteArray& FrontCover() const { return m_frontCover; }
    const QString& FrontCoverMime() const { return m_frontCoverMime; }

private:
    void readBlocks(FLAC__Metadata_Chain* chain);

    QString m_failure;
    bool m_hasComment = false;
    QMap<QString, QStringList> m_comments;
    QByteArray m_frontCover;
    QString m_frontCoverMime;
};
