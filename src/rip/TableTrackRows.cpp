#include "rip/TableTrackRows.h"
#include "disc/AlbumSheet.h"
#include "disc/ITrackTable.h"

int TableTrackRows::RowCount() const
{
    return m_table.Sheet().TrackCount();
}

TrackRow TableTrackRows::Row(int k) const
{
    TrackRow row;
    const AlbumSheet& sheet = m_table.Sheet();
    if (!sheet.HasSlot(k))
        return row;
    const AlbumTrack& track = sheet.Track(k);
    row.Label = track.Label();
    for (int v = 0; v < TrackRow::ValueCount; ++v)
        row.Values[v] = track.values.at(v);
    row.Ticked = track.ticked;
    return row;
}

QString TableTrackRows::Folder() const
{
    return m_table.Folder();
}
