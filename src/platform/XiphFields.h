#pragma once
#include "platform/TagFields.h"
#include <QString>
#include <taglib/flacpicture.h>
#include <taglib/xiphcomment.h>

// The fields of a Vorbis comment, as FLAC, Opus and Ogg Vorbis files hold
// them: the names MusicBrainz's tagger gives, the front cover as a FLAC
// picture, the REPLAYGAIN_* values.
class XiphFields {
public:
    // The text, number and identifier fields; an empty one is left out.
    static void Put(TagLib::Ogg::XiphComment& tag, const TagFields& fields);
    static void Get(const TagLib::Ogg::FieldListMap& map, TagFields& fields);
    static void PutReplayGain(TagLib::Ogg::XiphComment& tag, const TagFields::ReplayGain& gain);
    static void GetReplayGain(const TagLib::Ogg::FieldListMap& map, TagFields::ReplayGain& gain);
    // The front cover (picture type 3) to be added; null when there is none.
    static TagLib::FLAC::Picture* FrontCover(const TagFields& fields);
    static void GetFrontCover(const TagLib::List<TagLib::FLAC::Picture*>& pictures, TagFields& fields);
    // Replaces the field by value, or removes it when value is empty.
    static void PutValue(TagLib::Ogg::XiphComment& tag, const char* name, const QString& value);
    static QString First(const TagLib::Ogg::FieldListMap& map, const char* name);
};
