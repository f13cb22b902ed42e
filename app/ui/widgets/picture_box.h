#pragma once

#include <QImage>
#include <QWidget>

#include "app/rgb_image.h"

namespace vek::ui {

// A picture the user clicks and draws on (the drawing and palette areas). It shows the core's
// pixel buffer without copying it, so the owner repaints only what changed, and it reports the
// mouse as the owner needs it: the button pressed with all buttons and modifier keys held.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent);

    // Shows `image` at its own size; the box keeps a view of the pixels, which must stay in place
    // until the next call.
    void showImage(const RgbImage& image);
    // Repaints a part after its pixels changed in place.
    void repaintPart(int x, int y, int width, int height);

  Q_SIGNALS:
    void pressed(QPoint point, Qt::MouseButton button, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers);
    void moved(QPoint point);
    void released();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage m_view;
};

}  // namespace vek::ui
