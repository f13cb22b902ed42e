#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

#include "app/messages.h"
#include "app/text_names.h"
#include "app/undo_stack.h"

namespace vek {

// The undo and redo steps of one pixel buffer, on an undo stack. A step keeps only the runs of
// pixels it changed, each with the values before and after, so a stroke over a large sprite
// costs a few bytes. Steps of other kinds (a change of the file's list of sprites) share the
// stack, so that undo and redo run every step in the order it was made. The oldest steps go when
// there are more than `maxSteps` or they hold more than `maxBytes`.
class PixelHistory {
  public:
    static constexpr std::size_t kDefaultSteps = UndoStack::kDefaultSteps;
    static constexpr std::size_t kDefaultBytes = UndoStack::kDefaultBytes;
    static constexpr Bilingual kPaintLabel = Msg::SpritePaintLabel;
    // The topic of the pixel steps; steps of other kinds need another.
    static constexpr int kPixelTopic = 0;

    explicit PixelHistory(std::size_t maxSteps = kDefaultSteps,
                          std::size_t maxBytes = kDefaultBytes)
        : m_stack(maxSteps, maxBytes) {}

    // Records the change from `before` to `after` (same size) as one step; no step when nothing
    // changed. Returns whether a step was recorded. The redo steps go.
    bool record(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                Bilingual label = kPaintLabel);
    // The same for one pixel at `offset`, without looking at the others.
    bool recordPixel(std::size_t offset, std::uint8_t before, std::uint8_t after);
    // Puts the last step's old values (undo) or the next step's new values (redo) back into
    // `pixels`; false when there is no such step. `changed` gets the first and one past the last
    // offset that the step touched. The stack's steps run only through these two.
    bool undo(std::span<std::uint8_t> pixels,
              std::pair<std::size_t, std::size_t>* changed = nullptr);
    bool redo(std::span<std::uint8_t> pixels,
              std::pair<std::size_t, std::size_t>* changed = nullptr);
    // Keeps a step of another kind, already made, after the steps before it.
    void recordOther(std::unique_ptr<UndoStep> step);
    // Forgets every step; the pixels as they are become the clean state.
    void clear() { m_stack.clear(); }
    // Forgets the pixel steps (the pixels belong to another buffer now) and keeps the others;
    // the pixels as they are become the clean state.
    void forgetPixelSteps();
    // Whether undo or redo would run a pixel step next.
    bool pixelStepUndoesNext() const { return m_stack.undoTopic() == kPixelTopic; }
    bool pixelStepRedoesNext() const { return m_stack.redoTopic() == kPixelTopic; }
    // Whether the pixels differ from the clean state.
    bool pixelsChanged() const;

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    std::size_t undoSteps() const { return m_stack.undoCount(); }
    // The bytes that the steps hold, undo and redo.
    std::size_t bytes() const { return m_stack.bytes(); }
    // The labels, and the clean state: the pixels last read or saved.
    const UndoStack& stack() const { return m_stack; }
    void setClean() { m_stack.setClean(); }

  private:
    class Step;

    bool replay(bool forward, std::span<std::uint8_t> pixels,
                std::pair<std::size_t, std::size_t>* changed);

    UndoStack m_stack;
    // Where the step being undone or redone writes, and where it says what it touched.
    std::span<std::uint8_t> m_target;
    std::pair<std::size_t, std::size_t>* m_changed = nullptr;
};

}  // namespace vek
