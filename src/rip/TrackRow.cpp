#include "rip/TrackRow.h"
#include "platform/TargetNameRule.h"

QList<TrackRow> TrackRow::FromTracks(const QList<TrackEntry>& tracks, int maxRows)
{
    QList<TrackRow> rows;
    for (const TrackEntry& entry : tracks) {
        if (entry.Track.Kind != QLatin1String("Audio"))
            continue;
        if (rows.size() == maxRows)
            break;
        TrackRow row;
        row.Label = TargetNameRule::LabelFromDigits(entry.Name.mid(5, 2));
        rows.append(row);
    }
    return rows;
}
