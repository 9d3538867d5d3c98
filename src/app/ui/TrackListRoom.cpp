#include "app/ui/TrackListRoom.h"
#include <QEvent>
#include <QTreeView>
#include <algorithm>

TrackListRoom::TrackListRoom(QTreeView& list, int titleColumn, int targetColumn)
    : QObject(&list), m_list(list), m_titleColumn(titleColumn), m_targetColumn(targetColumn),
      m_least{list.columnWidth(titleColumn), list.columnWidth(targetColumn)}
{
    list.viewport()->installEventFilter(this);
    SetFor(list.width());
    connect(list.model(), &QAbstractItemModel::dataChanged, this, [this] { rebalance(); });
    connect(list.model(), &QAbstractItemModel::modelReset, this, [this] { rebalance(); });
}

void TrackListRoom::SetFor(int listWidth)
{
    m_width = listWidth - 2 * m_list.frameWidth();
}

TrackListRoom::Widths TrackListRoom::Rebalance(Widths now, Widths least, int titleNeed)
{
    const int moved = std::clamp(titleNeed - now.title, 0, std::max(0, now.target - least.target));
    return {now.title + moved, now.target - moved};
}

TrackListRoom::Widths TrackListRoom::Share(Widths now, int growth, Widths least, int titleNeed)
{
    if (growth >= 0) {
        const int toTitle = std::clamp(titleNeed - now.title, 0, growth);
        return {now.title + toTitle, now.target + growth - toTitle};
    }
    int loss = -growth;
    const int fromTarget = std::clamp(now.target - least.target, 0, loss);
    loss -= fromTarget;
    const int fromTitle = std::clamp(now.title - least.title, 0, loss);
    return {now.title - fromTitle, now.target - fromTarget};
}

bool TrackListRoom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list.viewport() && event->type() == QEvent::Resize) {
        const int width = m_list.viewport()->width();
        if (width != m_width)
            grow(width - m_width);
        m_width = width;
    }
    return QObject::eventFilter(watched, event);
}

void TrackListRoom::grow(int growth)
{
    apply(Share(widths(), growth, m_least, titleNeed()));
}

void TrackListRoom::rebalance()
{
    apply(Rebalance(widths(), m_least, titleNeed()));
}

TrackListRoom::Widths TrackListRoom::widths() const
{
    return {m_list.columnWidth(m_titleColumn), m_list.columnWidth(m_targetColumn)};
}

void TrackListRoom::apply(Widths widths)
{
    m_list.setColumnWidth(m_titleColumn, widths.title);
    m_list.setColumnWidth(m_targetColumn, widths.target);
}

// What the titles need is only told by fitting the column to them.
int TrackListRoom::titleNeed()
{
    const int width = m_list.columnWidth(m_titleColumn);
    m_list.resizeColumnToContents(m_titleColumn);
    const int need = m_list.columnWidth(m_titleColumn);
    m_list.setColumnWidth(m_titleColumn, width);
    return need;
}
