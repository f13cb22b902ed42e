#include <gtest/gtest.h>

#include "app/file_io.h"
#include "generators/class_catalogue.h"
#include "generators/class_catalogue_document.h"
#include "support/temp_dir.h"
#include "tests/objects/object_test_support.h"

namespace vek {
namespace {

using testing::errorOf;
using Lines = std::vector<std::string>;

ClassCatalogue catalogueOf(std::string_view text) {
    ClassCatalogue catalogue;
    catalogue.read(text);
    return catalogue;
}

TEST(ClassCatalogue, SpacesAndTabsAreOneLevelEachAndAreWrittenBackAsTabs) {
    testing::TempDir dir;
    const ClassCatalogue catalogue = catalogueOf(
        "2 {Simple Objects}\r\n 2 5 {Toys}\r\n\t 2 5 3 {Ball}\r\n\t2 6 {Food}\r\n\x1A\r\n"
        "3 {Compound}\n");
    const Lines expected = {"2 {Simple Objects}", "\t2 5 {Toys}", "\t\t2 5 3 {Ball}",
                            "\t2 6 {Food}", "3 {Compound}"};
    EXPECT_EQ(catalogue.lines(), expected);
    ASSERT_EQ(catalogue.families().size(), 2u);
    EXPECT_EQ(catalogue.at({0, 0, 0}).text, "2 5 3 {Ball}");

    catalogue.writeFile(dir / "classes.vek");
    EXPECT_EQ(readFileText(dir / "classes.vek"),
              "2 {Simple Objects}\r\n\t2 5 {Toys}\r\n\t\t2 5 3 {Ball}\r\n\t2 6 {Food}\r\n"
              "3 {Compound}\r\n");
}

TEST(ClassCatalogue, BadLinesStopTheReadingAndTheEntriesBeforeStay) {
    std::string deep;
    for (std::size_t level = 0; level <= 32; ++level)
        deep += std::string(level, '\t') + std::to_string(level) + " {x}\r\n";
    struct Case {
        std::string_view text;
        std::string error;
        std::size_t kept;
    };
    const Case cases[] = {
        {"1 {a}\r\n\t\t1 0 0 {jump}\r\n2 {b}\r\n",
         "Ungültige Ebene (2) für Element \"1 0 0 {jump}\"", 1},
        {"\t1 0 {first line deeper}\r\n",
         "Ungültige Ebene (1) für Element \"1 0 {first line deeper}\"", 0},
        {"1 {a}\r\n\t1 0 {b}\r\n\t\t1 0 0 {c}\r\n\t\t\t\t1 0 0 0 {d}\r\n",
         "Ungültige Ebene (4) für Element \"1 0 0 0 {d}\"", 1},
        {"1 {a}\r\n2 {b}\r\n\t2 1 no brace\r\n",
         "The line is no class entry: it lacks the \"{\" before its description", 2},
        {deep, "Ungültige Ebene (32) für Element \"32 {x}\"", 1},
    };
    for (const Case& c : cases) {
        ClassCatalogue catalogue;
        try {
            catalogue.read(c.text);
            ADD_FAILURE() << c.text;
        } catch (const VekError& error) {
            EXPECT_EQ(std::string(error.what()), c.error);
            EXPECT_TRUE(error.detail().line.has_value());
        }
        EXPECT_EQ(catalogue.families().size(), c.kept) << c.text;
    }
}

// One level deeper than the line before is allowed below a species too; such entries are kept
// and written back, so that Add and Delete change nothing around them.
TEST(ClassCatalogueDocument, AFourthLevelSurvivesAddAndDeleteAndUndoWritesTheFileBack) {
    testing::TempDir dir;
    const std::string original =
        "2 {Simple}\n 2 5 {Toys}\n\t\t2 5 7 {Ball}\n\t\t\t2 5 7 1 {Red}\n\t2 6 {Food}\n\x1A";
    writeFileAtomically(dir / "classes.vek", std::string_view(original));
    ClassCatalogueDocument document(dir.path());
    document.load();
    const std::string canonical =
        "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 7 {Ball}\r\n\t\t\t2 5 7 1 {Red}\r\n";
    document.select({0, 0});
    document.addUnderSelection("2 5 8 {Kite}");
    const std::string added = canonical + "\t\t2 5 8 {Kite}\r\n\t2 6 {Food}\r\n";
    EXPECT_EQ(readFileText(dir / "classes.vek"), added);
    document.select({0, 1});
    document.deleteSelection();
    EXPECT_EQ(readFileText(dir / "classes.vek"), canonical + "\t\t2 5 8 {Kite}\r\n");

    UndoStack& steps = document.undoStack();
    EXPECT_EQ(steps.undoLabel()->english, "Delete Entry");
    steps.undo();
    EXPECT_EQ(readFileText(dir / "classes.vek"), added);
    EXPECT_EQ(document.selectedEntry(), (EntryPath{0, 1})) << "the deleted entry is picked again";
    steps.undo();
    EXPECT_EQ(readFileText(dir / "classes.vek"), original) << "byte for byte, spaces and 0x1A";
    steps.redo();
    EXPECT_EQ(readFileText(dir / "classes.vek"), added);
}

// A catalogue read only in part is never written: the entries after the refused line would go.
TEST(ClassCatalogueDocument, AfterARefusedLineNothingIsWritten) {
    testing::TempDir dir;
    const std::string original = "2 {Simple}\r\n\t2 5 {Toys}\r\n\t2 6 no brace\r\n3 {Lost}\r\n";
    writeFileAtomically(dir / "classes.vek", std::string_view(original));
    ClassCatalogueDocument document(dir.path());
    try {
        document.load();
        ADD_FAILURE() << "a line without a brace";
    } catch (const VekError& error) {
        EXPECT_NE(error.text(kLanguageEnglish).find("not written in this session"),
                  std::string::npos);
        EXPECT_NE(error.text(kLanguageGerman).find("nicht geschrieben"), std::string::npos);
        EXPECT_EQ(error.detail().line, 3u);
    }
    EXPECT_TRUE(document.readOnly());
    document.select({0});
    EXPECT_THROW(document.addUnderSelection("2 7 {More}"), VekError);
    document.select({0, 0});
    EXPECT_THROW(document.deleteSelection(), VekError);
    EXPECT_EQ(document.catalogue().lines().size(), 2u);
    EXPECT_EQ(readFileText(dir / "classes.vek"), original);
}

TEST(ClassCatalogue, EntryTextsGiveTheirNumbersDescriptionAndMask) {
    const ClassSelection ball = ClassSelection::of("2 5 3 {Ball}");
    EXPECT_EQ(ball.classNumber, 33882880);
    EXPECT_EQ(ball.macroFileMask(), "020503*.*");
    EXPECT_TRUE(ball.isSimpleObjectSpecies());
    EXPECT_FALSE(ball.canAddUnder());
    EXPECT_TRUE(ball.canDelete());
    EXPECT_EQ(descriptionOf("2 5 3 { Ball}"), "Ball") << "one space after { goes";
    EXPECT_EQ(descriptionOf("2 5 3 {Ball}"), "Ball");

    const ClassSelection family = ClassSelection::of("12 {Big}");
    EXPECT_EQ(family.parts.family, 12);
    EXPECT_FALSE(family.parts.hasGenus());
    EXPECT_EQ(family.macroFileMask(), "1.1");
    EXPECT_TRUE(family.canAddUnder());
    EXPECT_FALSE(family.canDelete()) << "a family cannot be deleted";
    EXPECT_EQ(ClassSelection::of("4 1 {x}").macroFileMask(), "1.1");
    EXPECT_EQ(ClassSelection::of("4 1 123 {x}").macroFileMask(), "040123*.*")
        << "the last two digits of each part";

    EXPECT_EQ(errorOf([] { ClassSelection::of("2 x 3 {Ball}"); }),
              "'x' ist kein gültiger Integerwert");
    EXPECT_EQ(errorOf([] { ClassSelection::of("2  3 {Ball}"); }),
              "'' ist kein gültiger Integerwert");

    EXPECT_TRUE(matchesMacroMask("02050301.MAC", "020503*.*"));
    EXPECT_FALSE(matchesMacroMask("02050401.MAC", "020503*.*"));
    EXPECT_FALSE(matchesMacroMask("02050301.MAC", "1.1"));
}

TEST(ClassCatalogue, NewSuggestsOneMoreThanTheLastChild) {
    const ClassCatalogue catalogue = catalogueOf(
        "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 9 {Top}\r\n\t\t2 5 7 {Ball}\r\n\t2 3 {Food}\r\n"
        "4 {Empty}\r\n\t4 1 {Bare}\r\n");
    auto suggest = [&](const EntryPath& path) {
        return suggestAddition(catalogue.at(path), ClassSelection::of(catalogue.at(path).text));
    };
    const AddSuggestion species = suggest({0, 0});
    EXPECT_FALSE(species.genus);
    EXPECT_EQ(species.speciesNumber, 8) << "after the last child 7, not the largest 9";
    EXPECT_EQ(species.genusNumber, 5);
    const AddSuggestion genus = suggest({0});
    EXPECT_TRUE(genus.genus);
    EXPECT_EQ(genus.genusNumber, 4);
    EXPECT_EQ(suggest({1, 0}).speciesNumber, 0) << "a genus without species";
    const ClassCatalogue bare = catalogueOf("7 {No genus}\r\n");
    EXPECT_EQ(suggestAddition(bare.at({0}), ClassSelection::of("7 {No genus}")).genusNumber, 0);

    // Never a number another child has, never one of three digits, and a full family says so.
    std::string numbers = "3 {Numbers}\r\n\t3 98 {a}\r\n\t3 0 {b}\r\n\t3 99 {c}\r\n\t3 1 {d}\r\n";
    const ClassCatalogue crowded = catalogueOf(numbers + "\t3 0 {last}\r\n");
    EXPECT_EQ(suggestAddition(crowded.at({0}), ClassSelection::of("3 {Numbers}")).genusNumber, 2);
    const ClassCatalogue past = catalogueOf(numbers + "\t3 150 {imported}\r\n");
    EXPECT_EQ(suggestAddition(past.at({0}), ClassSelection::of("3 {Numbers}")).genusNumber, 2);
    std::string full = "4 {Full}\r\n";
    for (int k = 0; k < 100; ++k) full += "\t4 " + std::to_string(k) + " {g}\r\n";
    EXPECT_TRUE(suggestAddition(catalogueOf(full).at({0}), ClassSelection::of("4 {Full}")).full);

    EXPECT_EQ(newEntryText(true, "2", "6", "ignored", "Food"), "2 6 {Food}");
    EXPECT_EQ(newEntryText(false, "2", "5", "8", "Kite"), "2 5 8 {Kite}");
}

TEST(ClassCatalogue, ImportBuildsTheTreeTheSameClassesWrittenAsCataloguGive) {
    const ClassCatalogue imported = importObjed(
        "2,\"Simple Objects\",1\r\n5,\"Toys\",2\r\n3,\"Ball\",3\r\n9,\"Kite\",3\r\n"
        "6,\"Food\",2\r\n4,\"Bugs\",1\r\n1,\"Beetles\",2\r\n\x1A");
    const ClassCatalogue written = catalogueOf(
        "2 {Simple Objects}\r\n\t2 5 {Toys}\r\n\t\t2 5 3 {Ball}\r\n\t\t2 5 9 {Kite}\r\n"
        "\t2 6 {Food}\r\n4 {Bugs}\r\n\t4 1 {Beetles}\r\n");
    EXPECT_EQ(imported.lines(), written.lines());
}

TEST(ClassCatalogue, BadImportLinesAreRefusedNamingTheLine) {
    std::string tooLong;
    for (int k = 0; k < 2001; ++k) tooLong += "1,\"x\",1\r\n";
    const std::pair<std::string, std::uint64_t> cases[] = {
        {"1,\"a\",1\r\n2,\"b\",4\r\n", 2},
        {"1,\"a\",1\r\n\r\n", 2},
        {"3,\"orphan\",2\r\n", 1},
        {"1,\"a\",1\r\n2,\"b\",2\r\n3,\"c\",1\r\n4,\"d\",3\r\n", 4},  // its family has no genus yet
        {"no comma 1\r\n", 1},
        // No number, or blanks before it (a family saved so would read back a level deeper).
        {",\"no number\",1\r\n", 1},
        {" 2,\"spaced\",1\r\n", 1},
        {"1,\"a\",1\r\n\t5,\"tabbed\",2\r\n", 2},
        {tooLong, 2001},
        {"1,\"a\",1\x1A\r\n", 1},  // the end-of-file byte only after the last line
    };
    for (const auto& [text, line] : cases) {
        try {
            importObjed(text);
            ADD_FAILURE() << text.substr(0, 40);
        } catch (const VekError& error) {
            EXPECT_EQ(error.detail().line, line) << error.what();
        }
    }
}

TEST(ClassCatalogueDocument, ChangesAreWrittenAndAFailedImportKeepsTheTree) {
    testing::TempDir dir;
    const std::string original = "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 7 {Ball}\r\n";
    writeFileAtomically(dir / "classes.vek", std::string_view(original));
    ClassCatalogueDocument document(dir.path());
    document.load();
    EXPECT_FALSE(document.suggestion()) << "nothing selected: New does nothing";

    document.select({0, 0});
    ASSERT_TRUE(document.suggestion());
    document.addUnderSelection("2 5 8 {Kite}");
    EXPECT_EQ(readFileText(dir / "classes.vek"), original + "\t\t2 5 8 {Kite}\r\n");

    document.select({0, 0, 0});
    document.deleteSelection();
    EXPECT_EQ(readFileText(dir / "classes.vek"),
              "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 8 {Kite}\r\n");
    EXPECT_FALSE(document.selectedEntry()) << "a second Delete cannot hit another entry";

    document.select({0});
    document.deleteSelection();
    EXPECT_EQ(document.catalogue().families().size(), 1u) << "a family is never deleted";

    EXPECT_EQ(errorOf([&] { document.importObjed(); }), std::string_view(kFileNotFound));
    writeFileAtomically(dir / "objed.dta", std::string_view("1,\"a\",1\r\n1,\"b\",7\r\n"));
    EXPECT_FALSE(errorOf([&] { document.importObjed(); }).empty());
    EXPECT_EQ(document.catalogue().lines().size(), 3u) << "the tree as it was";
    EXPECT_TRUE(document.selection().classNumber) << "and the selection too";

    writeFileAtomically(dir / "objed.dta", std::string_view("1,\"a\",1\r\n"));
    const std::string onDisk = readFileText(dir / "classes.vek");
    document.importObjed();
    EXPECT_EQ(document.catalogue().lines(), Lines{"1 {a}"});
    EXPECT_FALSE(document.selection().classNumber);
    EXPECT_EQ(readFileText(dir / "classes.vek"), onDisk) << "Import writes nothing";
}

// Two objects of one class share their scripts in the game: Add refuses a class that is there,
// wherever it stands, and names the entry; the tree and the file stay as they were.
TEST(ClassCatalogueDocument, AddRefusesAClassTheCatalogueHoldsAndNamesItsEntry) {
    testing::TempDir dir;
    const std::string original =
        "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 3 {Bouncing ball}\r\n\t\t2 5 5 {Kite}\r\n"
        "\t2 6 {Food}\r\n3 {Other}\r\n\t3 x {hand-edited}\r\n";
    const struct {
        EntryPath selected;
        std::string added;
        std::string holder;  // empty: the entry is added
    } cases[] = {
        {{0, 0}, "2 5 3 {Ball}", "2 5 3 {Bouncing ball}"},
        {{0, 0}, "2 5 5 {Kite again}", "2 5 5 {Kite}"},
        {{0, 0}, "2 5 05 {Leading zero}", "2 5 5 {Kite}"},
        {{0}, "2 6 {Food again}", "2 6 {Food}"},
        {{0}, "2 5 {Toys again}", "2 5 {Toys}"},
        {{0, 1}, "2 6 3 {Apple}", ""},  // species 3 of another genus is another class
        {{0}, "2 7 {Plants}", ""},
    };
    for (const auto& c : cases) {
        writeFileAtomically(dir / "classes.vek", std::string_view(original));
        ClassCatalogueDocument document(dir.path());
        document.load();
        document.select(c.selected);
        const std::size_t before = document.catalogue().lines().size();
        try {
            document.addUnderSelection(c.added);
            EXPECT_TRUE(c.holder.empty()) << c.added << " was added beside " << c.holder;
        } catch (const VekError& error) {
            ASSERT_FALSE(c.holder.empty()) << error.what();
            EXPECT_NE(error.text(kLanguageEnglish).find("is in the catalogue already: " + c.holder),
                      std::string::npos)
                << error.text(kLanguageEnglish);
            EXPECT_NE(error.text(kLanguageGerman).find("steht schon im Katalog: " + c.holder),
                      std::string::npos);
            EXPECT_EQ(document.catalogue().lines().size(), before);
            EXPECT_EQ(readFileText(dir / "classes.vek"), original);
            EXPECT_FALSE(document.undoStack().undoLabel());
        }
    }
    // Add twice with the same fields: the second is refused.
    writeFileAtomically(dir / "classes.vek", std::string_view(original));
    ClassCatalogueDocument document(dir.path());
    document.load();
    document.select({0, 0});
    document.addUnderSelection("2 5 9 {Top}");
    EXPECT_THROW(document.addUnderSelection("2 5 9 {Top}"), VekError);
    EXPECT_EQ(readFileText(dir / "classes.vek"),
              "2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 3 {Bouncing ball}\r\n\t\t2 5 5 {Kite}\r\n"
              "\t\t2 5 9 {Top}\r\n\t2 6 {Food}\r\n3 {Other}\r\n\t3 x {hand-edited}\r\n");
}

}  // namespace
}  // namespace vek
