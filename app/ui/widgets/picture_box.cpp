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
    const QRect part = event->rect();
    painter.drawImage(part.topLeft(), m_view, part);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed(event->position().toPoint(), event->button(), event->buttons(),
                   event->modifiers());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) { Q_EMIT moved(event->position().toPoint()); }

void PictureBox::mouseReleaseEvent(QMouseEvent*) { Q_EMIT released(); }

}  // namespace vek::ui
