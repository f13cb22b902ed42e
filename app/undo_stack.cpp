#include "app/undo_stack.h"

#include <algorithm>
#include <vector>

#include "app/scope_exit.h"

namespace vek {

namespace {

class FunctionStep final : public UndoStep {
  public:
    FunctionStep(Bilingual label, std::function<void()> apply, std::function<void()> revert,
                 std::size_t bytes, int topic)
        : UndoStep(label, topic),
          m_apply(std::move(apply)),
          m_revert(std::move(revert)),
          m_bytes(bytes) {}

    void apply() override { m_apply(); }
    void revert() override { m_revert(); }
    std::size_t bytes() const override { return sizeof(*this) + m_bytes; }

  private:
    std::function<void()> m_apply;
    std::function<void()> m_revert;
    std::size_t m_bytes;
};

}  // namespace

std::unique_ptr<UndoStep> makeStep(Bilingual label, std::function<void()> apply,
                                   std::function<void()> revert, std::size_t bytes, int topic) {
    return std::make_unique<FunctionStep>(label, std::move(apply), std::move(revert), bytes, topic);
}

class UndoStack::Group final : public UndoStep {
  public:
    explicit Group(Bilingual label) : UndoStep(label) {}

    void apply() override {
        for (const auto& step : m_parts) step->apply();
    }
    void revert() override {
        for (auto part = m_parts.rbegin(); part != m_parts.rend(); ++part) (*part)->revert();
    }
    std::size_t bytes() const override {
        std::size_t total = sizeof(*this);
        for (const auto& step : m_parts) total += step->bytes();
        return total;
    }
    bool any(const std::function<bool(const UndoStep&)>& matters) const override {
        return std::any_of(m_parts.begin(), m_parts.end(),
                           [&matters](const auto& step) { return step->any(matters); });
    }

    void add(std::unique_ptr<UndoStep> step) { m_parts.push_back(std::move(step)); }
    bool empty() const { return m_parts.empty(); }

  private:
    std::vector<std::unique_ptr<UndoStep>> m_parts;
};

UndoStack::UndoStack(std::size_t maxSteps, std::size_t maxBytes)
    : m_maxSteps(maxSteps), m_maxBytes(maxBytes) {}

UndoStack::~UndoStack() = default;

void UndoStack::push(std::unique_ptr<UndoStep> step) {
    step->apply();
    record(std::move(step));
}

void UndoStack::record(std::unique_ptr<UndoStep> step) {
    if (m_group) return m_group->add(std::move(step));
    keep(std::move(step));
    changed();
}

void UndoStack::keep(std::unique_ptr<UndoStep> step) {
    dropRedo();
    // Typing on merges into the step before, unless that one ends in the clean state.
    const std::size_t lastBytes = m_done > 0 ? m_steps.back()->bytes() : 0;
    if (m_done > 0 && m_clean != m_done && m_steps.back()->absorb(*step)) {
        m_bytes = m_bytes - lastBytes + m_steps.back()->bytes();
    } else {
        m_bytes += step->bytes();
        m_steps.push_back(std::move(step));
        ++m_done;
    }
    while (m_steps.size() > m_maxSteps || (m_bytes > m_maxBytes && m_steps.size() > 1))
        dropOldest();
}

bool UndoStack::undo() {
    if (!canUndo()) return false;
    // A step that fails half way (a file that cannot be written) counts as taken back.
    const ScopeExit tell([this] { changed(); });
    --m_done;
    m_steps[m_done]->revert();
    return true;
}

bool UndoStack::redo() {
    if (!canRedo()) return false;
    const ScopeExit tell([this] { changed(); });
    ++m_done;
    m_steps[m_done - 1]->apply();
    return true;
}

std::optional<Bilingual> UndoStack::undoLabel() const {
    if (!canUndo()) return std::nullopt;
    return m_steps[m_done - 1]->label();
}

std::optional<Bilingual> UndoStack::redoLabel() const {
    if (!canRedo()) return std::nullopt;
    return m_steps[m_done]->label();
}

std::optional<int> UndoStack::undoTopic() const {
    if (!canUndo()) return std::nullopt;
    return m_steps[m_done - 1]->topic();
}

std::optional<int> UndoStack::redoTopic() const {
    if (!canRedo()) return std::nullopt;
    return m_steps[m_done]->topic();
}

void UndoStack::forget(const std::function<bool(const UndoStep&)>& which) {
    std::deque<std::unique_ptr<UndoStep>> kept;
    std::size_t done = 0;
    for (std::size_t k = 0; k < m_steps.size(); ++k) {
        if (which(*m_steps[k])) {
            m_bytes -= m_steps[k]->bytes();
            continue;
        }
        if (k < m_done) ++done;
        kept.push_back(std::move(m_steps[k]));
    }
    m_steps = std::move(kept);
    m_done = done;
    m_clean = m_done;
    changed();
}

void UndoStack::clear() {
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
    m_clean = 0;
    changed();
}

void UndoStack::setClean() {
    m_clean = m_done;
    changed();
}

bool UndoStack::changedSinceClean(const std::function<bool(const UndoStep&)>& matters) const {
    if (!m_clean) return true;
    const std::size_t from = std::min(*m_clean, m_done);
    const std::size_t to = std::max(*m_clean, m_done);
    for (std::size_t k = from; k < to; ++k) {
        if (m_steps[k]->any(matters)) return true;
    }
    return false;
}

void UndoStack::beginGroup(Bilingual label) {
    if (m_groupDepth++ == 0) m_group = std::make_unique<Group>(label);
}

void UndoStack::endGroup() {
    if (m_groupDepth == 0 || --m_groupDepth > 0) return;
    std::unique_ptr<Group> group = std::move(m_group);
    if (!group->empty()) keep(std::move(group));
    changed();
}

void UndoStack::dropRedo() {
    if (m_clean && *m_clean > m_done) m_clean.reset();
    while (m_steps.size() > m_done) {
        m_bytes -= m_steps.back()->bytes();
        m_steps.pop_back();
    }
}

void UndoStack::dropOldest() {
    m_bytes -= m_steps.front()->bytes();
    m_steps.pop_front();
    --m_done;
    if (m_clean) m_clean = *m_clean == 0 ? std::nullopt : std::optional(*m_clean - 1);
}

}  // namespace vek
