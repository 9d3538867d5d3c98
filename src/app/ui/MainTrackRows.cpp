#include "app/ui/MainTrackRows.h"
#include "disc/ITrackTable.h"
#include "platform/TargetNameRule.h"
#include <QTreeWidget>

int MainTrackRows::Count() const
{
    return m_tree.topLevelItemCount();
}

QTreeWidgetItem* MainTrackRows::Item(int k) const
{
    return (k >= 1 && k <= Count()) ? m_tree.topLevelItem(k - 1) : nullptr;
}

QString MainTrackRows::Value(const QTreeWidgetItem* row, int value)
{
    return row->text(value + 1);
}

void MainTrackRows::SetValue(QTreeWidgetItem* row, int value, const QString& text)
{
    row->setText(value + 1, text);
}

QString MainTrackRows::Label(const QTreeWidgetItem* row)
{
    return row->text(0);
}

bool MainTrackRows::Ticked(const QTreeWidgetItem* row)
{
    return row->checkState(0) == Qt::Checked;
}

int MainTrackRows::SelectedSlot() const
{
    const QList<QTreeWidgetItem*> selected = m_tree.selectedItems();
    return selected.isEmpty() ? 0 : m_tree.indexOfTopLevelItem(selected.first()) + 1;
}

void MainTrackRows::Select(int k)
{
    if (QTreeWidgetItem* row = Item(k))
        m_tree.setCurrentItem(row);
}

int MainTrackRows::TickedCount() const
{
    int ticked = 0;
    for (int k = 1; k <= Count(); ++k)
        if (Ticked(Item(k)))
            ++ticked;
    return ticked;
}

void MainTrackRows::TickAll(bool ticked)
{
    for (int k = 1; k <= Count(); ++k)
        Item(k)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

void MainTrackRows::Clear()
{
    m_tree.clear();
}

void MainTrackRows::Build(const QList<TrackRow>& tracks)
{
    Clear();
    for (const TrackRow& track : tracks) {
        auto* row = new QTreeWidgetItem(&m_tree);
        row->setText(0, track.Label);
        row->setFlags((row->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
        row->setCheckState(0, Qt::Unchecked);
    }
}

void MainTrackRows::Retarget(const QString& folder, bool mp3)
{
    for (int k = 1; k <= Count(); ++k) {
        QTreeWidgetItem* row = Item(k);
        SetValue(row, ITrackTable::TargetValue,
                 TargetNameRule::ComposeTargetPath(folder, Label(row), Value(row, ITrackTable::AlbumValue),
                                                   Value(row, ITrackTable::ArtistValue),
                                                   Value(row, ITrackTable::TitleValue), mp3));
    }
}

void MainTrackRows::SetExtensions(const QString& extension)
{
    for (int k = 1; k <= Count(); ++k) {
        QTreeWidgetItem* row = Item(k);
        SetValue(row, ITrackTable::TargetValue,
                 TargetNameRule::ReplaceLastFour(Value(row, ITrackTable::TargetValue), extension));
    }
}
