#pragma once

#include <cstdint>
#include <optional>

#include "app/rgb_image.h"
#include "app/ui/widgets/picture_box.h"
#include "sprites/palette.h"

namespace vek::ui {

// The palette area (`Image2`): the 256 colours of the palette table in 32 columns of 8 cells; a
// press with the left or right button chooses colour 1 or 2. The cells of colours 1 and 2 are
// marked on the screen only: the area's pixels, which the export writes, stay the palette's.
class PaletteView : public PictureBox {
    Q_OBJECT
  public:
    PaletteView(QWidget* parent, const PaletteTable& palette);

    const RgbImage& area() const { return m_area; }
    // Draws every cell anew from the palette table.
    void showPalette();
    // Draws cell 0 anew: it holds the background colour.
    void showBackgroundCell();
    // Marks the cells of colours 1 and 2.
    void markColors(std::uint8_t color1, std::uint8_t color2);
    // The palette index under the pointer, while it is over a cell.
    std::optional<std::uint8_t> pointerIndex() const { return m_pointerIndex; }

  Q_SIGNALS:
    void colorChosen(Qt::MouseButton button, std::uint8_t index);
    void pointerMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void updateCell(int index);

    const PaletteTable& m_palette;
    RgbImage m_area;
    std::uint8_t m_color1 = 0;
    std::uint8_t m_color2 = 1;
    std::optional<std::uint8_t> m_pointerIndex;
};

}  // namespace vek::ui
