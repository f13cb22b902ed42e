#include "sprites/ui/palette_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "sprites/sprite_render.h"

namespace vek::ui {

PaletteView::PaletteView(QWidget* parent, const PaletteTable& palette)
    : PictureBox(parent), m_palette(palette) {
    setFixedSize(kPaletteAreaWidth, kPaletteAreaHeight);
    setMouseTracking(true);
}

void PaletteView::showPalette() {
    m_area = renderPaletteArea(m_palette);
    showImage(m_area);
}

void PaletteView::showBackgroundCell() {
    if (m_area.pixels.empty()) return;  // never drawn: the game was not found
    drawPaletteCell(m_area, m_palette, 0);
    const PixelRect cell = paletteCellRect(0);
    repaintPart(cell.x, cell.y, cell.width, cell.height);
}

void PaletteView::markColors(std::uint8_t color1, std::uint8_t color2) {
    for (const int cell : {int{m_color1}, int{m_color2}, int{color1}, int{color2}})
        updateCell(cell);
    m_color1 = color1;
    m_color2 = color2;
}

void PaletteView::updateCell(int index) {
    const PixelRect cell = paletteCellRect(index);
    // The mark reaches one pixel into the gap around the cell.
    update(cell.x - 1, cell.y - 1, cell.width + 2, cell.height + 2);
}

void PaletteView::paintEvent(QPaintEvent* event) {
    PictureBox::paintEvent(event);
    if (m_area.pixels.empty()) return;
    QPainter painter(this);
    // Colour 1 in a black and white frame, colour 2 in a white and black one, so that each shows
    // on light and dark colours alike.
    const auto mark = [&painter](std::uint8_t index, QColor outer, QColor inner) {
        const PixelRect cell = paletteCellRect(index);
        const QRect frame(cell.x - 1, cell.y - 1, cell.width + 1, cell.height + 1);
        painter.setPen(outer);
        painter.drawRect(frame);
        painter.setPen(inner);
        painter.drawRect(frame.adjusted(1, 1, -1, -1));
    };
    mark(m_color2, Qt::white, Qt::black);
    mark(m_color1, Qt::black, Qt::white);
}

void PaletteView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const auto index = paletteIndexAt(point.x(), point.y());
    m_pointerIndex.reset();
    if (index && !m_area.pixels.empty()) m_pointerIndex = static_cast<std::uint8_t>(*index);
    Q_EMIT pointerMoved();
}

void PaletteView::leaveEvent(QEvent* event) {
    m_pointerIndex.reset();
    Q_EMIT pointerMoved();
    PictureBox::leaveEvent(event);
}

void PaletteView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const auto index = paletteIndexAt(point.x(), point.y());
    const Qt::MouseButton button = event->button();
    // Modifier keys do not matter here; other buttons do nothing.
    if (index && (button == Qt::LeftButton || button == Qt::RightButton))
        Q_EMIT colorChosen(button, static_cast<std::uint8_t>(*index));
}

}  // namespace vek::ui
