#include <gtest/gtest.h>

#include "language/outline.h"
#include "objects/script_events.h"
#include "objects/source_lines.h"

namespace vek {
namespace {

using Lines = std::vector<std::string>;

const Lines kSource = {
    "* Ball",                             // 1
    "name Ball",                          // 2
    "inst",                               // 3
    "\tnew: simp ball 1 0 10 0",          // 4
    "\tscrx 2 5 3 9,scrx 2 5 3 1",        // 5
    "endm",                               // 6
    "scrp 2 5 3 9",                       // 7
    "\tgsub move,gsub  move",             // 8
    "\tstop",                             // 9
    "\tsubr move",                        // 10
    "\t\tmvby 1 0",                       // 11
    "\tretn",                             // 12
    "endm",                               // 13
    "scrp 2 5 3 12,subr move,gsub move",  // 14
    "endm,scrp 2 5 3 10",                 // 15: a section ends only at a line's start
    "endm",                               // 16
    "scrp 2 5 3 11",                      // 17
    "endm",                               // 18
};

std::string describe(const std::vector<OutlineEntry>& outline) {
    std::string text;
    for (const OutlineEntry& entry : outline) {
        text += std::to_string(entry.position.line) + ":" + std::to_string(entry.position.column) +
                " " + entry.title.english + "|";
    }
    return text;
}

TEST(Outline, NamesRoutinesScriptsByClassAndEventAndTheirSubroutines) {
    const std::vector<OutlineEntry> outline =
        outlineOf(kSource, sourceLineReading, scriptEventTable().texts());
    // As the event table writes an event, or its number where the table names none.
    const auto event = [](int number) {
        const std::string_view name = scriptEventTable().lookup(number);
        return "2 5 3 \xc2\xb7 " + (name.empty() ? std::to_string(number) : std::string(name));
    };
    ASSERT_FALSE(scriptEventTable().lookup(9).empty());
    EXPECT_EQ(describe(outline), "3:1 Installation routine 1|7:1 " + event(9) +
                                     "|10:7 subr move|14:1 " + event(12) +
                                     "|14:20 subr move|17:1 " + event(11) + "|");
    EXPECT_EQ(outline[0].title.german, "Installationsroutine 1");
    EXPECT_EQ(outline[1].kind, OutlineKind::Script);
    EXPECT_EQ(outline[1].classes[3], 9);
    EXPECT_EQ(outline[2].kind, OutlineKind::Subroutine);
}

// German titles name the events in German where a German table is given; the numbers, the
// classes and unnamed events read the same, and without the table both languages are English.
TEST(Outline, NamesTheEventsInGermanFromTheGermanTable) {
    const Lines source = {"scrp 2 5 3 1",  "endm", "scrp 2 5 3 72", "endm",
                          "scrp 1 2 3 14", "endm", "scrp 2 5 3 19", "endm"};
    const ScriptEventTable& table = scriptEventTable();
    const std::vector<OutlineEntry> german =
        outlineOf(source, sourceLineReading, table.texts(), table.germanTexts());
    const std::vector<std::string> expected = {"2 5 3 \xc2\xb7  1 Aktivieren(1)",
                                               "2 5 3 \xc2\xb7 72 Todesscript", "1 2 3 \xc2\xb7 14",
                                               "2 5 3 \xc2\xb7 19 EXTRA Deaktivieren"};
    ASSERT_EQ(german.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(german[k].title.german, expected[k]);
        EXPECT_NE(german[k].title.english.find(std::string(table.lookup(german[k].classes[3]))),
                  std::string::npos);
    }
    for (const OutlineEntry& entry : outlineOf(source, sourceLineReading, table.texts()))
        EXPECT_EQ(entry.title.german, entry.title.english);
}

// Every named event has a German name of the same number, and no English word of a name is
// left in it but the game's own section words.
TEST(Outline, EveryNamedEventHasAGermanName) {
    const ScriptEventTable& table = scriptEventTable();
    for (int event = 0; event <= ScriptEventTable::kLastEvent; ++event) {
        const std::string_view english = table.lookup(event);
        const std::string_view german = table.germanTexts()[static_cast<std::size_t>(event)];
        EXPECT_EQ(english.empty(), german.empty()) << event;
        if (english.empty()) continue;
        EXPECT_EQ(german.substr(0, 3), english.substr(0, 3)) << event;
        const bool keptWhole = english.ends_with("TIMER");
        EXPECT_EQ(german == english, keptWhole) << english;
    }
}

TEST(Outline, GoesFromACallToItsSubroutineAndFromAClassToItsScript) {
    const auto definition = [](int line, int column) {
        const auto found = definitionAt(kSource, sourceLineReading, {line, column});
        return found ? std::to_string(found->line) + ":" + std::to_string(found->column) : "-";
    };
    EXPECT_EQ(definition(8, 7), "10:7");     // gsub move, on its label
    EXPECT_EQ(definition(8, 20), "10:7");    // the second call, after two blanks
    EXPECT_EQ(definition(14, 33), "14:20");  // the subroutine of its own script only
    EXPECT_EQ(definition(5, 2), "7:1");      // scrx 2 5 3 9, on its word
    EXPECT_EQ(definition(5, 15), "-");       // scrx 2 5 3 1: no such script here
    EXPECT_EQ(definition(4, 3), "-");        // no label, no class
    EXPECT_EQ(definition(7, 1), "-");        // the script itself
}

TEST(Outline, FindsEveryUseOfALabelInItsSection) {
    const auto uses = [](int line, int column) {
        std::string text;
        for (const TextPosition& use : usesOfLabelAt(kSource, sourceLineReading, {line, column}))
            text += std::to_string(use.line) + ":" + std::to_string(use.column) + " ";
        return text;
    };
    EXPECT_EQ(uses(10, 8), "8:7 8:18 10:7 ");
    EXPECT_EQ(uses(14, 30), "14:20 14:30 ");
    EXPECT_EQ(uses(9, 2), "");
}

// Which lines a rename changed, and how they read afterwards.
std::string changedLines(const Lines& before, const Lines& after) {
    std::string text;
    for (std::size_t k = 0; k < after.size(); ++k) {
        if (before[k] != after[k]) text += std::to_string(k + 1) + "=" + after[k] + "|";
    }
    return text;
}

TEST(Outline, RenamesALabelAtItsSubrAndEveryGsubOfItsSectionOnly) {
    const struct {
        TextPosition at;
        std::string name;
        std::string changed;
    } cases[] = {
        {{10, 8}, "walk", "8=\tgsub walk,gsub  walk|10=\tsubr walk|"},
        {{8, 11}, "go", "8=\tgsub go,gsub  go|10=\tsubr go|"},  // just after a label's end
        {{14, 30}, "läuft", "14=scrp 2 5 3 12,subr läuft,gsub läuft|"},
    };
    for (const auto& c : cases) {
        const auto renamed = renamedLabelNear(kSource, sourceLineReading, c.at, c.name);
        ASSERT_TRUE(renamed) << c.name;
        ASSERT_EQ(renamed->size(), kSource.size());
        EXPECT_EQ(changedLines(kSource, *renamed), c.changed);
    }
    // Columns count characters: a later use on a line after a wider name is found and renamed.
    const auto wide = renamedLabelNear(kSource, sourceLineReading, {14, 30}, "läuft");
    const auto back = renamedLabelNear(*wide, sourceLineReading, {14, 33}, "move");
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, kSource);
}

TEST(Outline, RenamesNothingOffALabelOrToANameNoLabelCanHave) {
    for (const std::string name : {"", "a b", "a,b", "a[1]", "a\tb", "a\nb"})
        EXPECT_FALSE(renamedLabelNear(kSource, sourceLineReading, {10, 8}, name)) << name;
    EXPECT_FALSE(renamedLabelNear(kSource, sourceLineReading, {9, 2}, "walk"));
    EXPECT_FALSE(renamedLabelNear(kSource, sourceLineReading, {4, 4}, "walk"));
    EXPECT_TRUE(isLabelName("move_2"));
    EXPECT_EQ(labelLengthAt(kSource, {14, 20}), 4);
    EXPECT_EQ(labelLengthAt(kSource, {99, 1}), 0);
}

}  // namespace
}  // namespace vek
