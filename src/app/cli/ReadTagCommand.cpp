#include "app/cli/ReadTagCommand.h"
#include "platform/CalvenorError.h"
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"

void ReadTagCommand::Run(const QString& path, QTextStream& out)
{
    TMP3Info info;
    TagFields tag;
    if (!TrackTags::Read(info, path, tag))
        throw CalvenorError(QStringLiteral("%1 : %2").arg(path, info.Error()));
    out << "title=" << tag.title << '\n'
        << "artist=" << tag.artist << '\n'
        << "album=" << tag.album << '\n'
        << "year=" << tag.year << '\n'
        << "comment=" << tag.comment << '\n'
        << "genre=" << tag.genre << '\n';
    if (tag.track > 0)
        out << "track=" << tag.track << '\n';
}
