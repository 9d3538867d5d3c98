#include "MouseInput.h"
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
void sendButton(QWidget* widget, QEvent::Type type)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QMouseEvent event(type, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
} // namespace

void MouseInput::Click(QWidget* widget)
{
    sendButton(widget, QEvent::MouseButtonPress);
    sendButton(widget, QEvent::MouseButtonRelease);
}

void MouseInput::Enter(QWidget* widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QEnterEvent event(centre, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &event);
}

void MouseInput::Leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}
