#include "platform/ui/EventWatcher.h"
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>

EventWatcher::EventWatcher(QWidget* widget) : QObject(widget)
{
    widget->installEventFilter(this);
}

bool EventWatcher::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = static_cast<QWidget*>(watched);
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
    case QEvent::FocusOut: {
        // Another window taking the focus (a message box, a menu) is no exit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit exited();
        break;
    }
    default:
        break;
    }
    return false;
}
