#pragma once
#include <QList>
#include <QObject>
#include <QPointer>

class QFocusFrame;
class QWidget;

// Signals for a widget that has none of its own for these events: a click
// (left button pressed and released over it), the mouse entering and
// leaving it, and the keyboard focus moving to another control of the same
// window. Owned by the widget it watches.
//
// A widget whose click is listened to acts as a button for keyboard users
// and screen readers: Tab reaches it, Space or Enter clicks it, a frame shows
// its focus, and it is announced as a button that can be pressed.
class EventWatcher : public QObject {
    Q_OBJECT
public:
    explicit EventWatcher(QWidget* widget);
    ~EventWatcher() override;

    // The focus moving between the widget and a companion is no exit.
    void ShareFocusWith(const QList<QWidget*>& companions);
    // Clicks the widget as the mouse does.
    void click();
    // The watcher that makes `widget` a button, if any.
    static EventWatcher* ClickableOf(const QObject* widget);

signals:
    void clicked();
    void entered();
    void left();
    void exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;

private:
    // The focus moved from the widget or a companion to a control outside them.
    bool leavesGroup(const QEvent* event) const;
    bool keyClicks(const QEvent* event) const;
    void showFocus(bool shown);

    QWidget* m_widget;
    QList<QWidget*> m_companions;
    QPointer<QFocusFrame> m_focusFrame;
    bool m_pressed = false;
    bool m_clickable = false;
};
