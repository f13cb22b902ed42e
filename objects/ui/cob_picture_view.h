#pragma once

#include <QImage>
#include <QWidget>

namespace vek::ui {

// The object's picture at its own size (Image1); a click asks for a new one.
class CobPictureView : public QWidget {
    Q_OBJECT
  public:
    explicit CobPictureView(QWidget* parent);

    // Shows the image and takes exactly its size.
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

  Q_SIGNALS:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage m_image;
};

}  // namespace vek::ui
