// The sprite editor's commands on the file's list of sprites: insert, duplicate, delete, move.

#include <QAction>
#include <QMenu>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "sprites/ui/sprite_editor_window.h"

namespace vek::ui {

namespace {

// The size a new sprite starts with when no sprite is current.
constexpr int kNewSpriteSide = 32;
// The largest side the size question offers: a square of it is the most pixels a sprite may have.
constexpr int kLargestSide = 8192;

}  // namespace

void SpriteEditorWindow::buildFrameItems(QMenu* edit) {
    edit->addSeparator();
    const auto add = [this, edit](const char* name, const Bilingual& caption, auto handler) {
        QAction* item = addBilingualItem(edit, name, caption);
        connect(item, &QAction::triggered, this, [this, handler] { runCommand(handler); });
        item->setEnabled(false);
        return item;
    };
    m_insertItem =
        add("InsertSprite1", Msg::SpriteEditorInsertCaption, [this] { insertNewSprite(); });
    m_duplicateItem = add("DuplicateSprite1", Msg::SpriteEditorDuplicateCaption,
                          [this] { duplicateCurrentSprite(); });
    m_duplicateItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_deleteItem =
        add("DeleteSprite1", Msg::SpriteEditorDeleteCaption, [this] { deleteCurrentSprite(); });
    m_moveUpItem =
        add("MoveSpriteUp1", Msg::SpriteEditorMoveUpCaption, [this] { moveCurrentSprite(-1); });
    m_moveUpItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    m_moveDownItem =
        add("MoveSpriteDown1", Msg::SpriteEditorMoveDownCaption, [this] { moveCurrentSprite(1); });
    m_moveDownItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
}

void SpriteEditorWindow::enableFrameItems() {
    if (!m_insertItem) return;  // not yet built
    const std::size_t count = m_document.table().count();
    const auto current = m_document.current();
    m_insertItem->setEnabled(!m_document.table().file.empty());
    m_duplicateItem->setEnabled(current.has_value());
    m_deleteItem->setEnabled(current.has_value());
    m_moveUpItem->setEnabled(current && *current > 0);
    m_moveDownItem->setEnabled(current && *current + 1 < count);
    m_previewItem->setEnabled(current.has_value());
}

void SpriteEditorWindow::insertNewSprite() {
    if (m_document.table().file.empty()) return;
    // A full file is refused before the question.
    m_document.requireRoomFor(1);
    const auto current = m_document.current();
    const QSize initial = current ? QSize(m_document.sprite().width, m_document.sprite().height)
                                  : QSize(kNewSpriteSide, kNewSpriteSide);
    const auto size = context().dialogs.askSize(context().text(Msg::SpriteEditorInsertTitle),
                                                context().text(Msg::SpriteEditorInsertSize),
                                                initial, QSize(kLargestSide, kLargestSide));
    if (!size) return;
    const std::size_t at = current ? *current + 1 : m_document.table().count();
    m_document.insertSprite(at, static_cast<std::uint16_t>(size->width()),
                            static_cast<std::uint16_t>(size->height()));
}

void SpriteEditorWindow::duplicateCurrentSprite() { m_document.duplicateSprite(); }

void SpriteEditorWindow::deleteCurrentSprite() { m_document.deleteSprite(); }

void SpriteEditorWindow::moveCurrentSprite(int steps) {
    const auto current = m_document.current();
    if (!current) return;
    const auto to = static_cast<std::ptrdiff_t>(*current) + steps;
    if (to < 0 || static_cast<std::size_t>(to) >= m_document.table().count()) return;
    m_document.moveSprite(*current, static_cast<std::size_t>(to));
}

}  // namespace vek::ui
