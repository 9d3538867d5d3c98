#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// Reads, writes and removes the ID3v1 tag of one file: the 128-byte trailer
// at the end of the file. Text fields are ISO-8859-1 in the file.
// Failures are reported through Error and onError; only file-system failures
// while reading or cutting the file are raised (as FileError).
class TMP3Info {
public:
    static constexpr int TagSize = 128;
    static constexpr int TextFieldSize = 30;
    static constexpr int YearFieldSize = 4;
    static constexpr int TrackCommentSize = 28;
    using TNotifyEvent = std::function<void(TMP3Info* sender)>;

    TMP3Info() = default;
    TMP3Info(const TMP3Info&) = delete;
    TMP3Info& operator=(const TMP3Info&) = delete;

    const QString& Filename() const { return m_filename; }
    // Stores the name and reads the file's tag at once.
    void SetFilename(const QString& name);

    const QString& Title() const { return m_title; }
    void SetTitle(const QString& v);
    const QString& Artist() const { return m_artist; }
    void SetArtist(const QString& v);
    const QString& Album() const { return m_album; }
    void SetAlbum(const QString& v);
    const QString& Year() const { return m_year; }
    void SetYear(const QString& v);
    const QString& Comment() const { return m_comment; }
    void SetComment(const QString& v);
    uint8_t GenreID() const { return m_genreID; }
    // A number past the genre table stores 12 ("Other").
    void SetGenreID(uint8_t v);
    const QString& Genre() const { return m_genre; }
    // ID3v1.1 track number, 0 for none. Written only when the comment leaves
    // room for it (28 bytes at most).
    uint8_t Track() const { return m_track; }
    void SetTrack(uint8_t v);

    bool Valid() const { return m_valid; }
    bool Saved() const { return m_saved; }
    const QString& Error() const { return m_error; }
    const QStringList& Genres() const;

    void Save();
    void RemoveID3();

    TNotifyEvent onChangeFile;
    TNotifyEvent onChange;
    TNotifyEvent onError;

    // The text as the tag stores it: ISO-8859-1, "?" for any other character.
    static QByteArray ToTagBytes(const QString& text);
    // At most `limit` characters, never splitting one (each becomes one tag byte).
    static QString FirstCharacters(const QString& text, int limit);

private:
    void ReadID3();
    void readFields(const QByteArray& trailer);
    void clearFields();
    QByteArray buildTrailer() const;
    bool makeWritable();
    bool writeTrailer(const QByteArray& trailer);
    bool cannotWrite(const class QFile& file);
    void setText(QString& field, const QString& v, int limit);
    void storeGenre(uint8_t v);
    void report(const QString& text);
    void raise(const TNotifyEvent& event);

    QString m_filename;
    QString m_title, m_artist, m_album, m_year, m_comment;
    uint8_t m_genreID = 12;
    uint8_t m_track = 0;
    QString m_genre = QStringLiteral("Other");
    bool m_valid = false;
    bool m_saved = false;
    QString m_error;
};
