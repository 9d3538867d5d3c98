#pragma once
#include "platform/TagFields.h"
#include <QString>

class TMP3Info;

// A track's tags in a file: an ID3v2.4 tag in full at the start of an MP3
// file, and the ID3v1 trailer (cut to its field widths) of every file but a
// FLAC file, which holds a Vorbis comment only.
class TrackTags {
public:
    // Writes both; raises CalvenorError when one cannot be written.
    static void Write(TMP3Info& id3v1, const QString& path, const TagFields& fields);
    // The same into the bytes reached at data (a path without the file's
    // name), as the tags of the file called name, which messages name.
    static void WriteAs(TMP3Info& id3v1, const QString& data, const QString& name, const TagFields& fields);
    // The Vorbis comment of a FLAC file; else the ID3v2 tag where the file
    // has one, else the ID3v1 trailer; false when it has none, why then
    // saying why (id3v1.Error() for a file that is no FLAC).
    static bool Read(TMP3Info& id3v1, const QString& path, TagFields& fields, QString* why = nullptr);
    static bool IsMp3(const QString& path);

private:
    static void write(TMP3Info& id3v1, const QString& data, const QString& name, const TagFields& fields);
};
