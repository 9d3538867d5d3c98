#pragma once
#include "platform/TagFields.h"
#include <QString>

// The Vorbis comment of an Opus (.opus) or Ogg Vorbis (.ogg) file, through
// TagLib, with FLAC's fields and the front cover as METADATA_BLOCK_PICTURE.
// An Ogg Vorbis file takes the REPLAYGAIN_* values; an Opus file takes
// R128_TRACK_GAIN and R128_ALBUM_GAIN instead, its header's output gain
// left at 0, as Opus players expect.
class OggTag {
public:
    // Replaces the file's comment by these fields; an empty field is left
    // out. Raises FileError with a French text on failure.
    static void Write(const QString& path, const TagFields& fields);
    // False when the file is no Opus or Ogg Vorbis stream. Either kind is
    // known by its header, whatever the name of the file.
    static bool Read(const QString& path, TagFields& fields);
    static bool IsOgg(const QString& path);
    static bool IsOpus(const QString& path);
    // The R128 value, in 1/256 dB relative to -23 LUFS, of a ReplayGain 2.0
    // gain (relative to -18 LUFS), and back.
    static int R128Of(double replayGainDb);
    static double ReplayGainOf(int r128);
};
