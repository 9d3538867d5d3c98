#include "app/ui/TrackListRoom.h"
#include <QEvent>
#include <QTreeView>
#include <algorithm>

TrackListRoom::TrackListRoom(QTreeView& list, int titleColumn, int targetColumn)
    : QObject(&list), m_list(list), m_titleColumn(titleColumn), m_targetColumn(targetColumn),
      m_least{list.columnWidth(titleColumn), list.columnWidth(targetColumn)}
{
    list.viewport()->installEventFilter(this);
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
        // The first size is the one the columns were given for.
        if (m_width >= 0 && width != m_width)
            grow(width - m_width);
        m_width = width;
    }
    return QObject::eventFilter(watched, event);
}

void TrackListRoom::grow(int growth)
{
    const Widths now{m_list.columnWidth(m_titleColumn), m_list.columnWidth(m_targetColumn)};
    // What the titles need is only told by fitting the column to them.
    m_list.resizeColumnToContents(m_titleColumn);
    const int titleNeed = m_list.columnWidth(m_titleColumn);
    const Widths shared = Share(now, growth, m_least, titleNeed);
    m_list.setColumnWidth(m_titleColumn, shared.title);
    m_list.setColumnWidth(m_targetColumn, shared.target);
}
