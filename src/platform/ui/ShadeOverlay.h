#pragma once
#include <QWidget>

// Grey dots over one pixel in four, dimming the window behind a modal one.
class ShadeOverlay : public QWidget {
    Q_OBJECT
public:
    explicit ShadeOverlay(QWidget* parent);
    // Shades the whole parent at once, before a modal window opens.
    void Cover();

protected:
    void paintEvent(QPaintEvent* event) override;
};
