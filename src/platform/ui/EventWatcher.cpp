#include "platform/ui/EventWatcher.h"
#include "platform/ui/ClickableAccessible.h"
#include <QApplication>
#include <QFocusEvent>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QWidget>

EventWatcher::EventWatcher(QWidget* widget) : QObject(widget), m_widget(widget)
{
    widget->installEventFilter(this);
}

EventWatcher::~EventWatcher()
{
    delete m_focusFrame;
}

void EventWatcher::ShareFocusWith(const QList<QWidget*>& companions)
{
    m_companions = companions;
    for (QWidget* companion : companions)
        companion->installEventFilter(this);
}

void EventWatcher::click()
{
    emit clicked();
}

EventWatcher* EventWatcher::ClickableOf(const QObject* widget)
{
    for (auto* watcher : widget->findChildren<EventWatcher*>(QString(), Qt::FindDirectChildrenOnly))
        if (watcher->m_clickable)
            return watcher;
    return nullptr;
}

void EventWatcher::connectNotify(const QMetaMethod& signal)
{
    if (m_clickable || signal != QMetaMethod::fromSignal(&EventWatcher::clicked))
        return;
    m_clickable = true;
    // Tab reaches it; a mouse click leaves the focus where it was.
    m_widget->setFocusPolicy(Qt::TabFocus);
    ClickableAccessible::Register(m_widget);
}

bool EventWatcher::leavesGroup(const QEvent* event) const
{
    if (event->type() != QEvent::FocusOut)
        return false;
    // Another window taking the focus (a message box, a menu) is no exit.
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    const QWidget* next = QApplication::focusWidget();
    return !next || (next != m_widget && !m_companions.contains(next));
}

bool EventWatcher::keyClicks(const QEvent* event) const
{
    if (!m_clickable || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return !key->isAutoRepeat()
           && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}

void EventWatcher::showFocus(bool shown)
{
    // Made on the first focus only: a widget being destroyed loses its focus too.
    if (shown && m_clickable && !m_focusFrame)
        m_focusFrame = new QFocusFrame(m_widget);
    if (m_focusFrame)
        m_focusFrame->setWidget(shown ? m_widget : nullptr);
}

bool EventWatcher::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = static_cast<QWidget*>(watched);
    if (leavesGroup(event))
        emit exited();
    if (widget != m_widget)
        return false; // a companion: only its losing the focus matters
    if (keyClicks(event)) {
        emit clicked();
        return true;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = m_pressed && mouse->button() == Qt::LeftButton
                           && widget->rect().contains(mouse->position().toPoint());
        m_pressed = false;
        if (click)
            emit clicked();
        break;
    }
    case QEvent::Enter:
        emit entered();
        break;
    case QEvent::Leave:
        emit left();
        break;
    case QEvent::FocusIn:
        showFocus(true);
        break;
    case QEvent::FocusOut:
        showFocus(false);
        break;
    default:
        break;
    }
    return false;
}
