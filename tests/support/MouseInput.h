#pragma once

class QWidget;

// Mouse events sent straight to a widget, as the window system would.
class MouseInput {
public:
    // Left button pressed and released in the middle of the widget.
    static void Click(QWidget* widget);
    static void Enter(QWidget* widget);
    static void Leave(QWidget* widget);
};
