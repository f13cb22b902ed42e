#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace vek {

// The undo and redo steps of one pixel buffer. A step keeps only the runs of pixels it changed,
// each with the values before and after, so a stroke over a large sprite costs a few bytes. The
// oldest steps go when there are more than `maxSteps` or they hold more than `maxBytes`.
class PixelHistory {
  public:
    static constexpr std::size_t kDefaultSteps = 100;
    static constexpr std::size_t kDefaultBytes = std::size_t{32} << 20;

    explicit PixelHistory(std::size_t maxSteps = kDefaultSteps,
                          std::size_t maxBytes = kDefaultBytes)
        : m_maxSteps(maxSteps), m_maxBytes(maxBytes) {}

    // Records the change from `before` to `after` (same size) as one step; no step when nothing
    // changed. Returns whether a step was recorded. The redo steps go.
    bool record(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);
    // The same for one pixel at `offset`, without looking at the others.
    bool recordPixel(std::size_t offset, std::uint8_t before, std::uint8_t after);
    // Puts the last step's old values (undo) or the next step's new values (redo) back into
    // `pixels`; false when there is no such step. `changed` gets the first and one past the last
    // offset that the step touched.
    bool undo(std::span<std::uint8_t> pixels,
              std::pair<std::size_t, std::size_t>* changed = nullptr);
    bool redo(std::span<std::uint8_t> pixels,
              std::pair<std::size_t, std::size_t>* changed = nullptr);
    void clear();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::size_t undoSteps() const { return m_undo.size(); }
    // The bytes that the steps hold, undo and redo.
    std::size_t bytes() const { return m_bytes; }
    // Names the pixels' present state among those the history reaches: equal names mean equal
    // pixels, so the owner can tell whether it is back where it last saved.
    std::uint64_t state() const { return m_undo.empty() ? m_base : m_undo.back().id; }

  private:
    struct Run {
        std::uint32_t offset;
        std::uint32_t length;
    };
    struct Step {
        std::uint64_t id = 0;
        std::vector<Run> runs;
        std::vector<std::uint8_t> before;  // the runs' old values, one after the other
        std::vector<std::uint8_t> after;
        std::size_t bytes() const;
    };

    static void apply(const Step& step, const std::vector<std::uint8_t>& values,
                      std::span<std::uint8_t> pixels, std::pair<std::size_t, std::size_t>* changed);
    void push(Step step);
    void dropOldest();
    void dropRedo();

    std::size_t m_maxSteps;
    std::size_t m_maxBytes;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    std::size_t m_bytes = 0;
    std::uint64_t m_base = 0;  // the state before the oldest step kept
    std::uint64_t m_lastId = 0;
};

}  // namespace vek
