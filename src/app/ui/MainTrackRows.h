#pragma once
#include "rip/TrackRow.h"
#include <QList>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// The track rows of the main window's list: column 0 holds the label and the
// tick, the next seven the row values. Slot k (1-based) is the k-th row.
class MainTrackRows {
public:
    explicit MainTrackRows(QTreeWidget& tree) : m_tree(tree) {}

    int Count() const;
    // Null outside 1..Count().
    QTreeWidgetItem* Item(int k) const;
    static QString Value(const QTreeWidgetItem* row, int value);
    static void SetValue(QTreeWidgetItem* row, int value, const QString& text);
    static QString Label(const QTreeWidgetItem* row);
    static bool Ticked(const QTreeWidgetItem* row);
    // 0 when no row is selected.
    int SelectedSlot() const;
    void Select(int k);
    int TickedCount() const;
    void TickAll(bool ticked);

    void Clear();
    // One unticked row per track, with its label only.
    void Build(const QList<TrackRow>& tracks);
    // Every row's target path from the folder and its values.
    void Retarget(const QString& folder, bool mp3);
    // Every target path with another four-character extension.
    void SetExtensions(const QString& extension);

private:
    QTreeWidget& m_tree;
};
