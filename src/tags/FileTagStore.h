#pragma once
#include "platform/ITagStore.h"
#include "tags/TMP3Info.h"

// The tags of files on disk, through TrackTags.
class FileTagStore : public ITagStore {
public:
    bool Read(const QString& path, TagFields& fields) override;
    void Write(const QString& data, const QString& name, const TagFields& fields) override;

private:
    TMP3Info m_id3v1;
};
