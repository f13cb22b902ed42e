#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "app/observers.h"
#include "sprites/pixel_history.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_frames.h"
#include "sprites/sprite_render.h"

namespace vek {

class SpriteSelection;

// What changed in a sprite document.
enum class SpriteChange {
    FileOpened,      // a new table (also after a failed open: the entries read so far)
    SpriteSelected,  // another current sprite, or none
    PixelsChanged,   // pixels of the current sprite, within `area`
    SavedToNewFile,  // the current sprite was written to `file`
    SavedInPlace,    // the current sprite was written back; it is no longer changed
};

// What the user chose before a changed sprite is left (another sprite, another file, the end).
enum class LeaveChoice { Save, Discard, Stay };

// A pixel of the sprite, or a point beside it (the mouse reports such while a button is held).
struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};

struct SpriteDocumentEvent {
    SpriteChange change;
    PixelRect area;              // PixelsChanged: the pixels of the sprite that changed
    std::filesystem::path file;  // FileOpened, SavedToNewFile
};

// The open sprite file: its table, the current sprite and its pixels, the sprite clipboard,
// which survives opening other files, and the current sprite's undo history. The pixels change
// only through paint, cut, paste, clear, replace, undo and redo, and only in memory; the file
// changes only through saveInPlace. Observers are told of every change. The selection is the
// document's too, so that every view and command acts on the same one.
class SpriteDocument {
  public:
    SpriteDocument();
    ~SpriteDocument();
    SpriteDocument(const SpriteDocument&) = delete;
    SpriteDocument& operator=(const SpriteDocument&) = delete;

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
    SpriteSelection& selection() { return *m_selection; }
    const SpriteSelection& selection() const { return *m_selection; }

    // Sets one pixel; false (and nothing changed) outside the sprite or without one. The pixels
    // painted between beginStroke and endStroke are one undo step; outside a stroke each is one.
    bool paint(int x, int y, std::uint8_t index);
    // The same for many pixels at once (those outside the sprite are left out); the observers
    // are told once, of the rectangle around the pixels that are inside.
    void paintPixels(std::span<const PixelPoint> points, std::uint8_t index);
    // Sets pixels back to their values when the stroke began: a tool's preview that moves on.
    void restoreStrokePixels(std::span<const PixelPoint> points);
    // `label` names the stroke's undo step.
    void beginStroke(Bilingual label = PixelHistory::kPaintLabel);
    void endStroke();
    // Copy takes the sprite into the clipboard; Cut also clears it. Paste lays the clipboard on
    // the sprite at the top-left corner, cut off at its edges. Clear sets every pixel to index 0.
    // Without a sprite they do nothing; paste with an empty clipboard only asks for a redraw.
    void copy();
    void cut();
    void paste();
    void clear();
    bool hasClipboard() const { return m_clipboard.has_value(); }
    // A piece of the sprite (a selection) into the clipboard, with the place it was taken from.
    void copyPiece(SpriteImage piece, PixelPoint from);
    const std::optional<SpriteImage>& clipboard() const { return m_clipboard; }
    // Where the clipboard's piece was taken from; none when it holds a whole sprite.
    std::optional<PixelPoint> clipboardPlace() const { return m_clipboardPlace; }
    // Sets the pixels of `area` to `values` (row by row, area.width × area.height), those
    // outside the sprite left out: part of the stroke under way, else one step named `label`.
    void placePixels(PixelRect area, std::span<const std::uint8_t> values, Bilingual label);
    // Replaces every pixel by those of a picture of the sprite's own size, as one step.
    void replacePixels(const SpriteImage& picture);
    // Refuses, naming both sizes, a picture whose size is not the current sprite's.
    void requireSpriteSize(int width, int height) const;

    // One history of the pixel steps and the changes of the list of sprites, run in the order
    // they were made. The pixel steps belong to the current sprite: selecting another sprite, or
    // a change of the list (also by undo or redo), forgets them; opening a file starts afresh.
    void undo();
    void redo();
    bool canUndo() const { return m_strokeChanged || m_history.canUndo(); }
    bool canRedo() const { return !m_strokeChanged && m_history.canRedo(); }
    const PixelHistory& history() const { return m_history; }
    const UndoStack& undoStack() const { return m_history.stack(); }

    // The pixels differ from those read or last saved in place.
    bool changed() const { return m_strokeChanged || m_history.pixelsChanged(); }

    // Asked by mayLeaveSprite; without a question a changed sprite is left unsaved.
    void setLeaveQuestion(std::function<LeaveChoice()> question) {
        m_leaveQuestion = std::move(question);
    }
    // Before the current sprite is left: true when it is unchanged or the user saved it or let
    // it go, false when the user chose to stay.
    bool mayLeaveSprite();

    // Changes to the file's list of sprites, written to the file at once; each is one undo step,
    // and undo and redo write the file again. The current sprite is left first (mayLeaveSprite):
    // false, and nothing done, when the user stays. Afterwards the sprite the change is about is
    // current: the new one, the copy, the one after the deleted one, the moved one. Insert and
    // duplicate refuse a file that holds the most sprites the table can.
    bool insertSprite(std::size_t at, std::uint16_t width, std::uint16_t height);
    // Inserts pictures (a GIF's frames) as sprites `at` onwards, one undo step; the first is
    // selected afterwards.
    bool insertSprites(std::size_t at, SpriteList pictures);
    bool duplicateSprite();
    bool deleteSprite();
    bool moveSprite(std::size_t from, std::size_t to);
    // Gives sprites `first` to `last` each the picture `resize` makes of it (a new size), one
    // undo step; the current sprite stays current.
    bool resizeSprites(std::size_t first, std::size_t last,
                       std::function<SpriteImage(const SpriteImage&)> resize);
    // Refuses, naming the most there can be, `more` sprites that the table has no room for.
    void requireRoomFor(std::size_t more) const;

    // Writes the pixels over the sprite's block in the opened file.
    void saveInPlace();
    // Writes the sprite as a new file of its own; the opened file stays the document's.
    void saveToNewFile(const std::filesystem::path& file);

  private:
    // A change of the list of sprites and its reverse, each with the sprite to select after it.
    struct FrameStep {
        Bilingual label;
        std::function<void(SpriteList&)> apply;
        std::function<void(SpriteList&)> revert;
        std::size_t selectAfterApply = 0;
        std::size_t selectAfterRevert = 0;
        std::size_t bytes = 0;  // what the functions hold
    };
    // One side of a frame step, which the history's undo or redo asks for; it runs after the
    // history has moved, since it reads the file anew and forgets the pixel steps.
    struct FrameRewrite {
        std::function<void(SpriteList&)> edit;
        std::size_t select = 0;
    };
    bool runFrameStep(FrameStep step);
    // Rewrites the file by one side of a step, reads its table again and selects a sprite.
    void rewriteFrames(const std::function<void(SpriteList&)>& edit, std::size_t select);
    // Undo (false) or redo (true) of the next step, pixels or list.
    void replay(bool forward);

    // Runs a step, then tells the observers of `event`, also when the step failed.
    void tellAfter(const std::function<void()>& step, const SpriteDocumentEvent& event);
    void pixelsChanged(PixelRect area);
    // Runs a change of the pixels as one undo step and tells the observers of the whole sprite.
    void editAsOneStep(Bilingual label, const std::function<void()>& change);
    void fillWithZero(Bilingual label);
    void startHistory();
    // The rows that hold the offsets from `range.first` up to `range.second`.
    PixelRect rowsOf(std::pair<std::size_t, std::size_t> range) const;
    // Sets the pixels inside the sprite by `valueAt(point)` and tells of the rectangle around
    // them.
    void setPixels(std::span<const PixelPoint> points,
                   const std::function<std::uint8_t(PixelPoint)>& valueAt);
    PixelRect wholeSprite() const { return {0, 0, m_sprite.width, m_sprite.height}; }

    SpriteTable m_table;
    std::optional<std::size_t> m_current;
    SpriteImage m_sprite;
    std::optional<SpriteImage> m_clipboard;
    std::optional<PixelPoint> m_clipboardPlace;
    PixelHistory m_history;
    std::optional<std::vector<std::uint8_t>> m_strokeStart;  // the pixels when the stroke began
    Bilingual m_strokeLabel = PixelHistory::kPaintLabel;
    bool m_strokeChanged = false;
    std::function<LeaveChoice()> m_leaveQuestion;
    std::optional<FrameRewrite> m_pendingRewrite;
    ObserverList<SpriteDocumentEvent> m_observers;
    // Last: it observes the document, so it goes before the observer list.
    std::unique_ptr<SpriteSelection> m_selection;
};

}  // namespace vek
