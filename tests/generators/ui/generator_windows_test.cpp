#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "generators/ui/add_class_window.h"
#include "generators/ui/new_object_source_window.h"
#include "generators/ui/object_assistant_window.h"
#include "objects/cob_data.h"
#include "objects/macro_insertion.h"
#include "objects/ui/object_compiler_window.h"
#include "support/temp_dir.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

QWidget* source(TestWorkbench& bench) { return bench.windows().newObjectSource; }

// Clicks the tree entry with this text.
void clickEntry(TestWorkbench& bench, const QString& text) {
    auto* tree = control<QTreeWidget>(source(bench), "TreeView1");
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1) qFatal("no entry %s", qPrintable(text));
    tree->setCurrentItem(found[0]);
    bench.windows().newObjectSource->TreeView1Click();
}

bool enabled(TestWorkbench& bench, const char* name) {
    return control(source(bench), name)->isEnabled();
}

QWidget* currentPage(TestWorkbench& bench) {
    return control<QTabWidget>(source(bench), "PageControl1")->currentWidget();
}

TestWorkbench::Options privateDemo() {
    TestWorkbench::Options options;
    options.privateDemo = true;
    return options;
}

}  // namespace

class GeneratorWindowsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The species' macro files are those whose names begin with its numbers, whatever their
    // extension.
    void theMacroListTakesAnyExtension() {
        TestWorkbench bench(privateDemo());
        const auto folder = vek::macroDirectory(bench.context().files.directory());
        for (const char* name : {"02050302.txt", "02050303.Mac", "0205030", "02050402.MAC"})
            vek::writeFileAtomically(folder / name, std::string_view("\"endm\""));
        source(bench)->show();
        clickEntry(bench, QStringLiteral("2 5 3 {Bouncing ball}"));
        QStringList listed;
        auto* macros = control<QListWidget>(source(bench), "FileListBox1");
        for (int row = 0; row < macros->count(); ++row) listed << macros->item(row)->text();
        QVERIFY2(listed.contains(QStringLiteral("02050302.txt")), qPrintable(listed.join(' ')));
        QVERIFY(listed.contains(QStringLiteral("02050303.Mac")));
        QVERIFY(!listed.contains(QStringLiteral("0205030")));
        QVERIFY(!listed.contains(QStringLiteral("02050402.MAC")));
    }

    void clickingAnEntryEnablesButtonsAndPages() {
        TestWorkbench bench;
        QWidget* simplePage = control(source(bench), "TabSheet1");
        QWidget* messagePage = control(source(bench), "TabSheet2");
        QCOMPARE(control<QListWidget>(source(bench), "ListBox1")->count(), 50);
        QVERIFY(!enabled(bench, "Button6"));
        QVERIFY(!simplePage->isEnabled());

        clickEntry(bench, QStringLiteral("1 {Pointer and helpers}"));
        QVERIFY(enabled(bench, "Button4"));
        QVERIFY(!enabled(bench, "Button6"));
        QVERIFY(!enabled(bench, "FileListBox1"));

        clickEntry(bench, QStringLiteral("2 5 3 {Bouncing ball}"));
        QVERIFY(!enabled(bench, "Button4"));
        QVERIFY(enabled(bench, "Button6"));
        QCOMPARE(currentPage(bench), simplePage);
        QVERIFY(simplePage->isEnabled());
        QCOMPARE(control<QLineEdit>(source(bench), "Edit1")->text(),
                 QStringLiteral("Bouncing ball"));
        auto* macros = control<QListWidget>(source(bench), "FileListBox1");
        QVERIFY(macros->isEnabled());
        QCOMPARE(macros->count(), 4);  // 02050300, 01, 05 and 09
        QCOMPARE(macros->item(0)->text(), QStringLiteral("02050300.MAC"));

        clickEntry(bench, QStringLiteral("2 5 {Toys}"));
        QCOMPARE(currentPage(bench), messagePage);
        QVERIFY(enabled(bench, "Button4"));
        QCOMPARE(macros->count(), 0);

        clickEntry(bench, QStringLiteral("2 5 3 {Bouncing ball}"));
        clickEntry(bench, QStringLiteral("3 1 2 {Lift}"));
        QVERIFY(!simplePage->isEnabled());
        QCOMPARE(currentPage(bench), simplePage);  // another family leaves the pages alone

        auto* wall = control<QCheckBox>(source(bench), "CheckBox7");
        auto* ground = control<QCheckBox>(source(bench), "CheckBox8");
        wall->setChecked(true);
        ground->setChecked(true);
        QVERIFY(!wall->isChecked());
        wall->setChecked(true);
        QVERIFY(!ground->isChecked());
    }

    void addSuggestsTheNumberAfterTheLastChildAndWritesTheCatalogue() {
        TestWorkbench bench(privateDemo());
        const auto file = bench.demo().programDirectory() / "classes.vek";
        writeFileAtomically(file, std::string_view("2 {Simple}\r\n\t2 5 {Toys}\r\n"
                                                   "\t\t2 5 9 {Top}\r\n\t\t2 5 7 {Ball}\r\n"));
        bench.workbench().classCatalogue().load();
        AddClassWindow* add = bench.windows().addClass;

        clickEntry(bench, QStringLiteral("2 5 {Toys}"));
        control<QPushButton>(source(bench), "Button4")->click();
        QVERIFY(add->isVisible());
        QCOMPARE(add->windowTitle(), QStringLiteral("Add new SPECIES"));
        QCOMPARE(control<QLineEdit>(add, "Edit3")->text(), QStringLiteral("8"));
        QVERIFY(!control(add, "Edit2")->isEnabled());
        QVERIFY(control(add, "UpDown2")->isHidden());
        control<QLineEdit>(add, "Edit4")->setText(QStringLiteral("Kite"));
        control<QPushButton>(add, "Button1")->click();
        QCOMPARE(readFileText(file), std::string("2 {Simple}\r\n\t2 5 {Toys}\r\n\t\t2 5 9 {Top}\r\n"
                                                 "\t\t2 5 7 {Ball}\r\n\t\t2 5 8 {Kite}\r\n"));
        auto* tree = control<QTreeWidget>(source(bench), "TreeView1");
        QCOMPARE(
            tree->findItems(QStringLiteral("2 5 8 {Kite}"), Qt::MatchExactly | Qt::MatchRecursive)
                .size(),
            1);
        // The arrows do not go below the suggestion.
        control<QToolButton>(control(add, "UpDown3"), "down")->click();
        QCOMPARE(control<QLineEdit>(add, "Edit3")->text(), QStringLiteral("8"));
        add->close();

        clickEntry(bench, QStringLiteral("2 {Simple}"));
        control<QPushButton>(source(bench), "Button4")->click();
        QCOMPARE(add->windowTitle(), QStringLiteral("Add new GENUS"));
        QCOMPARE(control<QLineEdit>(add, "Edit2")->text(), QStringLiteral("6"));
        QVERIFY(control(add, "Edit3")->isHidden());
        add->close();
    }

    void deleteAsksAndAFailedImportKeepsTheTree() {
        TestWorkbench bench(privateDemo());
        const auto program = bench.demo().programDirectory();
        const std::string before = readFileText(program / "classes.vek");
        auto* tree = control<QTreeWidget>(source(bench), "TreeView1");
        clickEntry(bench, QStringLiteral("2 8 {Plants}"));
        bench.dialogs().messageAnswers.push_back(Answer::Cancel);
        control<QPushButton>(source(bench), "Button6")->click();
        QCOMPARE(readFileText(program / "classes.vek"), before);
        QCOMPARE(bench.dialogs().messages().back().caption, QStringLiteral("Delete?"));

        control<QPushButton>(source(bench), "Button6")->click();
        const std::string after = readFileText(program / "classes.vek");
        QVERIFY(after.find("Plants") == std::string::npos);
        QVERIFY(after.find("Sunflower") == std::string::npos);
        QVERIFY(!enabled(bench, "Button6"));

        std::filesystem::remove(program / "objed.dta");
        const int entries = tree->topLevelItemCount();
        control<QPushButton>(source(bench), "Button5")->click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QCOMPARE(tree->topLevelItemCount(), entries);
        QCOMPARE(readFileText(program / "classes.vek"), after);
    }

    // Undoing Add and Delete writes the file back as it was, byte for byte; after Delete, New
    // and Delete have nothing to act on; a full family says so instead of offering a number.
    void addAndDeleteAreUndoneWritingTheFileBack() {
        TestWorkbench bench(privateDemo());
        const auto file = bench.demo().programDirectory() / "classes.vek";
        std::string original = "2 {Simple}\n 2 5 {Toys}\n\t\t2 5 7 {Ball}\n\t\t\t2 5 7 1 {Red}\n";
        original += "3 {Full}\n";
        for (int genus = 0; genus < 100; ++genus)
            original += "\t3 " + std::to_string(genus) + " {g}\n";
        writeFileAtomically(file, std::string_view(original));
        bench.workbench().classCatalogue().load();
        auto* undo = control<QAction>(source(bench), "Undo1");
        auto* redo = control<QAction>(source(bench), "Redo1");

        clickEntry(bench, QStringLiteral("2 5 {Toys}"));
        control<QPushButton>(source(bench), "Button4")->click();
        control<QLineEdit>(bench.windows().addClass, "Edit4")->setText(QStringLiteral("Kite"));
        control<QPushButton>(bench.windows().addClass, "Button1")->click();
        bench.windows().addClass->close();
        const std::string added = readFileText(file);
        QVERIFY(added.find("\t\t\t2 5 7 1 {Red}\r\n\t\t2 5 8 {Kite}\r\n3 {Full}") !=
                std::string::npos);
        QCOMPARE(undo->text(), QStringLiteral("Undo Add Species"));
        undo->trigger();
        QCOMPARE(readFileText(file), original);
        redo->trigger();
        QCOMPARE(readFileText(file), added);

        clickEntry(bench, QStringLiteral("2 5 7 {Ball}"));
        control<QPushButton>(source(bench), "Button6")->click();
        QVERIFY(readFileText(file).find("Red") == std::string::npos);
        QVERIFY(!enabled(bench, "Button4"));
        QVERIFY(!enabled(bench, "Button6"));
        undo->trigger();
        QCOMPARE(readFileText(file), added);
        QVERIFY(enabled(bench, "Button6"));
        auto* tree = control<QTreeWidget>(source(bench), "TreeView1");
        QCOMPARE(tree->currentItem()->child(0)->text(0), QStringLiteral("2 5 7 1 {Red}"));

        clickEntry(bench, QStringLiteral("3 {Full}"));
        control<QPushButton>(source(bench), "Button4")->click();
        QVERIFY(!bench.windows().addClass->isVisible());
        QCOMPARE(bench.dialogs().messages().back().text,
                 QStringLiteral("The family already holds the genera 0 to 99: there is no "
                                "number left for another."));
    }

    void createSourceFillsTheCompilerOrShowsEveryFailure() {
        TestWorkbench bench;
        QPlainTextEdit* compilerSource = bench.windows().objectCompiler->sourceText();
        compilerSource->setPlainText(QStringLiteral("mine"));
        source(bench)->show();
        // The page opens for a species of family 2; Import then empties the selection.
        clickEntry(bench, QStringLiteral("2 5 3 {Bouncing ball}"));
        control<QPushButton>(source(bench), "Button5")->click();
        control<QLineEdit>(source(bench), "Edit2")->setText(QStringLiteral("bal"));
        control<QPushButton>(source(bench), "Button1")->click();
        const auto messages = bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(messages[0].text, QStringLiteral("You must select a object class first!"));
        QCOMPARE(messages[1].text,
                 QStringLiteral("You must enter an image file with 4 Characters!"));
        QCOMPARE(compilerSource->toPlainText(), QStringLiteral("mine"));
        QVERIFY(source(bench)->isVisible());

        clickEntry(bench, QStringLiteral("2 5 3 {Bouncing ball}"));
        control<QLineEdit>(source(bench), "Edit2")->setText(QStringLiteral("vbal"));
        // The source typed before is let go when asked.
        bench.dialogs().messageAnswers = {Answer::No};
        control<QCheckBox>(source(bench), "CheckBox14")->setChecked(true);
        control<QListWidget>(source(bench), "ListBox1")->item(9)->setSelected(true);
        control<QCheckBox>(source(bench), "CheckBox15")->setChecked(true);
        control<QListWidget>(source(bench), "FileListBox1")->item(0)->setSelected(true);
        control<QPushButton>(source(bench), "Button1")->click();
        const QString text = compilerSource->toPlainText();
        QVERIFY(text.contains(QStringLiteral("\tsetv clas 33882880\n")));
        QVERIFY(
            text.contains(QStringLiteral("* script  0 Deactivate\nscrp 2 5 3 0\n\tsetv actv 0")));
        QVERIFY(text.contains(QStringLiteral("* script  9 TIMER\nscrp 2 5 3 9\nendm")));
        QVERIFY(bench.windows().objectCompiler->isVisible());
        QVERIFY(control<QToolButton>(bench.windows().main, "SpeedButton2")->isChecked());
        QVERIFY(!source(bench)->isVisible());
    }

    void assistantGeneratesCompilesAndSaves() {
        TestWorkbench bench;
        ObjectAssistantWindow* assistant = bench.windows().objectAssistant;
        auto* pages = control<QTabWidget>(assistant, "PageControl1");
        QCOMPARE(pages->currentWidget(), control(assistant, "TabSheet2"));
        QCOMPARE(pages->widget(1), control(assistant, "TabSheet3"));
        QCOMPARE(pages->tabText(0), QStringLiteral("New Creature"));
        auto* clones = control<QListWidget>(assistant, "FileListBox3");
        QCOMPARE(clones->count(), 13);
        QCOMPARE(clones->currentItem()->text(), QStringLiteral("dad1.gen"));
        QCOMPARE(control<QComboBox>(assistant, "ComboBox4")->count(), 256);

        assistant->show();
        clones->setCurrentRow(6);  // gren.gen, after the six dads
        control<QAbstractButton>(assistant, "RadioButton10")->setChecked(true);
        const QString saved = fromPath(bench.scratch() / "clone.cob");
        bench.dialogs().fileAnswers.push_back(saved);
        control<QPushButton>(assistant, "Button4")->click();
        const CobData cob = readCobFile(toPath(saved));
        QCOMPARE(cob.name, std::string("Cloned CREATURE"));
        QVERIFY(bench.windows().objectCompiler->sourceText()->toPlainText().contains(
            QStringLiteral("       new: crea tokn gren 0\n")));
        QVERIFY(!assistant->isVisible());
    }

    void anEmptyGeneticsDirectorySaysSoAndTouchesNothing() {
        vek::testing::TempDir folder;
        const demo::DemoLayout layout{folder.path()};
        demo::generateDemoInstallation(layout);
        std::filesystem::remove_all(layout.gameDirectory() / "Genetics");
        std::filesystem::create_directories(layout.gameDirectory() / "Genetics");
        TestWorkbench::Options options;
        options.gameDirectory = layout.gameDirectory();
        TestWorkbench bench(options);
        ObjectAssistantWindow* assistant = bench.windows().objectAssistant;
        QCOMPARE(control<QListWidget>(assistant, "FileListBox1")->count(), 0);
        bench.windows().objectCompiler->sourceText()->setPlainText(QStringLiteral("mine"));
        assistant->show();
        control<QPushButton>(assistant, "Button1")->click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(bench.dialogs().errors()[0].text.contains(QStringLiteral("genetics directory")));
        QCOMPARE(bench.windows().objectCompiler->sourceText()->toPlainText(),
                 QStringLiteral("mine"));
        QVERIFY(assistant->isVisible());
    }
};

VEK_UI_TEST_MAIN(GeneratorWindowsTest)
#include "generator_windows_test.moc"
