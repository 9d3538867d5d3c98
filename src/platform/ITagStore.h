#pragma once
#include "platform/TagFields.h"
#include <QString>

// A track's tags in audio files, each file taking the kinds of tag its
// extension calls for. Lets lower layers carry tags they cannot write alone.
class ITagStore {
public:
    virtual ~ITagStore() = default;
    // False when the file holds no tag value.
    virtual bool Read(const QString& path, TagFields& fields) = 0;
    // Writes fields into the file whose bytes are reached at `data`, as the
    // tags of a file named `name` (which picks the kinds and names it in
    // messages). Raises CalvenorError with a French text on failure.
    virtual void Write(const QString& data, const QString& name, const TagFields& fields) = 0;
};
