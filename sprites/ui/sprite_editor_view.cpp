// The sprite editor's view of the drawing area: zoom steps, zoom to fit, zoom at the pointer, and
// each file's zoom and scroll kept while the editor is open.

#include <QScrollArea>
#include <QScrollBar>

#include "sprites/ui/sprite_canvas.h"
#include "sprites/ui/sprite_editor_window.h"

namespace vek::ui {

void SpriteEditorWindow::zoomStep(int steps) {
    const int stepped = steppedZoom(zoom(), steps);
    if (stepped != zoom()) setZoom(stepped);
}

void SpriteEditorWindow::zoomToFit() {
    if (!m_document.spriteLoaded()) return;
    // The room without scroll bars, which a fitting sprite does not need.
    const QSize room = m_drawingScroll->maximumViewportSize();
    const SpriteImage& sprite = m_document.sprite();
    // The frame is as much larger than the picture at any zoom.
    const int frame = Panel1->width() - drawingArea().width;
    setZoom(fittingZoom({sprite.width, sprite.height}, {room.width(), room.height()}, frame));
}

void SpriteEditorWindow::zoomAround(QPoint viewportPoint, int steps) {
    const QPoint inArea = Image1->mapFrom(m_drawingScroll->viewport(), viewportPoint);
    const double spriteX = static_cast<double>(inArea.x()) / zoom();
    const double spriteY = static_cast<double>(inArea.y()) / zoom();
    zoomStep(steps);
    const QPoint areaOrigin = Image1->mapTo(m_drawingContent, QPoint(0, 0));
    m_drawingScroll->horizontalScrollBar()->setValue(
        areaOrigin.x() + static_cast<int>(spriteX * zoom()) - viewportPoint.x());
    m_drawingScroll->verticalScrollBar()->setValue(
        areaOrigin.y() + static_cast<int>(spriteY * zoom()) - viewportPoint.y());
}

SpriteView SpriteEditorWindow::currentView() const {
    return {zoom(), m_drawingScroll->horizontalScrollBar()->value(),
            m_drawingScroll->verticalScrollBar()->value()};
}

void SpriteEditorWindow::keepShownView() { m_editing.keepView(m_viewFile, currentView()); }

void SpriteEditorWindow::restoreView(const std::filesystem::path& file) {
    m_viewFile = file;
    const auto view = m_editing.viewOf(file);
    // A file not shown before keeps the zoom in force, from the top left.
    if (view) runCommand([this, &view] { setZoom(view->zoom); });
    layoutContent();
    m_drawingScroll->horizontalScrollBar()->setValue(view ? view->scrollX : 0);
    m_drawingScroll->verticalScrollBar()->setValue(view ? view->scrollY : 0);
}

}  // namespace vek::ui
