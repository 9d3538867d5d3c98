#pragma once
#include "platform/TagFields.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <taglib/flacpicture.h>
#include <taglib/xiphcomment.h>

// The fields of a Vorbis comment, as FLAC, Opus and Ogg Vorbis files hold
// them: the names MusicBrainz's tagger gives, the front cover as a FLAC
// picture, the REPLAYGAIN_* values.
class XiphFields {
public:
    // The text, number and identifier fields; an empty one is left out.
    static void Put(TagLib::Ogg::XiphComment& tag, const TagFields& fields);
    // Every value of the field of this name, in order.
    using Values = std::function<QStringList(const char* name)>;
    static void Get(const Values& values, TagFields& fields);
    // The values of a TagLib comment's fields.
    static Values Of(const TagLib::Ogg::FieldListMap& map);
    static void PutReplayGain(TagLib::Ogg::XiphComment& tag, const TagFields::ReplayGain& gain);
    static void GetReplayGain(const TagLib::Ogg::FieldListMap& map, TagFields::ReplayGain& gain);
    // The front cover (picture type 3) to be added; null when there is none.
    static TagLib::FLAC::Picture* FrontCover(const TagFields& fields);
    static void GetFrontCover(const TagLib::List<TagLib::FLAC::Picture*>& pictures, TagFields& fields);
    // Replaces the field by value, or removes it when value is empty.
    static void PutValue(TagLib::Ogg::XiphComment& tag, const char* name, const QString& value);
    // Replaces the field by one field a value.
    static void PutAll(TagLib::Ogg::XiphComment& tag, const char* name, const QStringList& values);
    static QString First(const TagLib::Ogg::FieldListMap& map, const char* name);
};
