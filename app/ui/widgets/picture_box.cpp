#include "app/ui/widgets/picture_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/ui/qt_convert.h"

namespace vek::ui {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureBox::showImage(const RgbImage& image) {
    m_view = viewAsQImage(image);
    setFixedSize(image.width, image.height);
    update();
}

void PictureBox::repaintPart(int x, int y, int width, int height) { update(x, y, width, height); }

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect part = event->rect() & QRect(QPoint(0, 0), m_view.size());
    if (part.width() == 1 && part.height() == 1) {
        // Qt fills a part of one pixel with that pixel's colour and takes its alpha from the
        // fourth byte, which the pictures leave 0: the colour is given opaque here.
        painter.fillRect(part, QColor::fromRgb(m_view.pixel(part.topLeft()) | 0xFF000000u));
    } else if (!part.isEmpty()) {
        painter.drawImage(part.topLeft(), m_view, part);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed(event->position().toPoint(), event->button(), event->buttons(),
                   event->modifiers());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) { Q_EMIT moved(event->position().toPoint()); }

void PictureBox::mouseReleaseEvent(QMouseEvent*) { Q_EMIT released(); }

}  // namespace vek::ui
