#include "rip/TableTrackRows.h"
#include "disc/AlbumSheet.h"
#include "disc/ITrackTable.h"

int TableTrackRows::RowCount() const
{
    return m_table.Sheet().TrackCount();
}

AlbumTrack TableTrackRows::Row(int k) const
{
    const AlbumSheet& sheet = m_table.Sheet();
    return sheet.HasSlot(k) ? sheet.Track(k) : AlbumTrack();
}

QString TableTrackRows::Folder() const
{
    return m_table.Folder();
}
