#include "rip/TrackRow.h"
#include "platform/TargetNameRule.h"

QList<TrackRow> TrackRow::FromTracks(const QList<TrackEntry>& tracks)
{
    QList<TrackRow> rows;
    for (const TrackEntry& entry : tracks) {
        if (entry.Track.Kind != QLatin1String("Audio"))
            continue;
        // The list holds at most 50 rows; further tracks cannot be reached.
        if (rows.size() == MaxRows)
            break;
        TrackRow row;
        row.Label = TargetNameRule::LabelFromDigits(entry.Name.mid(5, 2));
        rows.append(row);
    }
    return rows;
}
