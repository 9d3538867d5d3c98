#pragma once
#include "rip/ITrackRows.h"
#include <QList>

// Tracks held in memory, for a rip run without the main window.
class TrackRowList : public ITrackRows {
public:
    TrackRowList(const QList<AlbumTrack>& rows, const QString& folder) : m_rows(rows), m_folder(folder) {}
    // The rows and folder as they read now: a run on another thread walks
    // this copy, never the window's own rows.
    static TrackRowList CopyOf(const ITrackRows& rows)
    {
        QList<AlbumTrack> copy;
        for (int k = 1; k <= rows.RowCount(); ++k)
            copy << rows.Row(k);
        return TrackRowList(copy, rows.Folder());
    }
    int RowCount() const override { return m_rows.size(); }
    AlbumTrack Row(int k) const override { return m_rows.at(k - 1); }
    QString Folder() const override { return m_folder; }

private:
    QList<AlbumTrack> m_rows;
    QString m_folder;
};
