#include "tags/FileTagStore.h"
#include "tags/TrackTags.h"

bool FileTagStore::Read(const QString& path, TagFields& fields)
{
    // A FLAC file always holds a Vorbis comment, if only the encoder's name:
    // one without a value is no tag.
    return TrackTags::Read(m_id3v1, path, fields) && !fields.Empty();
}

void FileTagStore::Write(const QString& data, const QString& name, const TagFields& fields)
{
    TrackTags::WriteAs(m_id3v1, data, name, fields);
}
