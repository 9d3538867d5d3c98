#include "platform/ui/ShadeOverlay.h"
#include <QImage>
#include <QPainter>

ShadeOverlay::ShadeOverlay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void ShadeOverlay::Cover()
{
    setGeometry(parentWidget()->rect());
    raise();
    show();
    repaint();
}

void ShadeOverlay::paintEvent(QPaintEvent*)
{
    // A 2x2 tile with one grey pixel: the pixel whose 1-based x and y are both even.
    QImage tile(2, 2, QImage::Format_ARGB32);
    tile.fill(Qt::transparent);
    tile.setPixel(1, 1, qRgb(128, 128, 128));
    QPainter p(this);
    p.fillRect(rect(), QBrush(tile));
}
