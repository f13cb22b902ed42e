// The sprite editor's commands on the file's list of sprites (insert, duplicate, delete, move,
// resize) and the list itself, a strip of thumbnails in which a drag moves a sprite.

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <exception>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "sprites/sprite_render.h"
#include "sprites/thumbnail.h"
#include "sprites/ui/sprite_editor_window.h"
#include "sprites/ui/sprite_resize_dialog.h"

namespace vek::ui {

namespace {

constexpr int kThumbnailSide = 32;
// Waited after painting before the current sprite's thumbnail is drawn again.
constexpr int kThumbnailDelay = 150;
const QColor kPreviewMarkColor(255, 236, 160);

}  // namespace

void SpriteEditorWindow::buildFrameItems(QMenu* edit) {
    edit->addSeparator();
    using Id = SpriteCommandId;
    const auto add = [this, edit](const char* name, const Bilingual& caption, Id id) {
        return bindCommand(addBilingualItem(edit, name, caption), id);
    };
    add("InsertSprite1", Msg::SpriteEditorInsertCaption, Id::InsertSprite);
    add("DuplicateSprite1", Msg::SpriteEditorDuplicateCaption, Id::DuplicateSprite)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    add("DeleteSprite1", Msg::SpriteEditorDeleteCaption, Id::DeleteSprite);
    add("MoveSpriteUp1", Msg::SpriteEditorMoveUpCaption, Id::MoveSpriteUp)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    add("MoveSpriteDown1", Msg::SpriteEditorMoveDownCaption, Id::MoveSpriteDown)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
    add("ResizeSprite1", Msg::SpriteEditorResizeCaption, Id::ResizeSprite);
}

std::optional<SpriteResize> SpriteEditorWindow::askResize(SpriteSize current, std::size_t sprite,
                                                          std::size_t count) {
    SpriteResizeDialog dialog(this, context(), current, sprite, count);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.answer();
}

std::optional<SpriteSize> SpriteEditorWindow::askNewSpriteSize(SpriteSize initial) {
    const auto size = context().dialogs.askSize(
        context().text(Msg::SpriteEditorInsertTitle), context().text(Msg::SpriteEditorInsertSize),
        QSize(initial.width, initial.height),
        QSize(SpriteResizeDialog::kLargestSide, SpriteResizeDialog::kLargestSide));
    if (!size) return std::nullopt;
    return SpriteSize{size->width(), size->height()};
}

void SpriteEditorWindow::insertNewSprite() { execute(SpriteCommandId::InsertSprite); }

void SpriteEditorWindow::duplicateCurrentSprite() { execute(SpriteCommandId::DuplicateSprite); }

void SpriteEditorWindow::deleteCurrentSprite() { execute(SpriteCommandId::DeleteSprite); }

void SpriteEditorWindow::moveCurrentSprite(int steps) {
    if (steps == 0) return;
    execute(steps < 0 ? SpriteCommandId::MoveSpriteUp : SpriteCommandId::MoveSpriteDown);
}

void SpriteEditorWindow::buildFrameStrip() {
    ListBox1->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    ListBox1->setUniformItemSizes(true);
    ListBox1->viewport()->installEventFilter(this);
    // Delete in the list takes the sprite out at once; undo brings it back.
    auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), ListBox1);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &SpriteEditorWindow::deleteCurrentSprite);
    m_thumbnailTimer = new QTimer(this);
    m_thumbnailTimer->setSingleShot(true);
    m_thumbnailTimer->setInterval(kThumbnailDelay);
    connect(m_thumbnailTimer, &QTimer::timeout, this, &SpriteEditorWindow::refreshCurrentThumbnail);
}

QIcon SpriteEditorWindow::thumbnailOf(const SpriteImage& sprite) const {
    if (sprite.width == 0 || sprite.height == 0) return {};
    const RgbImage picture =
        renderDrawingArea(sprite, m_editing.palette(), 1, m_editing.palette().background());
    return QIcon(QPixmap::fromImage(toQImage(fitThumbnail(picture, kThumbnailSide))));
}

void SpriteEditorWindow::fillFrameStrip() {
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    const std::vector<SpriteEntry>& entries = m_document.table().entries;
    for (std::size_t k = 0; k < entries.size(); ++k)
        ListBox1->addItem(toQString(spriteListLine(k, entries[k])));
    drawThumbnails();
    showPreviewMark();
}

void SpriteEditorWindow::drawThumbnails() {
    const std::vector<SpriteEntry>& entries = m_document.table().entries;
    if (static_cast<std::size_t>(ListBox1->count()) != entries.size()) return;  // being filled
    // A sprite that cannot be read shows its line without a picture; the open reports the fault.
    try {
        SpriteFile file(m_document.table().file);
        for (std::size_t k = 0; k < entries.size(); ++k)
            ListBox1->item(static_cast<int>(k))->setIcon(thumbnailOf(file.readSprite(entries[k])));
    } catch (const std::exception&) {
    }
    refreshCurrentThumbnail();  // with its unsaved pixels
}

void SpriteEditorWindow::refreshCurrentThumbnail() {
    const auto current = m_document.current();
    if (!current) return;
    if (QListWidgetItem* item = ListBox1->item(static_cast<int>(*current)))
        item->setIcon(thumbnailOf(m_document.sprite()));
}

void SpriteEditorWindow::markPreviewFrame(const std::filesystem::path& file, std::size_t sprite) {
    if (file != m_document.table().file) return;
    m_previewFrame = sprite;
    showPreviewMark();
}

void SpriteEditorWindow::showPreviewMark() {
    const QString hint = context().text(Msg::SpriteEditorPreviewFrameHint);
    for (int row = 0; row < ListBox1->count(); ++row) {
        QListWidgetItem* item = ListBox1->item(row);
        const bool marked = m_previewFrame == static_cast<std::size_t>(row);
        if (item->font().bold() == marked) continue;
        QFont font = item->font();
        font.setBold(marked);
        item->setFont(font);
        item->setBackground(marked ? QBrush(kPreviewMarkColor) : QBrush());
        item->setToolTip(marked ? hint : QString());
    }
}

bool SpriteEditorWindow::dragFrame(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        m_draggingFrame = false;
        m_dragFrom.reset();
        const QModelIndex pressed = ListBox1->indexAt(at);
        if (mouse->button() == Qt::LeftButton && pressed.isValid()) {
            m_dragFrom = pressed.row();
            m_dragStart = at;
        }
        return false;  // the press selects the sprite as a click does
    }
    if (!m_dragFrom) return false;
    if (type == QEvent::MouseMove) {
        if (!(mouse->buttons() & Qt::LeftButton)) return false;
        if (!m_draggingFrame &&
            (at - m_dragStart).manhattanLength() >= QApplication::startDragDistance()) {
            m_draggingFrame = true;
            ListBox1->viewport()->setCursor(Qt::DragMoveCursor);
        }
        // While a line is dragged the list's selection stays on the dragged sprite.
        return m_draggingFrame;
    }
    const int from = *m_dragFrom;
    const bool dragged = m_draggingFrame;
    m_dragFrom.reset();
    m_draggingFrame = false;
    ListBox1->viewport()->unsetCursor();
    if (!dragged) return false;
    // Dropped above the first line the sprite goes to the start, below the last to the end.
    const QModelIndex target = ListBox1->indexAt(at);
    const int to = target.isValid() ? target.row() : at.y() < 0 ? 0 : ListBox1->count() - 1;
    execute(reorderCommand(static_cast<std::size_t>(from), static_cast<std::size_t>(to)));
    return true;
}

}  // namespace vek::ui
