#pragma once

#include <QWidget>

#include "utilities/shape_banner.h"

namespace vek::ui {

// TMultiShape: draws one shape, or the same shape repeated in a grid, with an optional border
// and drop shadow; the shape may be a rotated text. Created 30 x 30 in navy. The geometry and
// the rules between the properties are the core's ShapeBanner; this widget paints it.
class TMultiShape : public QWidget {
    Q_OBJECT
  public:
    explicit TMultiShape(QWidget* parent = nullptr);

    const ShapeBanner& shape() const { return m_shape; }

    void setText(const QString& text);
    QString text() const;
    void setAngle(int angle) { apply(m_shape.setAngle(angle)); }
    void setFilled(bool filled) { apply(m_shape.setFilled(filled)); }
    void setRepeatMode(TRepeatMode mode) { apply(m_shape.setRepeatMode(mode)); }
    void setShapeType(TMultiShapeType shape) { apply(m_shape.setShapeType(shape)); }
    void setShapeW(int value) { apply(m_shape.setShapeW(value)); }
    void setShapeH(int value) { apply(m_shape.setShapeH(value)); }
    void setXSpacing(int value) { apply(m_shape.setXSpacing(value)); }
    void setYSpacing(int value) { apply(m_shape.setYSpacing(value)); }
    void setXMargin(int value) { apply(m_shape.setXMargin(value)); }
    void setYMargin(int value) { apply(m_shape.setYMargin(value)); }
    void setBorder(bool border) { apply(m_shape.setBorder(border)); }
    void setBorderColor(ScreenColor color) { apply(m_shape.setBorderColor(color)); }
    void setBorderWidth(int value) { apply(m_shape.setBorderWidth(value)); }
    void setShadow(bool shadow) { apply(m_shape.setShadow(shadow)); }
    void setShadowColor(ScreenColor color) { apply(m_shape.setShadowColor(color)); }
    void setShadowX(int value) { apply(m_shape.setShadowX(value)); }
    void setShadowY(int value) { apply(m_shape.setShadowY(value)); }
    // The fill colour and the font colour are one.
    void setColor(ScreenColor color) { apply(m_shape.setColor(color)); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Repaints after a change, and follows the shape's size while it fits the control.
    void apply(bool changed);
    void paintShape(QPainter& painter, int x, int y, bool asShadow) const;
    void paintText(QPainter& painter, int x, int y, bool asShadow) const;

    ShapeBanner m_shape;
    ShapePoint m_textOffset;
};

}  // namespace vek::ui
