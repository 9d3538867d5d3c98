#include "platform/MusicBrainzDiscId.h"
#include "platform/CalvenorError.h"
#include <discid/discid.h>
#include <memory>
#include <vector>

namespace {
using DiscIdHandle = std::unique_ptr<DiscId, void (*)(DiscId*)>;
constexpr int MaxTracks = 99;
} // namespace

QString MusicBrainzDiscId::FromToc(int firstTrack, const QList<int>& starts, int leadOut)
{
    const int lastTrack = firstTrack + static_cast<int>(starts.size()) - 1;
    if (starts.isEmpty() || firstTrack < 1 || lastTrack > MaxTracks)
        throw CalvenorError(
            QStringLiteral("Identifiant MusicBrainz impossible : le disque a %1 pistes audio.").arg(starts.size()));
    DiscIdHandle disc(discid_new(), discid_free);
    if (!disc)
        throw CalvenorError(QStringLiteral("Identifiant MusicBrainz impossible : mémoire insuffisante."));
    // libdiscid's layout: the lead-out in entry 0, track k in entry k.
    std::vector<int> offsets(MaxTracks + 1, 0);
    offsets[0] = leadOut;
    for (int k = 0; k < starts.size(); ++k)
        offsets[firstTrack + k] = starts.at(k);
    if (!discid_put(disc.get(), firstTrack, lastTrack, offsets.data()))
        throw CalvenorError(QStringLiteral("Identifiant MusicBrainz impossible : la table des matières est incohérente "
                                           "(fin du disque à %1, dernière piste à %2).")
                                .arg(leadOut)
                                .arg(starts.last()));
    return QString::fromLatin1(discid_get_id(disc.get()));
}
