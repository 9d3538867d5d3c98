#pragma once
#include "rip/ITrackRows.h"

class ITrackTable;

// The rows of a track table as a rip run reads them.
class TableTrackRows : public ITrackRows {
public:
    explicit TableTrackRows(ITrackTable& table) : m_table(table) {}
    int RowCount() const override;
    TrackRow Row(int k) const override;
    QString Folder() const override;

private:
    ITrackTable& m_table;
};
