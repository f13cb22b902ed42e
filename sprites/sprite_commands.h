#pragma once

#include <cstddef>
#include <functional>

#include "sprites/sprite_editing.h"

namespace vek {

// One thing the user can tell the sprite editor to do: whether it can be done now, and doing it.
// The window binds each to a menu item or key and greys the item while it is not enabled.
class SpriteCommand {
  public:
    using Enabled = std::function<bool(const SpriteEditing&)>;
    using Execute = std::function<void(SpriteEditing&)>;

    SpriteCommand(Enabled enabled, Execute execute)
        : m_enabled(std::move(enabled)), m_execute(std::move(execute)) {}

    bool enabled(const SpriteEditing& editing) const { return m_enabled(editing); }
    // Does nothing while the command is not enabled.
    void execute(SpriteEditing& editing) const {
        if (enabled(editing)) m_execute(editing);
    }

  private:
    Enabled m_enabled;
    Execute m_execute;
};

// The editor's commands that act on the editing state alone.
enum class SpriteCommandId {
    Undo,
    Redo,
    Cut,    // the selection, else the whole sprite
    Copy,   // the same
    Paste,  // a piece becomes the selection, and the selection tool is chosen
    Flip,   // the selection, else the whole sprite, upside down
    Mirror,
    DropSelection,
    Clear,  // every pixel index 0, once the user agreed
    SaveInPlace,
    InsertSprite,  // after the current one, of a size asked for (the current one's to start with)
    DuplicateSprite,
    DeleteSprite,
    MoveSpriteUp,
    MoveSpriteDown,
    ResizeSprite,  // the current one or a range, as asked; one undo step
    BrushSmaller,  // one pixel less a side, down to the smallest
    BrushLarger,
};

const SpriteCommand& spriteCommand(SpriteCommandId id);
// Moves sprite `from` so that it becomes sprite `to` (a drag in the list), one undo step; enabled
// while both are sprites of the file and differ.
SpriteCommand reorderCommand(std::size_t from, std::size_t to);
// Chooses a tool; always enabled.
const SpriteCommand& toolCommand(SpriteToolKind tool);

// The size a new sprite starts with when no sprite is current.
inline constexpr int kNewSpriteSide = 32;

}  // namespace vek
