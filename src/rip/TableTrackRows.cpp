#include "rip/TableTrackRows.h"
#include "disc/ITrackTable.h"

int TableTrackRows::RowCount() const
{
    return m_table.RowCount();
}

TrackRow TableTrackRows::Row(int k) const
{
    TrackRow row;
    if (k < 1 || k > m_table.RowCount())
        return row;
    row.Label = m_table.RowLabel(k);
    for (int v = 0; v < TrackRow::ValueCount; ++v)
        row.Values[v] = m_table.Cell(k, v);
    row.Ticked = m_table.RowTicked(k);
    return row;
}

QString TableTrackRows::Folder() const
{
    return m_table.Folder();
}
