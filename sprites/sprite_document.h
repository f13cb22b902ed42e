#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/observers.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_render.h"

namespace vek {

// What changed in a sprite document.
enum class SpriteChange {
    FileOpened,      // a new table (also after a failed open: the entries read so far)
    SpriteSelected,  // another current sprite, or none
    PixelsChanged,   // pixels of the current sprite, within `area`
    SavedToNewFile,  // the current sprite was written to `file`
};

struct SpriteDocumentEvent {
    SpriteChange change;
    PixelRect area;              // PixelsChanged: the pixels of the sprite that changed
    std::filesystem::path file;  // FileOpened, SavedToNewFile
};

// The open sprite file: its table, the current sprite and its pixels, and the sprite clipboard,
// which survives opening other files. The pixels change only through paint, cut, paste and
// clear, and only in memory; the file changes only through saveInPlace. Observers are told of
// every change.
class SpriteDocument {
  public:
    using Observer = ObserverList<SpriteDocumentEvent>::Observer;
    [[nodiscard]] Subscription observe(Observer observer) { return m_observers.add(observer); }

    // Reads the file's table and selects its first sprite; the previous sprite is dropped, unsaved
    // painting with it. A file error is thrown after the entries read up to it have become the
    // table.
    void open(const std::filesystem::path& file);
    const SpriteTable& table() const { return m_table; }

    // Reads the sprite at a list position into the pixel buffer. A position the file lacks is
    // refused; a failed read leaves no sprite current.
    void select(int position);
    bool spriteLoaded() const { return m_current.has_value(); }
    std::optional<std::size_t> current() const { return m_current; }
    const SpriteImage& sprite() const { return m_sprite; }

    // Sets one pixel; false (and nothing changed) outside the sprite or without one.
    bool paint(int x, int y, std::uint8_t index);
    // Copy takes the sprite into the clipboard; Cut also clears it. Paste lays the clipboard on
    // the sprite at the top-left corner, cut off at its edges. Clear sets every pixel to index 0.
    // Without a sprite they do nothing; paste with an empty clipboard only asks for a redraw.
    void copy();
    void cut();
    void paste();
    void clear();
    bool hasClipboard() const { return m_clipboard.has_value(); }

    // Painting, cutting, pasting or clearing since the sprite was read or saved in place.
    bool changed() const { return m_changed; }

    // Writes the pixels over the sprite's block in the opened file.
    void saveInPlace();
    // Writes the sprite as a new file of its own; the opened file stays the document's.
    void saveToNewFile(const std::filesystem::path& file);

  private:
    // Runs a step, then tells the observers of `event`, also when the step failed.
    void tellAfter(const std::function<void()>& step, const SpriteDocumentEvent& event);
    void pixelsChanged(PixelRect area);
    PixelRect wholeSprite() const { return {0, 0, m_sprite.width, m_sprite.height}; }

    SpriteTable m_table;
    std::optional<std::size_t> m_current;
    SpriteImage m_sprite;
    std::optional<SpriteImage> m_clipboard;
    bool m_changed = false;
    ObserverList<SpriteDocumentEvent> m_observers;
};

}  // namespace vek
