#include "sprites/pixel_history.h"

#include <algorithm>
#include <vector>

namespace vek {

class PixelHistory::Step final : public UndoStep {
  public:
    Step(PixelHistory& history, Bilingual label)
        : UndoStep(label, kPixelTopic), m_history(history) {}

    // Collects the runs in which `before` and `after` differ; false when they do not.
    bool collect(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
        const std::size_t size = std::min(before.size(), after.size());
        for (std::size_t i = 0; i < size;) {
            if (before[i] == after[i]) {
                ++i;
                continue;
            }
            const std::size_t start = i;
            while (i < size && before[i] != after[i]) ++i;
            m_runs.push_back(
                {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(i - start)});
            m_before.insert(m_before.end(), before.begin() + static_cast<std::ptrdiff_t>(start),
                            before.begin() + static_cast<std::ptrdiff_t>(i));
            m_after.insert(m_after.end(), after.begin() + static_cast<std::ptrdiff_t>(start),
                           after.begin() + static_cast<std::ptrdiff_t>(i));
        }
        return !m_runs.empty();
    }
    void collectPixel(std::size_t offset, std::uint8_t before, std::uint8_t after) {
        m_runs.push_back({static_cast<std::uint32_t>(offset), 1});
        m_before.push_back(before);
        m_after.push_back(after);
    }

    void apply() override { write(m_after); }
    void revert() override { write(m_before); }
    std::size_t bytes() const override {
        return sizeof(*this) + m_runs.size() * sizeof(Run) + m_before.size() + m_after.size();
    }

  private:
    struct Run {
        std::uint32_t offset;
        std::uint32_t length;
    };

    void write(const std::vector<std::uint8_t>& values) const {
        std::span<std::uint8_t> pixels = m_history.m_target;
        std::size_t from = 0;
        for (const Run& run : m_runs) {
            if (run.offset + std::size_t{run.length} > pixels.size()) break;
            std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(from), run.length,
                        pixels.begin() + run.offset);
            from += run.length;
        }
        if (m_history.m_changed) {
            const Run& last = m_runs.back();
            *m_history.m_changed = {m_runs.front().offset, std::size_t{last.offset} + last.length};
        }
    }

    PixelHistory& m_history;
    std::vector<Run> m_runs;
    std::vector<std::uint8_t> m_before;  // the runs' old values, one after the other
    std::vector<std::uint8_t> m_after;
};

bool PixelHistory::record(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                          Bilingual label) {
    auto step = std::make_unique<Step>(*this, label);
    if (!step->collect(before, after)) return false;
    m_stack.record(std::move(step));
    return true;
}

bool PixelHistory::recordPixel(std::size_t offset, std::uint8_t before, std::uint8_t after) {
    if (before == after) return false;
    auto step = std::make_unique<Step>(*this, kPaintLabel);
    step->collectPixel(offset, before, after);
    m_stack.record(std::move(step));
    return true;
}

void PixelHistory::recordOther(std::unique_ptr<UndoStep> step) { m_stack.record(std::move(step)); }

void PixelHistory::forgetPixelSteps() {
    m_stack.forget([](const UndoStep& step) { return step.topic() == kPixelTopic; });
}

bool PixelHistory::pixelsChanged() const {
    return m_stack.changedSinceClean(
        [](const UndoStep& step) { return step.topic() == kPixelTopic; });
}

bool PixelHistory::replay(bool forward, std::span<std::uint8_t> pixels,
                          std::pair<std::size_t, std::size_t>* changed) {
    m_target = pixels;
    m_changed = changed;
    const bool ran = forward ? m_stack.redo() : m_stack.undo();
    m_target = {};
    m_changed = nullptr;
    return ran;
}

bool PixelHistory::undo(std::span<std::uint8_t> pixels,
                        std::pair<std::size_t, std::size_t>* changed) {
    return replay(false, pixels, changed);
}

bool PixelHistory::redo(std::span<std::uint8_t> pixels,
                        std::pair<std::size_t, std::size_t>* changed) {
    return replay(true, pixels, changed);
}

}  // namespace vek
