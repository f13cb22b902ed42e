#include "sprites/sprite_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "app/file_io.h"
#include "app/vek_error.h"
#include "support/temp_dir.h"
#include "tests/sprites/sprite_test_support.h"

namespace vek {
namespace {

using vek::testing::patterned;

// Answers the commands' questions as told and records what they offered.
class ScriptedQuestions : public SpriteEditingQuestions {
  public:
    bool confirmClear() override {
        ++clearQuestions;
        return clearAnswer;
    }
    std::optional<SpriteSize> askNewSpriteSize(SpriteSize initial) override {
        offeredSizes.push_back(initial);
        return sizeAnswer;
    }
    std::optional<SpriteResize> askResize(SpriteSize current, std::size_t sprite,
                                          std::size_t count) override {
        offeredSizes.push_back(current);
        offeredRanges.push_back({sprite, count});
        return resizeAnswer;
    }

    bool clearAnswer = true;
    int clearQuestions = 0;
    std::optional<SpriteSize> sizeAnswer;
    std::optional<SpriteResize> resizeAnswer;
    std::vector<SpriteSize> offeredSizes;
    std::vector<std::pair<std::size_t, std::size_t>> offeredRanges;  // current sprite, count
};

// A palette that differs from the game's in every slot but 0.
PaletteTable shiftedPalette(std::uint8_t shift) {
    PaletteTable table;
    for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
        const auto level = static_cast<std::uint8_t>((k + shift) % 64);
        table.setColor(k, paletteEntryColor(level, shift, static_cast<std::uint8_t>(63 - level)));
    }
    return table;
}

class SpriteEditingTest : public ::testing::Test {
  protected:
    SpriteEditingTest() {
        game = shiftedPalette(0);
        game.setBackground(0xFFFFFF);
        // Sprite 0: 4 × 3 counting 1 …; sprite 1: 2 × 2 of 50s; sprite 2: 3 × 1 of 60s.
        writeSpriteFile(dir / "a.spr", std::vector{patterned(4, 3, 1), SpriteImage(2, 2, 50),
                                                   SpriteImage(3, 1, 60)});
        editing.setQuestions(&questions);
        changes = editing.observe([this](SpriteEditingChange change) { told.push_back(change); });
    }

    void open() { document.open(dir / "a.spr"); }
    void run(SpriteCommandId id) { spriteCommand(id).execute(editing); }
    bool enabled(SpriteCommandId id) const { return spriteCommand(id).enabled(editing); }

    testing::TempDir dir;
    PaletteTable game;
    SpriteDocument document;
    SpriteEditing editing{document, game};
    ScriptedQuestions questions;
    std::vector<SpriteEditingChange> told;
    Subscription changes;
};

TEST_F(SpriteEditingTest, ColoursArePickedFromTheSpriteOnlyWhereItHasPixels) {
    EXPECT_EQ(editing.color(ColorSlot::Primary), 0);
    EXPECT_EQ(editing.color(ColorSlot::Secondary), 1);
    EXPECT_FALSE(editing.pickColor(ColorSlot::Primary, {0, 0}));  // no sprite yet
    open();
    const struct {
        ColorSlot slot;
        PixelPoint at;
        bool picked;
        std::uint8_t primary;
        std::uint8_t secondary;
    } cases[] = {
        {ColorSlot::Primary, {1, 0}, true, 2, 1},      {ColorSlot::Secondary, {3, 2}, true, 2, 12},
        {ColorSlot::Primary, {4, 0}, false, 2, 12},  // beside the sprite
        {ColorSlot::Secondary, {0, -1}, false, 2, 12}, {ColorSlot::Primary, {0, 2}, true, 9, 12},
    };
    for (const auto& c : cases) {
        told.clear();
        EXPECT_EQ(editing.pickColor(c.slot, c.at), c.picked) << c.at.x << "," << c.at.y;
        EXPECT_EQ(editing.color(ColorSlot::Primary), c.primary);
        EXPECT_EQ(editing.color(ColorSlot::Secondary), c.secondary);
        EXPECT_EQ(told.size(), c.picked ? 1u : 0u);
    }
    editing.resetColors();
    EXPECT_EQ(editing.color(ColorSlot::Primary), 0);
    EXPECT_EQ(editing.color(ColorSlot::Secondary), 1);
}

// The palette beside a file is shown; without one, or when it is broken, the game's; the game's
// own table never changes, but the background colour is slot 0 of both.
TEST_F(SpriteEditingTest, ThePaletteShownFollowsTheFileAndTheBackgroundBoth) {
    std::filesystem::create_directory(dir / "own");
    const PaletteTable own = shiftedPalette(17);
    const auto bytes = encodePalette(own);
    writeFileAtomically(dir / "own" / "palette.dta", std::span<const std::uint8_t>(bytes));
    const PaletteTable gameBefore = game;

    editing.showPaletteFor(dir / "own" / "a.spr");
    EXPECT_EQ(editing.palette()[5], own[5]);
    EXPECT_EQ(editing.palette().background(), 0xFFFFFFu);
    EXPECT_EQ(told, std::vector{SpriteEditingChange::PaletteShown});
    editing.showPaletteFor(dir / "own" / "b.spr");  // the same palette: nothing to tell
    EXPECT_EQ(told.size(), 1u);

    editing.showPaletteFor(dir / "a.spr");
    EXPECT_EQ(editing.palette(), gameBefore);

    editing.showPaletteFor(dir / "own" / "a.spr");
    writeFileAtomically(dir / "own" / "palette.dta", std::string_view("short"));
    EXPECT_THROW(editing.showPaletteFor(dir / "own" / "a.spr"), VekError);
    EXPECT_EQ(editing.palette(), gameBefore);
    EXPECT_EQ(game, gameBefore);

    editing.showPalette(own);
    told.clear();
    editing.setBackground(0x123456);
    EXPECT_EQ(told, std::vector{SpriteEditingChange::BackgroundChanged});
    EXPECT_EQ(game.background(), 0x123456u);
    EXPECT_EQ(editing.palette().background(), 0x123456u);
    EXPECT_EQ(editing.palette()[7], own[7]);
}

// Which commands can run without a file, with a file whose first or last sprite is current, and
// with a step to undo.
TEST_F(SpriteEditingTest, CommandsAreEnabledByWhatTheyActOn) {
    using Id = SpriteCommandId;
    const Id spriteCommands[] = {Id::Cut,         Id::Copy,  Id::Paste,       Id::Flip,
                                 Id::Mirror,      Id::Clear, Id::SaveInPlace, Id::DuplicateSprite,
                                 Id::DeleteSprite};
    for (const Id id : spriteCommands) EXPECT_FALSE(enabled(id)) << static_cast<int>(id);
    for (const Id id : {Id::Undo, Id::Redo, Id::InsertSprite, Id::MoveSpriteUp, Id::MoveSpriteDown})
        EXPECT_FALSE(enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(enabled(Id::DropSelection));

    open();
    for (const Id id : spriteCommands) EXPECT_TRUE(enabled(id)) << static_cast<int>(id);
    EXPECT_TRUE(enabled(Id::InsertSprite));
    EXPECT_FALSE(enabled(Id::MoveSpriteUp));
    EXPECT_TRUE(enabled(Id::MoveSpriteDown));
    document.select(2);
    EXPECT_TRUE(enabled(Id::MoveSpriteUp));
    EXPECT_FALSE(enabled(Id::MoveSpriteDown));

    EXPECT_FALSE(enabled(Id::Undo));
    document.paint(0, 0, 9);
    EXPECT_TRUE(enabled(Id::Undo));
    run(Id::Undo);
    EXPECT_FALSE(enabled(Id::Undo));
    EXPECT_TRUE(enabled(Id::Redo));
    run(Id::Redo);
    EXPECT_EQ(document.sprite().at(0, 0), 9);
}

// What each command leaves: the current sprite's pixels, the list, the tool.
TEST_F(SpriteEditingTest, EachCommandActsOnTheEditingState) {
    using Id = SpriteCommandId;
    const SpriteImage first = patterned(4, 3, 1);
    const auto flipped = [&first] {
        SpriteImage turned = first;
        for (int y = 0; y < first.height; ++y)
            for (int x = 0; x < first.width; ++x)
                turned.at(x, y) = first.at(x, first.height - 1 - y);
        return turned;
    }();
    const struct Case {
        const char* name;
        std::function<void()> before;
        Id id;
        SpriteImage shown;
        std::size_t count;
        std::size_t current;
    } cases[] = {
        {"flip without a selection turns the whole sprite", [] {}, Id::Flip, flipped, 3, 0},
        {"clear when the user agrees", [this] { questions.clearAnswer = true; }, Id::Clear,
         SpriteImage(4, 3, 0), 3, 0},
        {"clear refused", [this] { questions.clearAnswer = false; }, Id::Clear, first, 3, 0},
        {"cut empties the sprite", [] {}, Id::Cut, SpriteImage(4, 3, 0), 3, 0},
        {"insert of the size answered, after the current sprite",
         [this] {
             questions.sizeAnswer = SpriteSize{5, 2};
         },
         Id::InsertSprite, SpriteImage(5, 2, 0), 4, 1},
        {"insert cancelled", [this] { questions.sizeAnswer.reset(); }, Id::InsertSprite, first, 3,
         0},
        {"duplicate", [] {}, Id::DuplicateSprite, first, 4, 1},
        {"delete shows the next", [] {}, Id::DeleteSprite, SpriteImage(2, 2, 50), 2, 0},
        {"move down keeps the sprite current", [] {}, Id::MoveSpriteDown, first, 3, 1},
        {"a canvas resized around its anchor",
         [this] {
             questions.resizeAnswer = SpriteResize{{6, 2}, false, ResizeAnchor::Bottom, {}};
         },
         Id::ResizeSprite, resizeCanvas(first, 6, 2, ResizeAnchor::Bottom), 3, 0},
        {"a picture scaled",
         [this] {
             questions.resizeAnswer = SpriteResize{{8, 6}, true, ResizeAnchor::TopLeft, {}};
         },
         Id::ResizeSprite, scaleSprite(first, 8, 6), 3, 0},
        {"resize cancelled", [this] { questions.resizeAnswer.reset(); }, Id::ResizeSprite, first, 3,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        c.before();
        run(c.id);
        EXPECT_EQ(document.sprite(), c.shown);
        EXPECT_EQ(document.table().count(), c.count);
        EXPECT_EQ(document.current(), c.current);
        // Re-create the file: list commands write it.
        writeSpriteFile(dir / "a.spr",
                        std::vector{first, SpriteImage(2, 2, 50), SpriteImage(3, 1, 60)});
    }
    EXPECT_EQ(questions.clearQuestions, 2);
    EXPECT_EQ(questions.offeredSizes, std::vector(5, SpriteSize{4, 3}));
    // A resize is one step that undo takes back.
    open();
    questions.resizeAnswer = SpriteResize{{2, 2}, true, ResizeAnchor::TopLeft, {}};
    run(Id::ResizeSprite);
    EXPECT_EQ(document.sprite(), scaleSprite(first, 2, 2));
    run(Id::Undo);
    EXPECT_EQ(document.sprite(), first);
    EXPECT_EQ(document.table().entries[0].width, 4);
}

// The eyedropper, or the pick key with any tool, takes the pixel's colour for the button and
// paints nothing; the brush size keeps within its bounds, and its commands say so.
TEST_F(SpriteEditingTest, PressesPickOrPaintAndTheBrushSizeKeepsItsBounds) {
    using Id = SpriteCommandId;
    open();
    const struct {
        SpriteToolKind tool;
        ColorSlot slot;
        PixelPoint at;
        bool shift;
        bool pick;
        bool done;
        std::uint8_t primary;
        std::uint8_t secondary;
        std::size_t steps;
    } presses[] = {
        {SpriteToolKind::Eyedropper, ColorSlot::Primary, {1, 1}, false, false, true, 6, 1, 0},
        {SpriteToolKind::Eyedropper, ColorSlot::Secondary, {3, 0}, false, false, true, 6, 4, 0},
        {SpriteToolKind::Eyedropper, ColorSlot::Primary, {0, 0}, true, false, false, 6, 4, 0},
        {SpriteToolKind::Pencil, ColorSlot::Primary, {0, 2}, false, true, true, 9, 4, 0},
        {SpriteToolKind::Pencil, ColorSlot::Secondary, {0, 0}, false, false, true, 9, 4, 1},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(::testing::Message() << p.at.x << "," << p.at.y);
        editing.chooseTool(p.tool);
        EXPECT_EQ(editing.press(p.at, p.slot, p.shift, p.pick), p.done);
        editing.painter().release();
        EXPECT_EQ(editing.color(ColorSlot::Primary), p.primary);
        EXPECT_EQ(editing.color(ColorSlot::Secondary), p.secondary);
        EXPECT_EQ(document.undoStack().undoCount(), p.steps);
    }
    EXPECT_EQ(document.sprite().at(0, 0), 4);  // the last press painted colour 2

    EXPECT_EQ(editing.brushSize(), kSmallestBrush);
    EXPECT_FALSE(enabled(Id::BrushSmaller));
    told.clear();
    for (int k = kSmallestBrush; k < kLargestBrush; ++k) run(Id::BrushLarger);
    EXPECT_EQ(editing.brushSize(), kLargestBrush);
    EXPECT_EQ(told.size(), static_cast<std::size_t>(kLargestBrush - kSmallestBrush));
    EXPECT_FALSE(enabled(Id::BrushLarger));
    EXPECT_TRUE(enabled(Id::BrushSmaller));
    editing.setBrushSize(kLargestBrush + 1);  // beyond: nothing changes, nothing to tell
    EXPECT_EQ(told.size(), static_cast<std::size_t>(kLargestBrush - kSmallestBrush));
    run(Id::BrushSmaller);
    EXPECT_EQ(editing.brushSize(), kLargestBrush - 1);
}

// The selection is the document's: the selection tool's gesture makes it, a pasted piece becomes
// it and chooses the selection tool, another tool drops it.
TEST_F(SpriteEditingTest, ToolsAndThePastedPieceShareTheDocumentsSelection) {
    using Id = SpriteCommandId;
    open();
    toolCommand(SpriteToolKind::Select).execute(editing);
    EXPECT_EQ(editing.tool(), SpriteToolKind::Select);
    EXPECT_EQ(told, std::vector{SpriteEditingChange::ToolChosen});
    editing.painter().press({1, 1}, 0, false);
    editing.painter().move({2, 2}, false);
    editing.painter().release();
    EXPECT_EQ(document.selection().area(), (PixelRect{1, 1, 2, 2}));
    run(Id::Copy);
    EXPECT_EQ(document.clipboardPlace(), (PixelPoint{1, 1}));
    run(Id::DropSelection);
    EXPECT_FALSE(document.selection().area());

    toolCommand(SpriteToolKind::Pencil).execute(editing);
    run(Id::Paste);
    EXPECT_EQ(editing.tool(), SpriteToolKind::Select);
    EXPECT_EQ(document.selection().area(), (PixelRect{1, 1, 2, 2}));
    toolCommand(SpriteToolKind::Fill).execute(editing);
    EXPECT_FALSE(document.selection().area());

    // A whole sprite in the clipboard is pasted as the document pastes it; the tool stays.
    run(Id::Copy);
    run(Id::Paste);
    EXPECT_EQ(editing.tool(), SpriteToolKind::Fill);
}

// A range is resized in one step that undo takes back whole; the sprites outside it stay.
TEST_F(SpriteEditingTest, ARangeOfSpritesIsResizedAsOneStep) {
    using Id = SpriteCommandId;
    const std::vector<SpriteImage> before{patterned(4, 3, 1), SpriteImage(2, 2, 50),
                                          SpriteImage(3, 1, 60)};
    open();
    document.select(1);
    const struct {
        const char* name;
        SpriteResize answer;
        std::vector<SpriteImage> after;
    } cases[] = {
        {"canvases from the first, anchored bottom right",
         {{3, 3}, false, ResizeAnchor::BottomRight, SpriteRange{0, 1}},
         {resizeCanvas(before[0], 3, 3, ResizeAnchor::BottomRight),
          resizeCanvas(before[1], 3, 3, ResizeAnchor::BottomRight), before[2]}},
        {"every sprite scaled",
         {{2, 4}, true, ResizeAnchor::TopLeft, SpriteRange{0, 2}},
         {scaleSprite(before[0], 2, 4), scaleSprite(before[1], 2, 4),
          scaleSprite(before[2], 2, 4)}},
        {"without a range the current sprite only",
         {{1, 1}, false, ResizeAnchor::TopLeft, std::nullopt},
         {before[0], resizeCanvas(before[1], 1, 1, ResizeAnchor::TopLeft), before[2]}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        questions.resizeAnswer = c.answer;
        run(Id::ResizeSprite);
        EXPECT_EQ(readAllSprites(dir / "a.spr"), c.after);
        EXPECT_EQ(document.current(), std::optional<std::size_t>(1));
        EXPECT_EQ(document.sprite(), c.after[1]);
        run(Id::Undo);
        EXPECT_EQ(readAllSprites(dir / "a.spr"), before);
        EXPECT_FALSE(document.canUndo());
    }
    EXPECT_EQ(questions.offeredRanges, std::vector(3, std::pair<std::size_t, std::size_t>(1, 3)));
    // A size no sprite may have is refused before anything is written.
    questions.resizeAnswer = SpriteResize{{-1, 4}, true, ResizeAnchor::TopLeft, SpriteRange{0, 2}};
    EXPECT_THROW(run(Id::ResizeSprite), VekError);
    EXPECT_EQ(readAllSprites(dir / "a.spr"), before);
}

// A sprite dragged to another place in the list is one step; the moved sprite stays current.
TEST_F(SpriteEditingTest, ASpriteIsReorderedAsOneStep) {
    const std::vector<SpriteImage> before{patterned(4, 3, 1), SpriteImage(2, 2, 50),
                                          SpriteImage(3, 1, 60)};
    EXPECT_FALSE(reorderCommand(0, 1).enabled(editing));  // no file
    open();
    EXPECT_FALSE(reorderCommand(1, 1).enabled(editing));
    EXPECT_FALSE(reorderCommand(0, 3).enabled(editing));
    const struct {
        std::size_t from;
        std::size_t to;
        std::vector<SpriteImage> after;
    } moves[] = {
        {0, 2, {before[1], before[2], before[0]}},
        {2, 0, {before[2], before[0], before[1]}},
        {1, 2, {before[0], before[2], before[1]}},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(::testing::Message() << m.from << " to " << m.to);
        reorderCommand(m.from, m.to).execute(editing);
        EXPECT_EQ(readAllSprites(dir / "a.spr"), m.after);
        EXPECT_EQ(document.current(), std::optional<std::size_t>(m.to));
        EXPECT_EQ(document.undoStack().undoCount(), 1u);
        spriteCommand(SpriteCommandId::Undo).execute(editing);
        EXPECT_EQ(readAllSprites(dir / "a.spr"), before);
        EXPECT_EQ(document.current(), std::optional<std::size_t>(m.from));
    }
}

// Zoom to fit takes the largest factor the room holds with the frame; the steps stay within the
// factors; each file's view is kept apart.
TEST_F(SpriteEditingTest, ZoomFitsTheRoomAndEachFileKeepsItsView) {
    const struct {
        SpriteSize sprite;
        SpriteSize room;
        int zoom;
    } fits[] = {
        {{32, 32}, {300, 300}, 8},  // 16 would need 521
        {{32, 16}, {521, 521}, 16}, {{32, 16}, {520, 521}, 8},
        {{600, 10}, {400, 400}, 1}, {{10, 10}, {19, 18}, 1},  // not even 1 fits: the smallest
        {{1, 1}, {4000, 4000}, 16},
    };
    for (const auto& f : fits)
        EXPECT_EQ(fittingZoom(f.sprite, f.room, 9), f.zoom) << f.room.width << "x" << f.room.height;
    EXPECT_EQ(steppedZoom(1, 1), 2);
    EXPECT_EQ(steppedZoom(4, -1), 2);
    EXPECT_EQ(steppedZoom(16, 1), 16);
    EXPECT_EQ(steppedZoom(1, -3), 1);
    EXPECT_EQ(steppedZoom(2, 10), 16);

    EXPECT_FALSE(editing.viewOf(dir / "a.spr"));
    editing.keepView(dir / "a.spr", {8, 40, 12});
    editing.keepView(dir / "b.spr", {2, 0, 5});
    editing.keepView({}, {4, 1, 1});  // no file: nothing kept
    EXPECT_EQ(editing.viewOf(dir / "a.spr"), (SpriteView{8, 40, 12}));
    EXPECT_EQ(editing.viewOf(dir / "b.spr"), (SpriteView{2, 0, 5}));
    EXPECT_FALSE(editing.viewOf({}));
    editing.keepView(dir / "a.spr", {1, 0, 0});
    EXPECT_EQ(editing.viewOf(dir / "a.spr"), (SpriteView{1, 0, 0}));
}

}  // namespace
}  // namespace vek
