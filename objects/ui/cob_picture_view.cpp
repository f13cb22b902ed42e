#include "objects/ui/cob_picture_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace vek::ui {

CobPictureView::CobPictureView(QWidget* parent) : QWidget(parent) {}

void CobPictureView::setImage(const QImage& image) {
    m_image = image;
    setFixedSize(image.size());
    update();
}

void CobPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void CobPictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT clicked();
    QWidget::mousePressEvent(event);
}

}  // namespace vek::ui
