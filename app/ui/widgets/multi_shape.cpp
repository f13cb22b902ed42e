#include "app/ui/widgets/multi_shape.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <span>

#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

QPolygon toPolygon(std::span<const ShapePoint> points) {
    QPolygon polygon;
    for (const ShapePoint& point : points) polygon << QPoint(point.x, point.y);
    return polygon;
}

}  // namespace

TMultiShape::TMultiShape(QWidget* parent) : QWidget(parent) {
    resize(m_shape.width(), m_shape.height());
}

void TMultiShape::setText(const QString& text) {
    change([&] { return m_shape.setText(toStdString(text)); });
}

QString TMultiShape::text() const { return toQString(m_shape.text()); }

void TMultiShape::apply(bool changed) {
    if (!changed) return;
    if (m_shape.fitsControl() && size() != QSize(m_shape.width(), m_shape.height())) {
        resize(m_shape.width(), m_shape.height());
    }
    update();
}

void TMultiShape::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_shape.setBounds(width(), height());
    update();
}

void TMultiShape::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) update();
}

void TMultiShape::paintEvent(QPaintEvent*) {
    syncBounds();
    QPainter painter(this);
    if (m_shape.shapeType() == msText) {
        const QFontMetrics metrics(font());
        m_textOffset =
            textOffset(m_shape.angle(), metrics.horizontalAdvance(text()), metrics.height());
        painter.setFont(font());
    }
    const ShapeGrid grid = m_shape.grid();
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const ShapePoint origin = m_shape.cellOrigin(column, row);
            if (m_shape.shadow())
                paintShape(painter, origin.x + m_shape.shadowX(), origin.y + m_shape.shadowY(),
                           true);
            paintShape(painter, origin.x, origin.y, false);
        }
    }
}

void TMultiShape::paintShape(QPainter& painter, int x, int y, bool asShadow) const {
    const int w = m_shape.shapeW();
    const int h = m_shape.shapeH();
    const QColor fill = toQColor(asShadow ? m_shape.shadowColor() : m_shape.color());
    const QColor outline =
        asShadow ? fill : toQColor(m_shape.border() ? m_shape.borderColor() : m_shape.color());
    painter.setPen(QPen(outline, m_shape.borderWidth()));
    painter.setBrush(m_shape.filled() ? QBrush(fill) : Qt::NoBrush);
    switch (m_shape.shapeType()) {
        case msRectangle:
            painter.drawRect(x, y, w, h);
            break;
        case msRoundRect:
            if (asShadow) painter.setPen(QPen(outline, 1));
            painter.setBrush(fill);  // always filled
            painter.drawRoundedRect(QRect(x, y, w, h), (w / 2) / 2.0, (h / 2) / 2.0);
            break;
        case msDiamond:
            painter.drawPolygon(toPolygon(diamondPoints(x, y, w, h)));
            break;
        case msEllipse:
            painter.drawEllipse(x, y, w, h);
            break;
        case msTriangle:
            if (const auto points = trianglePoints(x, y, w, h, m_shape.angle()))
                painter.drawPolygon(toPolygon(*points));
            break;
        case msLine:
            if (const auto line = linePoints(x, y, w, h, m_shape.angle())) {
                painter.setPen(QPen(fill, m_shape.borderWidth()));
                painter.drawLine(line->first.x, line->first.y, line->second.x, line->second.y);
            }
            break;
        case msText:
            paintText(painter, x, y, asShadow);
            break;
    }
}

void TMultiShape::paintText(QPainter& painter, int x, int y, bool asShadow) const {
    const ShapePoint reference =
        textReferencePoint(x, y, m_shape.shapeW(), m_shape.shapeH(), m_textOffset);
    painter.save();
    painter.setPen(toQColor(asShadow ? m_shape.shadowColor() : m_shape.color()));
    painter.translate(reference.x, reference.y);
    painter.rotate(-m_shape.angle());
    const QFontMetrics metrics(painter.font());
    painter.drawText(0, metrics.ascent(), text());
    painter.restore();
}

}  // namespace vek::ui
