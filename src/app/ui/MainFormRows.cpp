#include "app/ui/MainFormRows.h"
#include "app/ui/TMain_Form.h"
#include <QLineEdit>
#include <QTreeWidgetItem>

int MainFormRows::RowCount() const
{
    return m_form.RowCount();
}

TrackRow MainFormRows::Row(int k) const
{
    const QTreeWidgetItem* item = m_form.TrackItems(k);
    TrackRow row;
    if (!item)
        return row;
    row.Label = TMain_Form::Label(item);
    for (int v = 0; v < TrackRow::ValueCount; ++v)
        row.Values[v] = TMain_Form::Value(item, v);
    row.Ticked = TMain_Form::Ticked(item);
    return row;
}

QString MainFormRows::Folder() const
{
    return m_form.DirectoryText->text();
}
