#pragma once
#include <QAbstractTableModel>

class AlbumSheet;

// The album sheet as the main window's track list shows it: one row per
// track, the label with its tick in column 0, then the seven track values.
// Ticking a row ticks the sheet's track; every change of the sheet shows.
class TrackListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TrackListModel(AlbumSheet& sheet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void trackChanged(int k);

    AlbumSheet& m_sheet;
};
