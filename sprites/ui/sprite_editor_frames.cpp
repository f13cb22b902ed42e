// The sprite editor's commands on the file's list of sprites: insert, duplicate, delete, move.

#include <QAction>
#include <QMenu>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "sprites/ui/sprite_editor_window.h"

namespace vek::ui {

namespace {

constexpr BilingualBox kResizeQuestion{Msg::SpriteEditorResizeScaleText,
                                       Msg::SpriteEditorResizeScaleCaption};

// The largest side the size question offers: a square of it is the most pixels a sprite may have.
constexpr int kLargestSide = 8192;

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

std::optional<SpriteResize> SpriteEditorWindow::askResize(SpriteSize current) {
    const auto size = context().dialogs.askSize(
        context().text(Msg::SpriteEditorResizeTitle), context().text(Msg::SpriteEditorResizeSize),
        QSize(current.width, current.height), QSize(kLargestSide, kLargestSide));
    if (!size) return std::nullopt;
    const Answer answer = context().ask(kResizeQuestion, Buttons::YesNoCancel);
    if (answer != Answer::Yes && answer != Answer::No) return std::nullopt;
    return SpriteResize{
        {size->width(), size->height()}, answer == Answer::Yes, ResizeAnchor::Center};
}

std::optional<SpriteSize> SpriteEditorWindow::askNewSpriteSize(SpriteSize initial) {
    const auto size = context().dialogs.askSize(
        context().text(Msg::SpriteEditorInsertTitle), context().text(Msg::SpriteEditorInsertSize),
        QSize(initial.width, initial.height), QSize(kLargestSide, kLargestSide));
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

}  // namespace vek::ui
