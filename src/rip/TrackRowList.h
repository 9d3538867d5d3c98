#pragma once
#include "rip/ITrackRows.h"
#include <QList>

// Track rows held in memory, for a rip run without the main window.
class TrackRowList : public ITrackRows {
public:
    TrackRowList(const QList<TrackRow>& rows, const QString& folder) : m_rows(rows), m_folder(folder) {}
    int RowCount() const override { return m_rows.size(); }
    TrackRow Row(int k) const override { return m_rows.at(k - 1); }
    QString Folder() const override { return m_folder; }

private:
    QList<TrackRow> m_rows;
    QString m_folder;
};
