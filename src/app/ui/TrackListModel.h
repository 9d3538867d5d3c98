#pragma once
#include "disc/AlbumTrack.h"
#include "rip/TrackRipResult.h"
#include <QAbstractTableModel>
#include <QHash>

class AlbumSheet;
class DiscToc;
class RipReport;

// The album sheet as the main window's track list shows it: one row per
// track, the label with its tick in column 0, the track's length, the seven
// track values, then what the last rip made of it. Ticking a row ticks the
// sheet's track; every change of the sheet shows.
class TrackListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // toc: the table of contents of the disc listed, kept up to date by its owner.
    TrackListModel(AlbumSheet& sheet, const DiscToc& toc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The column that shows a track value.
    static int ColumnOf(AlbumTrack::Value value);
    // The result of each track of a run, shown until the disc changes.
    void ShowResults(const RipReport& report);

private:
    void trackChanged(int k);
    QString lengthOf(int number) const;

    AlbumSheet& m_sheet;
    const DiscToc& m_toc;
    QHash<int, TrackRipResult> m_results; // by track number
};
