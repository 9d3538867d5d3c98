#pragma once
#include "platform/TagFields.h"
#include <QString>

// The ID3v2 tag at the start of an MP3 file, through TagLib: written as
// ID3v2.4 in UTF-8, ReplayGain as TXXX frames. Every other part of the file (the audio, the encoder's
// Info frame right after the tag, an ID3v1 trailer) is left as it is.
class Id3v2Tag {
public:
    // Replaces the file's ID3v2 tag by one holding these fields; an empty
    // field is left out. Raises FileError with a French text on failure.
    static void Write(const QString& path, const TagFields& fields);
    // The fields of the file's ID3v2 tag; false when it has none.
    static bool Read(const QString& path, TagFields& fields);
};
