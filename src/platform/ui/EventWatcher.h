#pragma once
#include <QObject>

class QWidget;

// Signals for a widget that has none of its own for these events: a click
// (left button pressed and released over it), the mouse entering and
// leaving it, and the keyboard focus moving to another control of the same
// window. Owned by the widget it watches.
class EventWatcher : public QObject {
    Q_OBJECT
public:
    explicit EventWatcher(QWidget* widget);

signals:
    void clicked();
    void entered();
    void left();
    void exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_pressed = false;
};
