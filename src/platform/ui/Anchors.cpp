#include "platform/ui/Anchors.h"
#include <QEvent>
#include <QWidget>

Anchors::Anchors(QWidget& container, QSize designSize) : QObject(&container), m_container(container), m_design(designSize)
{
    container.installEventFilter(this);
}

void Anchors::Pin(QWidget* child, int sides)
{
    m_pinned.insert(child, {child->geometry(), sides});
    connect(child, &QObject::destroyed, this, [this, child] { m_pinned.remove(child); });
    child->setGeometry(Placed(child->geometry(), sides, m_design, m_container.size()));
}

namespace {
// One axis: the start and length of a span anchored to its near side, its far side, or both.
void stretch(int& start, int& length, bool nearSide, bool farSide, int growth)
{
    if (nearSide && farSide)
        length += growth;
    else if (farSide)
        start += growth;
}
} // namespace

QRect Anchors::Placed(const QRect& design, int sides, QSize designSize, QSize size)
{
    int x = design.x(), y = design.y(), width = design.width(), height = design.height();
    stretch(x, width, sides & Left, sides & Right, size.width() - designSize.width());
    stretch(y, height, sides & Top, sides & Bottom, size.height() - designSize.height());
    return QRect(x, y, width, height);
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_container && event->type() == QEvent::Resize)
        place();
    return QObject::eventFilter(watched, event);
}

void Anchors::place()
{
    for (auto it = m_pinned.cbegin(); it != m_pinned.cend(); ++it)
        it.key()->setGeometry(Placed(it->design, it->sides, m_design, m_container.size()));
}
