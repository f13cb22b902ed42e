#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "app/messages.h"
#include "app/observers.h"

namespace vek {

// One edit of a document that can be taken back and made again.
class UndoStep {
  public:
    // `topic` lets a document tell its kinds of steps apart (0 when it has only one kind).
    explicit UndoStep(Bilingual label, int topic = 0) : m_label(label), m_topic(topic) {}
    virtual ~UndoStep() = default;
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

    const Bilingual& label() const { return m_label; }
    int topic() const { return m_topic; }

    virtual void apply() = 0;
    virtual void revert() = 0;
    // Takes the step that follows, already applied, into this one (typing on in one field);
    // false when it cannot, and the follower stays a step of its own.
    virtual bool absorb(const UndoStep& next) {
        (void)next;
        return false;
    }
    // The memory the step holds, for the stack's bound.
    virtual std::size_t bytes() const { return sizeof(*this); }
    // Whether this step, or a step it is made of, is one that `matters`.
    virtual bool any(const std::function<bool(const UndoStep&)>& matters) const {
        return matters(*this);
    }

  private:
    Bilingual m_label;
    int m_topic;
};

// A step that swaps one state for another through two functions; `bytes` is what they hold.
std::unique_ptr<UndoStep> makeStep(Bilingual label, std::function<void()> apply,
                                   std::function<void()> revert, std::size_t bytes = 0,
                                   int topic = 0);

// Tells that the steps or the clean state changed.
struct UndoStackChange {};

// The undo and redo steps of one document. The oldest steps go when there are more than
// `maxSteps` or they hold more than `maxBytes`; the newest always stays. The clean state is the
// one last read or saved: a document's "changed" flag is whether the present state differs.
class UndoStack {
  public:
    static constexpr std::size_t kDefaultSteps = 100;
    static constexpr std::size_t kDefaultBytes = std::size_t{32} << 20;

    explicit UndoStack(std::size_t maxSteps = kDefaultSteps, std::size_t maxBytes = kDefaultBytes);
    ~UndoStack();
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    using Observer = ObserverList<UndoStackChange>::Observer;
    [[nodiscard]] Subscription observe(Observer observer) { return m_observers.add(observer); }

    // Applies the step and keeps it. The steps that could be redone go.
    void push(std::unique_ptr<UndoStep> step);
    // Keeps a step whose edit has already been made.
    void record(std::unique_ptr<UndoStep> step);

    // False when there is no step to take back or make again.
    bool undo();
    bool redo();
    bool canUndo() const { return m_done > 0 && !m_group; }
    bool canRedo() const { return m_done < m_steps.size() && !m_group; }
    // The labels of the steps that undo and redo would run.
    std::optional<Bilingual> undoLabel() const;
    std::optional<Bilingual> redoLabel() const;
    // The topics of those steps.
    std::optional<int> undoTopic() const;
    std::optional<int> redoTopic() const;
    std::size_t undoCount() const { return m_done; }
    std::size_t redoCount() const { return m_steps.size() - m_done; }
    std::size_t bytes() const { return m_bytes; }

    // Forgets every step; the present state becomes the clean one.
    void clear();
    // Forgets the steps that `which` picks, done or undone, and keeps the others in their order;
    // the present state becomes the clean one.
    void forget(const std::function<bool(const UndoStep&)>& which);
    void setClean();
    bool isClean() const { return m_clean == m_done; }
    // Whether a step that `matters` lies between the clean state and the present one (either
    // way); true when the clean state is out of reach.
    bool changedSinceClean(const std::function<bool(const UndoStep&)>& matters) const;

    // The steps made between beginGroup and endGroup are undone and redone as one, under the
    // group's label. Groups may nest; the outermost one counts.
    void beginGroup(Bilingual label);
    void endGroup();

  private:
    class Group;

    void keep(std::unique_ptr<UndoStep> step);
    void dropRedo();
    void dropOldest();
    void changed() { m_observers.notify({}); }

    std::size_t m_maxSteps;
    std::size_t m_maxBytes;
    std::deque<std::unique_ptr<UndoStep>> m_steps;
    std::size_t m_done = 0;  // the steps before this index are applied
    std::optional<std::size_t> m_clean = 0;
    std::size_t m_bytes = 0;
    std::unique_ptr<Group> m_group;
    int m_groupDepth = 0;
    ObserverList<UndoStackChange> m_observers;
};

// Groups the steps made while it lives.
class UndoGroup {
  public:
    UndoGroup(UndoStack& stack, Bilingual label) : m_stack(stack) { stack.beginGroup(label); }
    ~UndoGroup() { m_stack.endGroup(); }
    UndoGroup(const UndoGroup&) = delete;
    UndoGroup& operator=(const UndoGroup&) = delete;

  private:
    UndoStack& m_stack;
};

}  // namespace vek
