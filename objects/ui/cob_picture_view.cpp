#include "objects/ui/cob_picture_view.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

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

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_associate(associate), m_minimum(minimum), m_maximum(maximum) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto addArrow = [this, layout](Qt::ArrowType arrow, int steps) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, steps] { stepBy(steps); });
        layout->addWidget(button);
    };
    addArrow(Qt::UpArrow, 1);
    addArrow(Qt::DownArrow, -1);
}

void UpDown::stepBy(int steps) {
    bool ok = false;
    const int current = m_associate->text().trimmed().toInt(&ok);
    const int start = ok ? std::clamp(current, m_minimum, m_maximum) : m_minimum;
    m_associate->setText(QString::number(std::clamp(start + steps, m_minimum, m_maximum)));
}

}  // namespace vek::ui
