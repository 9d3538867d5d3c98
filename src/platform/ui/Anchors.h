#pragma once
#include <QHash>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps controls laid out for a window's smallest size in place as the window
// grows: each keeps its distances to the sides it is anchored to, and a
// control anchored to two opposite sides grows with the window.
class Anchors : public QObject {
    Q_OBJECT
public:
    enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8 };
    static constexpr int All = Left | Top | Right | Bottom;

    // The container's children were placed for a container of designSize.
    Anchors(QWidget& container, QSize designSize);

    // Anchors a child placed at its design place; an unanchored child keeps Left | Top.
    void Pin(QWidget* child, int sides);
    // Where a child anchored so, placed at design, goes in a container of that size.
    static QRect Placed(const QRect& design, int sides, QSize designSize, QSize size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget& m_container;
    QSize m_design;
    struct Pinned {
        QRect design;
        int sides;
    };
    QHash<QWidget*, Pinned> m_pinned;
};
