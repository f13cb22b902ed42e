#include "sprites/pixel_history.h"

#include <algorithm>

namespace vek {

std::size_t PixelHistory::Step::bytes() const {
    return sizeof(Step) + runs.size() * sizeof(Run) + before.size() + after.size();
}

bool PixelHistory::record(std::span<const std::uint8_t> before,
                          std::span<const std::uint8_t> after) {
    Step step;
    const std::size_t size = std::min(before.size(), after.size());
    for (std::size_t i = 0; i < size;) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < size && before[i] != after[i]) ++i;
        step.runs.push_back(
            {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(i - start)});
        step.before.insert(step.before.end(), before.begin() + static_cast<std::ptrdiff_t>(start),
                           before.begin() + static_cast<std::ptrdiff_t>(i));
        step.after.insert(step.after.end(), after.begin() + static_cast<std::ptrdiff_t>(start),
                          after.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (step.runs.empty()) return false;
    push(std::move(step));
    return true;
}

bool PixelHistory::recordPixel(std::size_t offset, std::uint8_t before, std::uint8_t after) {
    if (before == after) return false;
    push({0, {{static_cast<std::uint32_t>(offset), 1}}, {before}, {after}});
    return true;
}

void PixelHistory::push(Step step) {
    dropRedo();
    step.id = ++m_lastId;
    m_bytes += step.bytes();
    m_undo.push_back(std::move(step));
    // The newest step always stays, however large.
    while (m_undo.size() > m_maxSteps || (m_bytes > m_maxBytes && m_undo.size() > 1)) dropOldest();
}

void PixelHistory::apply(const Step& step, const std::vector<std::uint8_t>& values,
                         std::span<std::uint8_t> pixels,
                         std::pair<std::size_t, std::size_t>* changed) {
    std::size_t from = 0;
    for (const Run& run : step.runs) {
        if (run.offset + std::size_t{run.length} > pixels.size()) break;
        std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(from), run.length,
                    pixels.begin() + run.offset);
        from += run.length;
    }
    if (changed) {
        const Run& last = step.runs.back();
        *changed = {step.runs.front().offset, std::size_t{last.offset} + last.length};
    }
}

bool PixelHistory::undo(std::span<std::uint8_t> pixels,
                        std::pair<std::size_t, std::size_t>* changed) {
    if (m_undo.empty()) return false;
    apply(m_undo.back(), m_undo.back().before, pixels, changed);
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
    return true;
}

bool PixelHistory::redo(std::span<std::uint8_t> pixels,
                        std::pair<std::size_t, std::size_t>* changed) {
    if (m_redo.empty()) return false;
    apply(m_redo.back(), m_redo.back().after, pixels, changed);
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    return true;
}

void PixelHistory::clear() {
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
    m_base = ++m_lastId;
}

void PixelHistory::dropOldest() {
    m_bytes -= m_undo.front().bytes();
    m_base = m_undo.front().id;
    m_undo.pop_front();
}

void PixelHistory::dropRedo() {
    for (const Step& step : m_redo) m_bytes -= step.bytes();
    m_redo.clear();
}

}  // namespace vek
