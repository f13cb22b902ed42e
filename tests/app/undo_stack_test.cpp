#include "app/undo_stack.h"

#include <gtest/gtest.h>

#include <string>

namespace vek {
namespace {

// Steps that type into one text; typing steps of the same topic merge.
class Typing final : public UndoStep {
  public:
    Typing(std::string& text, std::string more, int topic = 0)
        : UndoStep({"Typing", "Eingabe"}, topic), m_text(text), m_more(std::move(more)) {}
    void apply() override { m_text += m_more; }
    void revert() override { m_text.resize(m_text.size() - m_more.size()); }
    bool absorb(const UndoStep& next) override {
        const auto* typed = dynamic_cast<const Typing*>(&next);
        if (!typed || typed->topic() != topic()) return false;
        m_more += typed->m_more;
        return true;
    }

  private:
    std::string& m_text;
    std::string m_more;
};

TEST(UndoStack, StepsAreUndoneAndRedoneInOrderWithTheirLabels) {
    std::string text;
    UndoStack stack;
    int told = 0;
    const Subscription observation = stack.observe([&](const UndoStackChange&) { ++told; });
    stack.push(std::make_unique<Typing>(text, "a", 1));
    stack.push(std::make_unique<Typing>(text, "b", 2));
    stack.push(makeStep(
        {"Clear", "Leeren"}, [&] { text.clear(); }, [&] { text = "ab"; }));
    EXPECT_EQ(text, "");
    EXPECT_EQ(stack.undoLabel()->german, "Leeren");
    EXPECT_TRUE(stack.undo());
    EXPECT_TRUE(stack.undo());
    EXPECT_EQ(text, "a");
    EXPECT_EQ(stack.redoLabel()->english, "Typing");
    EXPECT_TRUE(stack.redo());
    EXPECT_EQ(text, "ab");
    stack.push(std::make_unique<Typing>(text, "c", 3));
    EXPECT_FALSE(stack.canRedo()) << "a new step drops what could be redone";
    EXPECT_EQ(told, 7);
    EXPECT_TRUE(stack.undo());
    EXPECT_TRUE(stack.undo());
    EXPECT_TRUE(stack.undo());
    EXPECT_FALSE(stack.undo());
    EXPECT_EQ(text, "");
}

TEST(UndoStack, TypingMergesButNeverAcrossTheCleanState) {
    std::string text;
    UndoStack stack;
    auto isTyping = [](const UndoStep& step) { return step.topic() == 1; };
    stack.push(std::make_unique<Typing>(text, "a", 1));
    stack.push(std::make_unique<Typing>(text, "b", 1));
    EXPECT_EQ(stack.undoCount(), 1u);
    stack.setClean();
    stack.push(std::make_unique<Typing>(text, "c", 1));
    EXPECT_EQ(stack.undoCount(), 2u) << "the saved state stays reachable";
    EXPECT_TRUE(stack.changedSinceClean(isTyping));
    stack.push(std::make_unique<Typing>(text, "d", 2));
    EXPECT_FALSE(stack.changedSinceClean([](const UndoStep& step) { return step.topic() == 3; }));
    stack.undo();
    stack.undo();
    EXPECT_EQ(text, "ab");
    EXPECT_TRUE(stack.isClean());
    stack.undo();
    EXPECT_TRUE(stack.changedSinceClean(isTyping)) << "before the clean state counts too";
    stack.push(std::make_unique<Typing>(text, "x", 1));
    EXPECT_TRUE(stack.changedSinceClean([](const UndoStep&) { return false; }))
        << "the clean state was dropped with the redo steps";
}

TEST(UndoStack, TheOldestStepsGoAtTheBoundsAndTheCleanStateWithThem) {
    std::string text;
    UndoStack few(3);
    for (const char* more : {"a", "b", "c", "d"})
        few.push(std::make_unique<Typing>(text, more, *more));
    EXPECT_EQ(few.undoCount(), 3u);
    EXPECT_FALSE(few.isClean());
    while (few.undo()) {
    }
    EXPECT_EQ(text, "a");
    EXPECT_FALSE(few.isClean()) << "the state first read is out of reach";

    UndoStack small(100, 1000);
    small.push(makeStep(
        {"big", "gross"}, [] {}, [] {}, 600));
    small.push(makeStep(
        {"big", "gross"}, [] {}, [] {}, 600));
    EXPECT_EQ(small.undoCount(), 1u);
    EXPECT_LE(small.bytes(), 1000u);
}

TEST(UndoStack, AGroupIsOneStepTakenBackInReverseOrder) {
    std::string text = "x";
    UndoStack stack;
    {
        const UndoGroup group(stack, {"Assistant", "Assistent"});
        stack.push(makeStep(
            {"Clear", "Leeren"}, [&] { text.clear(); }, [&] { text.assign(1, 'x'); }));
        stack.push(std::make_unique<Typing>(text, "new"));
        EXPECT_FALSE(stack.canUndo()) << "not while the group is open";
    }
    EXPECT_EQ(stack.undoCount(), 1u);
    EXPECT_EQ(stack.undoLabel()->english, "Assistant");
    stack.undo();
    EXPECT_EQ(text, "x");
    stack.redo();
    EXPECT_EQ(text, "new");
}

TEST(UndoStack, ForgottenStepsLeaveTheOthersInTheirOrderAndTheStateClean) {
    // Steps of topic 1 append a letter to `kept`; those of topic 2 to `dropped`.
    std::string kept;
    std::string dropped;
    UndoStack stack;
    stack.push(std::make_unique<Typing>(kept, "a", 1));
    stack.push(std::make_unique<Typing>(dropped, "x", 2));
    stack.push(makeStep(
        {"B", "B"}, [&] { kept += "b"; }, [&] { kept.pop_back(); }, 0, 1));
    stack.push(std::make_unique<Typing>(dropped, "y", 2));
    stack.push(makeStep(
        {"C", "C"}, [&] { kept += "c"; }, [&] { kept.pop_back(); }, 0, 1));
    stack.undo();  // c, which stays to be redone
    EXPECT_EQ(stack.undoTopic(), 2);
    EXPECT_EQ(stack.redoTopic(), 1);
    const std::size_t bytes = stack.bytes();
    stack.forget([](const UndoStep& step) { return step.topic() == 2; });
    EXPECT_LT(stack.bytes(), bytes);
    EXPECT_TRUE(stack.isClean());
    EXPECT_EQ(stack.undoCount(), 2u);
    EXPECT_EQ(stack.redoCount(), 1u);
    EXPECT_EQ(stack.undoTopic(), 1);
    stack.redo();
    EXPECT_EQ(kept, "abc");
    while (stack.undo()) {
    }
    EXPECT_EQ(kept, "");
    EXPECT_EQ(dropped, "xy") << "forgotten steps are not run";
    EXPECT_EQ(stack.undoTopic(), std::nullopt);
}

}  // namespace
}  // namespace vek
