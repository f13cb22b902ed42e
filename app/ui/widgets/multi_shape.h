#pragma once

#include <QWidget>

#include "app/shape_banner.h"

namespace vek::ui {

// TMultiShape: draws one shape, or the same shape repeated in a grid, with an optional border
// and drop shadow; the shape may be a rotated text. Created 30 x 30 in navy. The geometry and
// the rules between the properties are the core's ShapeBanner; this widget paints it.
class TMultiShape : public QWidget {
    Q_OBJECT
  public:
    explicit TMultiShape(QWidget* parent = nullptr);

    // The geometry, for the control's present size.
    const ShapeBanner& shape() const {
        syncBounds();
        return m_shape;
    }

    void setText(const QString& text);
    QString text() const;
    void setAngle(int angle) {
        change([&] { return m_shape.setAngle(angle); });
    }
    void setFilled(bool filled) {
        change([&] { return m_shape.setFilled(filled); });
    }
    void setRepeatMode(TRepeatMode mode) {
        change([&] { return m_shape.setRepeatMode(mode); });
    }
    void setShapeType(TMultiShapeType shape) {
        change([&] { return m_shape.setShapeType(shape); });
    }
    void setShapeW(int value) {
        change([&] { return m_shape.setShapeW(value); });
    }
    void setShapeH(int value) {
        change([&] { return m_shape.setShapeH(value); });
    }
    void setXSpacing(int value) {
        change([&] { return m_shape.setXSpacing(value); });
    }
    void setYSpacing(int value) {
        change([&] { return m_shape.setYSpacing(value); });
    }
    void setXMargin(int value) {
        change([&] { return m_shape.setXMargin(value); });
    }
    void setYMargin(int value) {
        change([&] { return m_shape.setYMargin(value); });
    }
    void setBorder(bool border) {
        change([&] { return m_shape.setBorder(border); });
    }
    void setBorderColor(ScreenColor color) {
        change([&] { return m_shape.setBorderColor(color); });
    }
    void setBorderWidth(int value) {
        change([&] { return m_shape.setBorderWidth(value); });
    }
    void setShadow(bool shadow) {
        change([&] { return m_shape.setShadow(shadow); });
    }
    void setShadowColor(ScreenColor color) {
        change([&] { return m_shape.setShadowColor(color); });
    }
    void setShadowX(int value) {
        change([&] { return m_shape.setShadowX(value); });
    }
    void setShadowY(int value) {
        change([&] { return m_shape.setShadowY(value); });
    }
    // The fill colour and the font colour are one.
    void setColor(ScreenColor color) {
        change([&] { return m_shape.setColor(color); });
    }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // A hidden control is resized without a resize event, so the geometry takes the size first.
    void syncBounds() const { m_shape.setBounds(width(), height()); }
    // Runs a property change; repaints after it and follows the shape's size while it fits.
    template <typename Setter>
    void change(Setter setter) {
        syncBounds();
        apply(setter());
    }
    void apply(bool changed);
    void paintShape(QPainter& painter, int x, int y, bool asShadow) const;
    void paintText(QPainter& painter, int x, int y, bool asShadow) const;

    mutable ShapeBanner m_shape;
    ShapePoint m_textOffset;
};

}  // namespace vek::ui
