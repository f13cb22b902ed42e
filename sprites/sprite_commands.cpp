#include "sprites/sprite_commands.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace vek {

namespace {

bool spriteShown(const SpriteEditing& editing) { return editing.document().spriteLoaded(); }

bool fileOpen(const SpriteEditing& editing) { return !editing.document().table().file.empty(); }

// The current sprite's place moved by `steps`, when it stays inside the list.
std::optional<std::size_t> movedPlace(const SpriteDocument& document, int steps) {
    const auto current = document.current();
    if (!current) return std::nullopt;
    const auto to = static_cast<std::ptrdiff_t>(*current) + steps;
    if (to < 0 || static_cast<std::size_t>(to) >= document.table().count()) return std::nullopt;
    return static_cast<std::size_t>(to);
}

SpriteCommand brushCommand(int steps) {
    return {[steps](const SpriteEditing& editing) {
                const int size = editing.brushSize() + steps;
                return size >= kSmallestBrush && size <= kLargestBrush;
            },
            [steps](SpriteEditing& editing) { editing.setBrushSize(editing.brushSize() + steps); }};
}

SpriteCommand moveCommand(int steps) {
    return {[steps](const SpriteEditing& editing) {
                return movedPlace(editing.document(), steps).has_value();
            },
            [steps](SpriteEditing& editing) {
                SpriteDocument& document = editing.document();
                document.moveSprite(*document.current(), *movedPlace(document, steps));
            }};
}

void insertSprite(SpriteEditing& editing) {
    SpriteDocument& document = editing.document();
    // A full file is refused before the question.
    document.requireRoomFor(1);
    SpriteEditingQuestions* questions = editing.questions();
    if (!questions) return;
    const auto current = document.current();
    const SpriteSize initial = current
                                   ? SpriteSize{document.sprite().width, document.sprite().height}
                                   : SpriteSize{kNewSpriteSide, kNewSpriteSide};
    const auto size = questions->askNewSpriteSize(initial);
    if (!size) return;
    const std::size_t at = current ? *current + 1 : document.table().count();
    document.insertSprite(at, static_cast<std::uint16_t>(size->width),
                          static_cast<std::uint16_t>(size->height));
}

void resizeSprites(SpriteEditing& editing) {
    SpriteEditingQuestions* questions = editing.questions();
    if (!questions) return;
    SpriteDocument& document = editing.document();
    const std::size_t current = *document.current();
    const auto answer = questions->askResize({document.sprite().width, document.sprite().height},
                                             current, document.table().count());
    if (!answer) return;
    // Checked once, before any sprite changes.
    checkUniformSpriteFile(1, answer->size.width, answer->size.height);
    const SpriteRange range = answer->range.value_or(SpriteRange{current, current});
    document.resizeSprites(range.first, range.last, [resize = *answer](const SpriteImage& sprite) {
        return resizeSprite(sprite, resize);
    });
}

void clearSprite(SpriteEditing& editing) {
    SpriteEditingQuestions* questions = editing.questions();
    if (questions && questions->confirmClear()) editing.document().clear();
}

void pasteClipboard(SpriteEditing& editing) {
    // A pasted piece is the selection, ready to be moved.
    if (editing.selection().paste()) editing.chooseTool(SpriteToolKind::Select);
}

const auto kAlways = [](const SpriteEditing&) { return true; };

std::vector<SpriteCommand> makeEditingCommands() {
    const auto onSelection = [](void (SpriteSelection::*edit)()) {
        return SpriteCommand(spriteShown,
                             [edit](SpriteEditing& editing) { (editing.selection().*edit)(); });
    };
    // In the order of SpriteCommandId.
    return {
        {[](const SpriteEditing& e) { return e.document().canUndo(); },
         [](SpriteEditing& e) { e.document().undo(); }},
        {[](const SpriteEditing& e) { return e.document().canRedo(); },
         [](SpriteEditing& e) { e.document().redo(); }},
        onSelection(&SpriteSelection::cut),
        onSelection(&SpriteSelection::copy),
        {spriteShown, pasteClipboard},
        onSelection(&SpriteSelection::flip),
        onSelection(&SpriteSelection::mirror),
        {kAlways, [](SpriteEditing& e) { e.selection().drop(); }},
        {spriteShown, clearSprite},
        {spriteShown, [](SpriteEditing& e) { e.document().saveInPlace(); }},
        {fileOpen, insertSprite},
        {spriteShown, [](SpriteEditing& e) { e.document().duplicateSprite(); }},
        {spriteShown, [](SpriteEditing& e) { e.document().deleteSprite(); }},
        moveCommand(-1),
        moveCommand(1),
        {spriteShown, resizeSprites},
        brushCommand(-1),
        brushCommand(1),
    };
}

}  // namespace

const SpriteCommand& spriteCommand(SpriteCommandId id) {
    static const auto commands = makeEditingCommands();
    return commands.at(static_cast<std::size_t>(id));
}

SpriteCommand reorderCommand(std::size_t from, std::size_t to) {
    return {[from, to](const SpriteEditing& editing) {
                const std::size_t count = editing.document().table().count();
                return from != to && from < count && to < count;
            },
            [from, to](SpriteEditing& editing) { editing.document().moveSprite(from, to); }};
}

const SpriteCommand& toolCommand(SpriteToolKind tool) {
    static const std::vector<SpriteCommand> commands = [] {
        std::vector<SpriteCommand> made;
        for (int k = 0; k <= static_cast<int>(SpriteToolKind::Select); ++k) {
            const auto kind = static_cast<SpriteToolKind>(k);
            made.emplace_back(kAlways, [kind](SpriteEditing& e) { e.chooseTool(kind); });
        }
        return made;
    }();
    return commands.at(static_cast<std::size_t>(tool));
}

}  // namespace vek
