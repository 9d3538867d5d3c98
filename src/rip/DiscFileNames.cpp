#include "rip/DiscFileNames.h"
#include "platform/TargetNameRule.h"
#include "rip/Playlist.h"
#include "rip/RipCueSheet.h"
#include "rip/RipLog.h"
#include <QFile>

DiscFileNames::DiscFileNames(const QString& folder, const AlbumTrack& first, const DiscToc& toc)
    : m_folder(folder), m_artist(first.value(AlbumTrack::Artist)), m_album(first.value(AlbumTrack::Album))
{
    const QString id = RipCueSheet::DiscId(toc);
    if (id.isEmpty())
        return;
    // Names with the id from an earlier run stand even once the album's are free again.
    m_discId = id;
    if (owner(id) == Owner::ThisDisc)
        return;
    m_discId.clear();
    if (owner(id) == Owner::AnotherDisc)
        m_discId = id;
}

QString DiscFileNames::File(const QString& ending) const
{
    return TargetNameRule::InsideFolder(m_folder, Playlist::FileName(m_folder, m_artist, m_album, ending, m_discId));
}

// The playlist carries no id: the cue sheet and the log beside it tell whose it is.
DiscFileNames::Owner DiscFileNames::owner(const QString& discId) const
{
    const Owner cue = ownerOf(RipCueSheet::FileName(File(Playlist::Ending)), discId);
    const Owner log = ownerOf(File(RipLog::Ending), discId);
    if (cue == Owner::AnotherDisc || log == Owner::AnotherDisc)
        return Owner::AnotherDisc;
    return cue == Owner::ThisDisc || log == Owner::ThisDisc ? Owner::ThisDisc : Owner::Nobody;
}

DiscFileNames::Owner DiscFileNames::ownerOf(const QString& path, const QString& discId)
{
    QFile file(path);
    if (!file.exists())
        return Owner::Nobody;
    if (!file.open(QIODevice::ReadOnly))
        return Owner::AnotherDisc;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        for (const QString& start : {RipCueSheet::DiscIdStart, RipLog::DiscIdStart})
            if (line.startsWith(start) && line.mid(start.size()).compare(discId, Qt::CaseInsensitive) == 0)
                return Owner::ThisDisc;
    }
    return Owner::AnotherDisc;
}
