#pragma once
#include "platform/TagFields.h"
#include <QString>

// The Vorbis comment of a FLAC file, through TagLib, under the names
// MusicBrainz's tagger gives the fields, the REPLAYGAIN_* values among them.
// The audio is left as it is.
class FlacTag {
public:
    // Replaces the file's Vorbis comment by these fields; an empty field is
    // left out. Raises FileError with a French text on failure.
    static void Write(const QString& path, const TagFields& fields);
    // Read with libFLAC, as its tools read the file. False when the file
    // has no Vorbis comment or cannot be read; why then says why, in French.
    static bool Read(const QString& path, TagFields& fields, QString* why = nullptr);
    static bool IsFlac(const QString& path);
};
