#include "sprites/ui/sprite_canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <exception>

namespace vek::ui {

namespace {

int floorDivide(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

SpriteCanvas::SpriteCanvas(QWidget* parent, SpriteEditing& editing,
                           std::function<ScreenColor()> background)
    : PictureBox(parent),
      m_editing(editing),
      m_document(editing.document()),
      m_palette(editing.palette()),
      m_background(std::move(background)),
      m_selectionObservation(editing.selection().observe([this] { update(); })) {
    setCursor(Qt::CrossCursor);
    // Moves paint while a gesture lasts, whatever buttons they report.
    setMouseTracking(true);
    showImage(m_area);
}

void SpriteCanvas::setZoom(int zoom) {
    if (m_document.spriteLoaded())
        requireDrawingAreaFits(m_document.sprite().width, m_document.sprite().height, zoom);
    m_zoom = zoom;
    if (m_document.spriteLoaded()) redraw();
}

void SpriteCanvas::redraw() {
    readOnionSprites();
    if (m_document.spriteLoaded()) {
        renderDrawingArea(m_document.sprite(), m_palette, m_zoom, m_background(), m_area);
    } else {
        // The pixels' memory is kept: a zoomed area is large, and fresh memory is slow to come by.
        m_area.width = 0;
        m_area.height = 0;
        m_area.pixels.clear();
    }
    showArea();
}

void SpriteCanvas::showPicture(RgbImage picture) {
    m_area = std::move(picture);
    showArea();
}

void SpriteCanvas::showArea() {
    showImage(m_area);
    Q_EMIT areaResized();
}

void SpriteCanvas::showPixels(const PixelRect& part) {
    const SpriteImage& sprite = m_document.sprite();
    if (part == PixelRect{0, 0, sprite.width, sprite.height}) return redraw();
    if (part.width == 1 && part.height == 1) {
        const PixelRect block =
            paintBlock(m_area, part.x, part.y, m_zoom, m_palette[sprite.at(part.x, part.y)]);
        return repaintPart(block.x, block.y, block.width, block.height);
    }
    // As the full rebuild: index 0 and pure black show the background.
    const ScreenColor background = m_background();
    for (int y = part.y; y < part.y + part.height; ++y) {
        for (int x = part.x; x < part.x + part.width; ++x) {
            const ScreenColor color = m_palette[sprite.at(x, y)];
            paintBlock(m_area, x, y, m_zoom, color == 0 ? background : color);
        }
    }
    repaintPart(part.x * m_zoom, part.y * m_zoom, part.width * m_zoom, part.height * m_zoom);
}

void SpriteCanvas::setOnionSkin(const OnionSkin& onion) {
    if (onion == m_onion) return;
    m_onion = onion;
    m_onionRead.clear();
    readOnionSprites();
    update();
}

void SpriteCanvas::readOnionSprites() {
    const auto current = m_document.current();
    if (!m_onion.shown || !current) {
        m_onionSprites.clear();
        m_onionRead.clear();
        return;
    }
    const SpriteTable& table = m_document.table();
    std::vector<std::size_t> neighbours;
    if (*current > 0) neighbours.push_back(*current - 1);
    if (m_onion.withNext && *current + 1 < table.count()) neighbours.push_back(*current + 1);
    std::vector<SpriteEntry> wanted{table.entries[*current]};
    for (const std::size_t k : neighbours) wanted.push_back(table.entries[k]);
    if (wanted == m_onionRead) return;
    m_onionRead = wanted;
    m_onionSprites.clear();
    try {
        for (const std::size_t k : neighbours)
            m_onionSprites.push_back(readSprite(table.file, table.entries[k]));
    } catch (const std::exception&) {
        // A neighbour that cannot be read is left out; the sprite itself is what matters.
    }
}

bool SpriteCanvas::showsBackground(std::uint8_t index) const {
    // Index 0, and any index whose colour is pure black, as the full rebuild shows them.
    return index == 0 || m_palette[index] == 0;
}

void SpriteCanvas::drawOnionSkin(QPainter& painter, const QRect& part) const {
    const SpriteImage& sprite = m_document.sprite();
    const int alpha = std::clamp(m_onion.opacity, 0, 100) * 255 / 100;
    const int left = std::max(part.left() / m_zoom, 0);
    const int top = std::max(part.top() / m_zoom, 0);
    const int right = std::min(part.right() / m_zoom, sprite.width - 1);
    const int bottom = std::min(part.bottom() / m_zoom, sprite.height - 1);
    // The farther neighbour first, so that the previous sprite lies on top of the next.
    for (auto neighbour = m_onionSprites.rbegin(); neighbour != m_onionSprites.rend();
         ++neighbour) {
        for (int y = top; y <= std::min(bottom, neighbour->height - 1); ++y) {
            for (int x = left; x <= std::min(right, neighbour->width - 1); ++x) {
                // Only where the sprite shows the background, and the neighbour does not.
                if (!showsBackground(sprite.at(x, y))) continue;
                const std::uint8_t index = neighbour->at(x, y);
                if (showsBackground(index)) continue;
                const ScreenColor color = m_palette[index];
                painter.fillRect(x * m_zoom, y * m_zoom, m_zoom, m_zoom,
                                 QColor(redOf(color), greenOf(color), blueOf(color), alpha));
            }
        }
    }
}

void SpriteCanvas::setGridShown(bool shown) {
    m_gridShown = shown;
    update();
}

bool SpriteCanvas::event(QEvent* event) {
    // The hint goes to the status line only: a tooltip would cover the pixels being painted.
    if (event->type() == QEvent::ToolTip) return true;
    return PictureBox::event(event);
}

void SpriteCanvas::paintEvent(QPaintEvent* event) {
    PictureBox::paintEvent(event);
    if (!m_document.spriteLoaded()) return;
    const bool grid = m_gridShown && m_zoom >= kGridZoom;
    const bool marquee = m_editing.selection().area().has_value();
    if (!grid && !marquee && m_onionSprites.empty()) return;
    QPainter painter(this);
    const QRect part = event->rect() & rect();
    if (!m_onionSprites.empty()) drawOnionSkin(painter, part);
    if (grid) drawGrid(painter, part);
    if (marquee) drawMarquee(painter);
}

void SpriteCanvas::drawMarquee(QPainter& painter) const {
    const PixelRect& area = *m_editing.selection().area();
    // Around the selected blocks, in black dashes over white, so that it shows on any colour.
    const QRect outline(area.x * m_zoom, area.y * m_zoom, area.width * m_zoom - 1,
                        area.height * m_zoom - 1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(outline);
}

void SpriteCanvas::drawGrid(QPainter& painter, const QRect& part) const {
    // The last row and column of each block: the block's first pixel keeps the sprite's colour.
    painter.setPen(QColor(128, 128, 128, 120));
    const int first = m_zoom - 1;
    for (int x = first + (part.left() / m_zoom) * m_zoom; x <= part.right(); x += m_zoom)
        painter.drawLine(x, part.top(), x, part.bottom());
    for (int y = first + (part.top() / m_zoom) * m_zoom; y <= part.bottom(); y += m_zoom)
        painter.drawLine(part.left(), y, part.right(), y);
}

PixelPoint SpriteCanvas::pixelAt(QPoint point) const {
    return {floorDivide(point.x(), m_zoom), floorDivide(point.y(), m_zoom)};
}

std::optional<PixelPoint> SpriteCanvas::spritePixelUnder(QPoint point) const {
    if (!m_document.spriteLoaded()) return std::nullopt;
    const PixelPoint pixel = pixelAt(point);
    if (!m_document.sprite().contains(pixel.x, pixel.y)) return std::nullopt;
    return pixel;
}

void SpriteCanvas::mousePressEvent(QMouseEvent* event) {
    const auto pixel = spritePixelUnder(event->position().toPoint());
    if (!pixel) return;
    const Qt::MouseButton button = event->button();
    // Exactly one of the two buttons; Ctrl or Alt picks, Shift serves the tools that use it, and
    // any other key or a second button does nothing.
    if (event->buttons() != Qt::MouseButtons(button) ||
        (button != Qt::LeftButton && button != Qt::RightButton))
        return;
    const Qt::KeyboardModifiers held =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const ColorSlot slot = button == Qt::LeftButton ? ColorSlot::Primary : ColorSlot::Secondary;
    const bool pick = held == Qt::ControlModifier || held == Qt::AltModifier;
    if (pick || held == Qt::NoModifier || held == Qt::ShiftModifier)
        m_editing.press(*pixel, slot, held == Qt::ShiftModifier, pick);
}

void SpriteCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    m_pointerPixel = spritePixelUnder(point);
    Q_EMIT pointerMoved();
    m_editing.painter().move(pixelAt(point), event->modifiers().testFlag(Qt::ShiftModifier));
}

void SpriteCanvas::mouseReleaseEvent(QMouseEvent* event) {
    m_editing.painter().release();
    PictureBox::mouseReleaseEvent(event);
}

void SpriteCanvas::leaveEvent(QEvent* event) {
    m_pointerPixel.reset();
    Q_EMIT pointerMoved();
    PictureBox::leaveEvent(event);
}

}  // namespace vek::ui
