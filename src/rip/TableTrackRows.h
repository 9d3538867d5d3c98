#pragma once
#include "rip/ITrackRows.h"

class ITrackTable;

// The tracks of a track table's album sheet as a rip run reads them.
class TableTrackRows : public ITrackRows {
public:
    explicit TableTrackRows(ITrackTable& table) : m_table(table) {}
    int RowCount() const override;
    AlbumTrack Row(int k) const override;
    QString Folder() const override;

private:
    ITrackTable& m_table;
};
