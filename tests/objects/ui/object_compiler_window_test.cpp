#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/qt_user_dialogs.h"
#include "app/ui/widgets/arrow_stepper.h"
#include "generators/ui/new_object_source_window.h"
#include "generators/ui/object_assistant_window.h"
#include "language/ui/find_bar.h"
#include "language/ui/findings_list.h"
#include "language/ui/macro_completer.h"
#include "language/ui/macro_editors.h"
#include "objects/cob_data.h"
#include "objects/object_document.h"
#include "objects/ui/object_compiler_window.h"
#include "objects/ui/source_page.h"
#include "sprites/sprite_file.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

QLineEdit* field(ObjectCompilerWindow* window, int number) {
    return control<QLineEdit>(window, QStringLiteral("Edit%1").arg(number).toLatin1().constData());
}

// The findings of the source page as "line:column english text".
QStringList sourceFindings(ObjectCompilerWindow* window) {
    QStringList found;
    for (const Finding& f : window->sourcePage()->macroText()->findings()) {
        found << QStringLiteral("%1:%2 %3")
                     .arg(f.position.line)
                     .arg(f.position.column)
                     .arg(toQString(f.text.english));
    }
    return found;
}

// Types lines into the source text as a user does, each over the indentation that Enter gave
// it; an offer of the completion is declined.
void typeSource(MacroTextEdit* box, const QStringList& lines) {
    box->setFocus();
    for (const QString& line : lines) {
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClicks(box, line);
        if (box->completer()->popupVisible())
            QTest::keyClick(box->completer()->completer()->popup(), Qt::Key_Escape);
        QTest::keyClick(box, Qt::Key_Return);
    }
}

QString currentPage(ObjectCompilerWindow* window) {
    return control<QTabWidget>(window, "PageControl1")->currentWidget()->objectName();
}

QStringList lines(QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

// A double click as the system sends it: a click, then the second press as a double click.
void doubleClickLine(QListWidget* list, int row) {
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void clickLine(QListWidget* list, int row) {
    const QRect rectangle = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rectangle.center());
}

// What the user types into the edit box: key presses, as the change handler sees them.
void typeInto(QPlainTextEdit* box, const QString& text) { QTest::keyClicks(box, text); }

QString inScratch(TestWorkbench& bench, const char* name) {
    return fromPath(bench.scratch() / name);
}

// What an edit may change: the document's object, texts and names, and what the pages show.
struct Shot {
    CobData cob;
    CobFields fields;
    ClassFields classFields;
    std::string source;
    SourceState state;
    std::string objectFile;
    std::string sourceFile;
    QStringList shown;

    bool operator==(const Shot&) const = default;
};

Shot shot(TestWorkbench& bench) {
    ObjectCompilerWindow* window = bench.windows().objectCompiler;
    const ObjectDocument& document = bench.objectDocument();
    QStringList shown{window->sourceText()->toPlainText()};
    shown << lines(control<QListWidget>(window, "ListBox1"))
          << lines(control<QListWidget>(window, "ListBox2"));
    for (int number : {1, 2, 3, 4, 5, 6, 7, 11, 13}) shown << field(window, number)->text();
    return {document.cob(),
            document.fieldTexts(),
            document.classFields(),
            document.sourceText(),
            document.source(),
            document.objectFileName(),
            document.sourceFileName(),
            shown};
}

const Bytes kWorkedExample = {1, 0, 0, 0, 0, 0,   0,   0,   0,   0,   0,   0,   0, 0, 0,
                              0, 0, 0, 0, 0, 0,   0,   0,   0,   0,   0,   0,   0, 0, 0,
                              0, 0, 0, 0, 7, 'u', 'n', 'k', 'n', 'o', 'w', 'n', 0};

// The commands that put another source or object in place of the one on the source page, each
// run as a user runs it, with the dialogs it opens itself before and after the question about
// the changed source.
struct ReplacingCommand {
    const char* name;
    bool replacesText;  // the source typed is gone once it is let go
    std::function<void(TestWorkbench&)> run;
    std::function<QStringList(TestWorkbench&)> filesBefore;
    std::function<QStringList(TestWorkbench&)> filesAfter;
    std::function<bool(TestWorkbench&)> ran;       // what the command shows once it is done
    std::function<QWidget*(TestWorkbench&)> form;  // a generator's form, kept open on Cancel
};

QStringList noFiles(TestWorkbench&) { return {}; }
QWidget* noForm(TestWorkbench&) { return nullptr; }

void createSimpleObjectSource(TestWorkbench& bench) {
    NewObjectSourceWindow* form = bench.windows().newObjectSource;
    form->show();
    auto* tree = control<QTreeWidget>(form, "TreeView1");
    const auto ball = tree->findItems(QStringLiteral("2 5 3 {Bouncing ball}"),
                                      Qt::MatchExactly | Qt::MatchRecursive);
    if (ball.size() != 1) qFatal("no ball in the class catalogue");
    tree->setCurrentItem(ball.front());
    form->TreeView1Click();
    control<QLineEdit>(form, "Edit2")->setText(QStringLiteral("vbal"));
    QTest::mouseClick(control<QPushButton>(form, "Button1"), Qt::LeftButton);
}

void cloneWithTheAssistant(TestWorkbench& bench) {
    ObjectAssistantWindow* assistant = bench.windows().objectAssistant;
    assistant->show();
    control<QListWidget>(assistant, "FileListBox3")->setCurrentRow(6);  // gren.gen
    control<QAbstractButton>(assistant, "RadioButton10")->setChecked(true);
    QTest::mouseClick(control<QPushButton>(assistant, "Button4"), Qt::LeftButton);
}

QString sourceShown(TestWorkbench& bench) {
    return bench.windows().objectCompiler->sourceText()->toPlainText();
}

std::vector<ReplacingCommand> replacingCommands() {
    auto trigger = [](const char* item) {
        return [item](TestWorkbench& bench) {
            control<QAction>(bench.windows().objectCompiler, item)->trigger();
        };
    };
    auto demoFile = [](const char* name) {
        return [name](TestWorkbench& bench) {
            return QStringList{fromPath(bench.demo().gameDirectory() / name)};
        };
    };
    return {
        {"Load Source", true, trigger("LoadSourceFileCOS1"), demoFile("BALL.COS"), noFiles,
         [](TestWorkbench& bench) {
             return sourceShown(bench).startsWith(QStringLiteral("* Bouncing ball"));
         },
         noForm},
        {"Load COB", false, trigger("LoadCOB1"), demoFile("BALL.COB"), noFiles,
         [](TestWorkbench& bench) { return bench.objectDocument().objectFileName() == "BALL.COB"; },
         noForm},
        {"New COB", false, trigger("New1"), noFiles, noFiles,
         [](TestWorkbench& bench) { return bench.objectDocument().objectFileName().empty(); },
         noForm},
        {"Create Source", true, createSimpleObjectSource, noFiles, noFiles,
         [](TestWorkbench& bench) {
             return sourceShown(bench).contains(QStringLiteral("\tsetv clas 33882880\n"));
         },
         [](TestWorkbench& bench) -> QWidget* { return bench.windows().newObjectSource; }},
        {"COB Assistent", true, cloneWithTheAssistant, noFiles,
         [](TestWorkbench& bench) { return QStringList{inScratch(bench, "clone.cob")}; },
         [](TestWorkbench& bench) {
             return std::filesystem::exists(bench.scratch() / "clone.cob") &&
                    sourceShown(bench).contains(QStringLiteral("new: crea tokn gren 0"));
         },
         [](TestWorkbench& bench) -> QWidget* { return bench.windows().objectAssistant; }},
    };
}

// The message box the program shows next, looked at and answered with Cancel; its buttons'
// texts go into `buttons`.
void cancelTheBoxShown(const QString& screenshot, QStringList* buttons) {
    QTimer::singleShot(0, [screenshot, buttons] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible()) continue;
            saveScreenshot(box, screenshot);
            for (QAbstractButton* button : box->buttons()) *buttons << button->text();
            box->button(QMessageBox::Cancel)->click();
        }
    });
}

}  // namespace

class ObjectCompilerWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void theWindowHasItsPagesMenusAndStartValues() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        QCOMPARE(window->objectName(), QStringLiteral("TForm2"));
        QCOMPARE(window->windowTitle(), QStringLiteral("COB-Compiler"));
        auto* pages = control<QTabWidget>(window, "PageControl1");
        QStringList titles;
        for (int page = 0; page < pages->count(); ++page) titles << pages->tabText(page);
        QCOMPARE(titles, (QStringList{"Source (COS)", "Editor (COB)", "Settings", "Picture",
                                      "COB Injector"}));
        for (const char* name : {"New2", "LoadSourceFileCOS1", "SaveSourceFileCOS1",
                                 "CompiletoCOB1", "DiscompiletoCOS1", "New1", "LoadCOB1",
                                 "SaveCOB1", "Inject2", "COBAssistent1", "KillEdit1"}) {
            QVERIFY2(window->findChild<QAction*>(QLatin1String(name)), name);
        }
        QCOMPARE(field(window, 15)->text(), QStringLiteral("16843008"));
        QCOMPARE(field(window, 7)->text(), QStringLiteral("unknown"));
        QCOMPARE(field(window, 1)->text(), QStringLiteral("1"));
        QCOMPARE(control<QWidget>(window, "Image1")->size(), QSize(233, 137));
    }

    void newAndSaveWriteTheFortyThreeByteObject() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
        QCOMPARE(toQString(bench.objectDocument().objectFileName()), QStringLiteral("SPTOP.COB"));
        window->New1Click();
        QVERIFY(toQString(bench.objectDocument().objectFileName()).isEmpty());
        QCOMPARE(control<QWidget>(window, "Panel1")->size(), QSize(9, 9));
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "new.cob"));
        window->SaveCOB1Click();
        QCOMPARE(readFileBytes(bench.scratch() / "new.cob"), kWorkedExample);
        QCOMPARE(toQString(bench.objectDocument().objectFileName()), QStringLiteral("new.cob"));
        const auto save = bench.dialogs().ofKind(QStringLiteral("save")).back();
        QCOMPARE(save.text, QStringLiteral("Save Creatures .COB file"));

        // The same bytes from compiling a source of comments only.
        window->sourceText()->setPlainText(QStringLiteral("* nothing\n*  but comments"));
        window->Button8Click();
        QCOMPARE(toQString(bench.objectDocument().objectFileName()), QStringLiteral("unknown.COB"));
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "comments.cob"));
        window->SaveCOB1Click();
        QCOMPARE(readFileBytes(bench.scratch() / "comments.cob"), kWorkedExample);
    }

    void saveTakesTheFieldsAndRefusesWhatIsNoNumber() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        field(window, 2)->setText(QStringLiteral("70000"));
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "q.cob"));
        window->SaveCOB1Click();
        const Bytes bytes = readFileBytes(bench.scratch() / "q.cob");
        QCOMPARE(bytes[2] | bytes[3] << 8, 4464);
        QCOMPARE(bench.objectDocument().cob().quantity, 70000);

        field(window, 9)->setText(QStringLiteral("soon"));
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "bad.cob"));
        window->SaveCOB1Click();
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("'soon' ist kein gültiger Integerwert"));
        QVERIFY(!std::filesystem::exists(bench.scratch() / "bad.cob"));
    }

    void itemsTwoIsShownAndSavedBack() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        Bytes bytes = readFileBytes(bench.demo().gameDirectory() / "BALL.COB");
        bytes[0] = 2;
        writeFileAtomically(bench.scratch() / "two.cob", bytes);
        window->loadCobFile(inScratch(bench, "two.cob"));
        QCOMPARE(field(window, 1)->text(), QStringLiteral("2"));
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet2"));
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "again.cob"));
        window->SaveCOB1Click();
        QCOMPARE(readFileBytes(bench.scratch() / "again.cob"), bytes);
    }

    // The document keeps its object; the pages go on showing it.
    void aFailedLoadKeepsThePagesAsTheyWere() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
        const QStringList scriptsBefore = lines(control<QListWidget>(window, "ListBox1"));
        QCOMPARE(scriptsBefore.size(), 2);
        const Bytes whole = readFileBytes(bench.demo().gameDirectory() / "BALL.COB");
        writeFileAtomically(bench.scratch() / "cut.cob", Bytes(whole.begin(), whole.begin() + 60));
        window->loadCobFile(inScratch(bench, "cut.cob"));
        // The error's text, and on a second line the file and where it ended.
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("Lesen nach Dateiende (EOF)\n") + inScratch(bench, "cut.cob") +
                     QStringLiteral(", byte 25"));
        QCOMPARE(lines(control<QListWidget>(window, "ListBox1")), scriptsBefore);
        QCOMPARE(field(window, 7)->text(), QStringLiteral("Spinning Top"));

        Bytes tooMany(24, 0);
        tooMany[16] = 120;
        writeFileAtomically(bench.scratch() / "many.cob", tooMany);
        bench.context().look.setLanguage("deutsch");
        window->loadCobFile(inScratch(bench, "many.cob"));
        QVERIFY(bench.dialogs().errors().back().text.contains(QStringLiteral("120 Scripts")));
    }

    void newOnAListEndingInEmptyAddsNothing() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        auto* list = control<QListWidget>(window, "ListBox1");
        window->Button1Click();
        window->Button1Click();
        QCOMPARE(lines(list), QStringList{"<empty>"});
        QCOMPARE(field(window, 3)->text(), QStringLiteral("1"));

        clickLine(list, 0);
        auto* editBox = control<QPlainTextEdit>(window, "Memo1");
        QCOMPARE(editBox->toPlainText(), QStringLiteral("<empty>"));
        editBox->selectAll();
        typeInto(editBox, QStringLiteral("scrp 1 1 1 1,endm"));
        QCOMPARE(bench.objectDocument().cob().scripts,
                 std::vector<std::string>{"scrp 1 1 1 1,endm"});
        QCOMPARE(lines(list), QStringList{"scrp 1 1 1 1,endm"});
        window->Button1Click();
        QCOMPARE(lines(list), (QStringList{"scrp 1 1 1 1,endm", "<empty>"}));
        QCOMPARE(field(window, 3)->text(), QStringLiteral("2"));

        window->Button2Click();
        QCOMPARE(bench.objectDocument().cob().imports, std::vector<std::string>{"<empty>"});
        QCOMPARE(field(window, 4)->text(), QStringLiteral("1"));
    }

    void deletingTheOnlyScriptLeavesAnEmptyDetachedList() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        auto* list = control<QListWidget>(window, "ListBox1");
        auto* editBox = control<QPlainTextEdit>(window, "Memo1");
        window->Button1Click();
        clickLine(list, 0);
        window->Button3Click();
        QCOMPARE(list->count(), 0);
        QCOMPARE(field(window, 3)->text(), QStringLiteral("0"));
        QVERIFY(editBox->toPlainText().isEmpty());
        typeInto(editBox, QStringLiteral("x"));
        QVERIFY(bench.objectDocument().cob().scripts.empty());
    }

    void deletingHighlightsTheFirstLineWithoutAttachingIt() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->sourceText()->setPlainText(
            QStringLiteral("inst\nA\nendm\ninst\nB\nendm\ninst\nC\nendm"));
        window->Button8Click();
        auto* list = control<QListWidget>(window, "ListBox2");
        clickLine(list, 1);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(bench.objectDocument().cob().imports,
                 (std::vector<std::string>{"inst,A,endm", "inst,C,endm"}));
        QCOMPARE(field(window, 4)->text(), QStringLiteral("2"));
        QCOMPARE(list->currentRow(), 0);
        auto* editBox = control<QPlainTextEdit>(window, "Memo1");
        QVERIFY(editBox->toPlainText().isEmpty());
        typeInto(editBox, QStringLiteral("z"));
        QCOMPARE(bench.objectDocument().cob().imports.front(), std::string("inst,A,endm"));
    }

    void theEditBoxWritesOnlyIntoAnAttachedEntry() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        auto* editBox = control<QPlainTextEdit>(window, "Memo1");
        auto* list = control<QListWidget>(window, "ListBox1");
        window->sourceText()->setPlainText(QStringLiteral("scrp 1 1 1 1\nA\nendm"));
        window->Button8Click();
        typeInto(editBox, QStringLiteral("typed before a click"));
        QCOMPARE(bench.objectDocument().cob().scripts.front(), std::string("scrp 1 1 1 1,A,endm"));

        clickLine(list, 0);
        QTest::keyClick(editBox, Qt::Key_End);
        QTest::keyClick(editBox, Qt::Key_Return);  // Enter makes no line break
        typeInto(editBox, QStringLiteral("X"));
        QCOMPARE(bench.objectDocument().cob().scripts.front(), std::string("scrp 1 1 1 1,A,endmX"));

        // A pasted text that ends with a line break is stored without it.
        editBox->selectAll();
        editBox->insertPlainText(QStringLiteral("scrp 1 1 1 2,B,endm\r\n"));
        QCOMPARE(bench.objectDocument().cob().scripts.front(), std::string("scrp 1 1 1 2,B,endm"));
        QCOMPARE(editBox->toPlainText(), QStringLiteral("scrp 1 1 1 2,B,endm"));

        bench.dialogs().messageAnswers = {Answer::No};  // the source typed above is let go
        window->New1Click();
        typeInto(editBox, QStringLiteral("after new"));
        QVERIFY(bench.objectDocument().cob().scripts.empty());
    }

    void theClassCalculatorFollowsTheThreeFields() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        control<QTabWidget>(window, "PageControl1")->setCurrentIndex(1);
        for (int number : {12, 13, 14}) field(window, number)->clear();
        QTest::keyClicks(field(window, 12), QStringLiteral("2"));
        QTest::keyClicks(field(window, 13), QStringLiteral("5"));
        QTest::keyClicks(field(window, 14), QStringLiteral("3"));
        QCOMPARE(field(window, 15)->text(), QStringLiteral("33882880"));

        field(window, 13)->setFocus();
        field(window, 13)->clear();
        QCOMPARE(field(window, 15)->text(), QStringLiteral("33882880"));
        field(window, 14)->setFocus();
        QCOMPARE(field(window, 13)->text(), QStringLiteral("0"));
        QCOMPARE(field(window, 15)->text(), QStringLiteral("33555200"));

        QTest::keyClicks(field(window, 15), QStringLiteral("9"));
        QCOMPARE(field(window, 15)->text(), QStringLiteral("33555200"));

        field(window, 12)->setText(QStringLiteral("two"));
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("'two' ist kein gültiger Integerwert"));
        QCOMPARE(field(window, 15)->text(), QStringLiteral("33555200"));

        field(window, 12)->setText(QStringLiteral("254"));
        auto* upDown = window->findChild<QWidget*>(QStringLiteral("UpDown1"));
        QVERIFY(upDown);
        QMetaObject::invokeMethod(upDown,
                                  [upDown] { static_cast<ArrowStepper*>(upDown)->stepBy(1); });
        QMetaObject::invokeMethod(upDown,
                                  [upDown] { static_cast<ArrowStepper*>(upDown)->stepBy(1); });
        QCOMPARE(field(window, 12)->text(), QStringLiteral("255"));
        QCOMPARE(field(window, 15)->text(), QStringLiteral("-16776448"));
    }

    void getTakesTheSpriteEditorsSpriteUpsideDown() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->Button4Click();  // nothing selected in the sprite editor yet: nothing happens
        QVERIFY(bench.dialogs().asked.empty());
        QCOMPARE(bench.objectDocument().cob().pictureWidth, 0);

        SpriteImage sprite(20, 10, 3);
        for (int x = 0; x < 20; ++x) sprite.at(x, 9) = static_cast<std::uint8_t>(100 + x);
        writeSpriteFile(bench.scratch() / "wide.spr", std::vector<SpriteImage>{sprite});
        bench.spriteDocument().open(bench.scratch() / "wide.spr");
        window->Button4Click();
        QCOMPARE(field(window, 5)->text(), QStringLiteral("20"));
        QCOMPARE(field(window, 6)->text(), QStringLiteral("10"));
        QCOMPARE(control<QWidget>(window, "Panel1")->size(), QSize(29, 19));
        QCOMPARE(int(bench.objectDocument().cob().picturePixels[0]), 100);
        const QImage shown = control<QWidget>(window, "Image1")->grab().toImage();
        QCOMPARE(shown.size(), QSize(20, 10));
        QCOMPARE(shown.pixel(5, 9), toQColor(bench.palette()[105]).rgb());
    }

    void compilingFillsTheEditorAndTakesTheSpriteLine() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->sourceText()->setPlainText(QStringLiteral(
            "name My Ball\nquantity 5\nsprite vbal 1\nscrp 2 5 3 1\n  setv var0 1\nendm\ninst\n"
            "setv var1 2\nendm"));
        QVERIFY(bench.objectDocument().source().changedButNotCompiled());
        window->Button8Click();
        QVERIFY(bench.dialogs().errors().empty());
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet2"));
        QVERIFY(bench.objectDocument().source().compiled);
        QCOMPARE(field(window, 2)->text(), QStringLiteral(" 5"));
        QCOMPARE(bench.objectDocument().cob().quantity, 5);
        QCOMPARE(lines(control<QListWidget>(window, "ListBox1")),
                 QStringList{"scrp 2 5 3 1,setv var0 1,endm"});
        QCOMPARE(lines(control<QListWidget>(window, "ListBox2")),
                 QStringList{"inst,setv var1 2,endm"});
        QCOMPARE(toQString(bench.objectDocument().objectFileName()), QStringLiteral("My Ball.COB"));
        const SpriteImage& sprite = bench.spriteDocument().sprite();
        QCOMPARE(bench.spriteDocument().current(), std::size_t{1});
        QCOMPARE(bench.objectDocument().cob().pictureWidth, int(sprite.width));
        QCOMPARE(control<QWidget>(window, "Panel1")->size(),
                 QSize(sprite.width + 9, sprite.height + 9));
    }

    // Compiling passes over errors; the page stays on the source with its first error chosen in
    // the findings list, even where the list was dragged shut.
    void compilingASourceWithErrorsShowsItsFindings() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->showSourcePage();
        auto* findings = window->findChild<FindingsList*>();
        auto* splitter = static_cast<QSplitter*>(findings->parentWidget());
        splitter->setSizes({400, 0});
        window->sourceText()->setPlainText(
            QStringLiteral("scrp 2 5 3 1\n  snde ab\n  tikc 3\nendm"));
        window->Button8Click();
        QCOMPARE(lines(control<QListWidget>(window, "ListBox1")),
                 QStringList{"scrp 2 5 3 1,snde ab,tikc 3,endm"});
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet1"));
        QVERIFY(splitter->sizes().value(1) > 0);
        QVERIFY(findings->currentItem()->text().contains(QStringLiteral("tikc")));

        // The editor page's box checks the script it shows as the source page does.
        window->showEditorPage();
        clickLine(control<QListWidget>(window, "ListBox1"), 0);
        auto* editBox = control<MacroTextEdit>(window, "Memo1");
        QCOMPARE(editBox->toPlainText(), QStringLiteral("scrp 2 5 3 1,snde ab,tikc 3,endm"));
        const auto found = editBox->findings();
        QCOMPARE(found.size(), std::size_t{2});
        QCOMPARE(found[1].subject, std::string("tikc"));
        QCOMPARE(found[1].position.column, 22);
    }

    void aFailingFieldStopsCompilingAfterTheScriptsAreIn() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->sourceText()->setPlainText(
            QStringLiteral("scrp 1 1 1 1\nendm\nname Ball\nquantity\t5"));
        window->Button8Click();
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("'\t5' ist kein gültiger Integerwert"));
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet2"));
        QCOMPARE(bench.objectDocument().cob().scripts.size(), std::size_t{1});
        QCOMPARE(bench.objectDocument().cob().name, std::string("unknown"));
        QCOMPARE(field(window, 7)->text(), QStringLiteral("Ball"));

        window->sourceText()->setPlainText(
            QStringLiteral("scrp 1 1 1 1\nendm\nsprite nope 0\nscrp 1 1 1 2\nendm"));
        window->Button8Click();
        QCOMPARE(bench.objectDocument().cob().scripts.size(), std::size_t{1});
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet2"));
    }

    void theActivationRefillBringsTheStoredValuesBack() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
        field(window, 2)->setText(QStringLiteral("99"));
        window->FormActivate();
        QCOMPARE(field(window, 2)->text(), QStringLiteral("5"));
    }

    void discompilingAsksToSaveAChangedSourceAndReplacesIt() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
        window->sourceText()->setPlainText(QStringLiteral("my unsaved work"));
        bench.dialogs().messageAnswers.push_back(Answer::Cancel);
        window->Button11Click();
        QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
        QCOMPARE(bench.dialogs().messages().front().caption,
                 QStringLiteral("WARNING! Source not saved!"));
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet1"));
        const QStringList text = window->sourceText()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(text.front(),
                 QStringLiteral("* Discompiled from SPTOP.COB using VEK DUVIvodezoroze V1.5"));
        QVERIFY(text.contains(QStringLiteral("* Script  1 Activate(1)")));
        QCOMPARE(toQString(bench.objectDocument().sourceFileName()),
                 QStringLiteral("Spinning Top.COS"));
        QVERIFY(bench.objectDocument().source().changedButNotSaved());
        // The discompilation is one edit: one undo brings the unsaved work back, redo the source.
        const QString discompiled = window->sourceText()->toPlainText();
        QTest::keyClick(window->sourceText(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window->sourceText()->toPlainText(), QStringLiteral("my unsaved work"));
        window->sourceText()->redo();
        QCOMPARE(window->sourceText()->toPlainText(), discompiled);

        // OK saves first, under the name the dialog gives.
        bench.dialogs().messageAnswers.push_back(Answer::Ok);
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "saved.cos"));
        window->Button11Click();
        QVERIFY(readFileText(bench.scratch() / "saved.cos")
                    .starts_with("* Discompiled from SPTOP.COB"));

        // Recompiling the text gives the object back, with its picture.
        const CobData loaded = bench.objectDocument().cob();
        window->Button8Click();
        QCOMPARE(bench.objectDocument().cob().scripts, loaded.scripts);
        QCOMPARE(bench.objectDocument().cob().imports, loaded.imports);
        QCOMPARE(bench.objectDocument().cob().picturePixels, loaded.picturePixels);
        QVERIFY(loaded.pictureWidth > 0);
    }

    // The picture survives discompiling and compiling: kept with the text until the source is
    // saved, then written beside it and read from there.
    void discompilingAndCompilingKeepThePictureByteForByte() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        CobData puppy;
        puppy.quantity = 2;
        puppy.scripts = {"scrp 2 5 3 1,doif a,b,endi,endm"};
        puppy.imports = {"inst,new: simp puppy 4 0 3000 0,endm"};
        SpriteImage picture(60, 40);
        for (std::size_t k = 0; k < picture.pixels.size(); ++k)
            picture.pixels[k] = static_cast<std::uint8_t>(k * 11 + k / 60);
        setCobPicture(puppy, picture);
        puppy.name = "Puppy";
        writeCobFile(bench.scratch() / "puppy.cob", puppy);

        window->loadCobFile(inScratch(bench, "puppy.cob"));
        window->Button11Click();
        QVERIFY(window->sourceText()->toPlainText().contains(
            QStringLiteral("\nyear 0\npicture puppy.spr\n")));
        window->Button8Click();
        QVERIFY(bench.dialogs().errors().empty());
        QCOMPARE(field(window, 5)->text(), QStringLiteral("60"));
        QCOMPARE(field(window, 6)->text(), QStringLiteral("40"));
        QVERIFY(bench.objectDocument().cob() == puppy);

        bench.dialogs().fileAnswers.push_back(inScratch(bench, "puppy.cos"));
        window->Button7Click();
        QVERIFY(std::filesystem::exists(bench.scratch() / "puppy.spr"));

        window->New1Click();
        QCOMPARE(bench.objectDocument().cob().pictureWidth, 0);
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "puppy.cos"));
        window->Button6Click();
        window->Button8Click();
        QVERIFY(bench.dialogs().errors().empty());
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "again.cob"));
        window->SaveCOB1Click();
        QCOMPARE(readFileBytes(bench.scratch() / "again.cob"),
                 readFileBytes(bench.scratch() / "puppy.cob"));
    }

    void sourcesAreLoadedAndSavedWithTheirState() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        bench.dialogs().fileAnswers.push_back(fromPath(bench.demo().gameDirectory() / "BALL.COS"));
        window->Button6Click();
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("open")).back().text,
                 QStringLiteral("Open .COS(c) file"));
        QCOMPARE(toQString(bench.objectDocument().sourceFileName()), QStringLiteral("BALL.COS"));
        QVERIFY(!bench.objectDocument().source().changed);
        QVERIFY(bench.objectDocument().source().saved);
        QVERIFY(!bench.objectDocument().source().changedButNotSaved());
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet1"));
        QVERIFY(window->sourceText()->toPlainText().startsWith(QStringLiteral("* Bouncing ball")));

        // A changed source is saved by the save command.
        window->sourceText()->appendPlainText(QStringLiteral("* one more line"));
        QVERIFY(bench.objectDocument().source().changedButNotSaved());
        bench.dialogs().fileAnswers.push_back(inScratch(bench, "ball-copy"));
        window->Button7Click();
        QCOMPARE(toQString(bench.objectDocument().sourceFileName()),
                 QStringLiteral("ball-copy.COS"));
        const std::string saved = readFileText(bench.scratch() / "ball-copy.COS");
        QVERIFY(saved.ends_with("* one more line\r\n"));
        QVERIFY(saved.find("\r\nname Bouncing Ball\r\n") != std::string::npos);
        QVERIFY(!bench.objectDocument().source().changedButNotSaved());

        // A cancelled dialog saves nothing and changes nothing.
        window->sourceText()->appendPlainText(QStringLiteral("x"));
        window->Button7Click();
        QVERIFY(bench.objectDocument().source().changedButNotSaved());

        // A file that cannot be opened: the name is taken, the state stays; the reason is
        // given below the message.
        const QString missing = inScratch(bench, "missing.cos");
        bench.dialogs().fileAnswers.push_back(missing);
        bench.dialogs().messageAnswers = {Answer::No};
        window->Button6Click();
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("Kann Datei %1 nicht öffnen\nno such file or folder").arg(missing));
        QCOMPARE(toQString(bench.objectDocument().sourceFileName()), QStringLiteral("missing.cos"));
        QVERIFY(bench.objectDocument().source().changedButNotSaved());
    }

    void aDoubleClickedMacroFileReplacesTheSelection() {
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        writeFileAtomically(bench.demo().programDirectory() / "mac" / "ab050301.MAC",
                            std::string_view("x\r\n"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* files = control<QListWidget>(window, "FileListBox1");
        QCOMPARE(lines(files), (QStringList{"02050300.MAC", "02050301.MAC", "02050305.MAC",
                                            "02050309.MAC", "02210700.MAC", "ab050301.MAC"}));

        window->sourceText()->setPlainText(QStringLiteral("before SELECTED after"));
        QTextCursor cursor = window->sourceText()->textCursor();
        cursor.setPosition(7);
        cursor.setPosition(15, QTextCursor::KeepAnchor);
        window->sourceText()->setTextCursor(cursor);
        doubleClickLine(files, 1);  // 02050301.MAC
        const QString expected = QStringLiteral(
            "before \n*Macro inserted from file - be carefull with the Class!\n\nscrp 2 5 3 "
            "1\n\tsnde drip\n"
            "\tanim [0123]\n\tover\nendm\n after");
        QCOMPARE(window->sourceText()->toPlainText(), expected);
        QVERIFY(bench.objectDocument().source().changedButNotCompiled());

        doubleClickLine(files, 5);  // ab050301.MAC
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("'ab' ist kein gültiger Integerwert"));
        QCOMPARE(window->sourceText()->toPlainText(), expected);
    }

    // Every command that puts another source or object in place of a source changed and not
    // saved asks first, as closing does: Yes saves it, No lets it go, and Cancel (or a save
    // dialog cancelled after Yes) keeps everything as it was, a generator's form open.
    void replacingAChangedSourceAsksFirst() {
        enum class Outcome { Saved, LetGo, Kept };
        const struct {
            Answer answer;
            bool saveChosen;
            Outcome outcome;
        } answers[] = {{Answer::Yes, true, Outcome::Saved},
                       {Answer::No, false, Outcome::LetGo},
                       {Answer::Cancel, false, Outcome::Kept},
                       {Answer::Yes, false, Outcome::Kept}};
        for (const ReplacingCommand& command : replacingCommands()) {
            for (const auto& given : answers) {
                TestWorkbench bench;
                ObjectCompilerWindow* window = bench.windows().objectCompiler;
                window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
                QTest::keyClicks(window->sourceText(), QStringLiteral("* my work"));
                const Shot before = shot(bench);
                ScriptedDialogs& dialogs = bench.dialogs();
                dialogs.asked.clear();
                for (const QString& file : command.filesBefore(bench))
                    dialogs.fileAnswers.push_back(file);
                // The save dialog comes only after Yes.
                if (given.answer == Answer::Yes)
                    dialogs.fileAnswers.push_back(given.saveChosen
                                                      ? std::optional(inScratch(bench, "mine.cos"))
                                                      : std::nullopt);
                for (const QString& file : command.filesAfter(bench))
                    dialogs.fileAnswers.push_back(file);
                dialogs.messageAnswers = {given.answer};

                command.run(bench);

                const QString label = QStringLiteral("%1, answer %2, save %3")
                                          .arg(QLatin1String(command.name))
                                          .arg(int(given.answer))
                                          .arg(given.saveChosen ? 1 : 0);
                const auto questions = dialogs.messages();
                QVERIFY2(questions.size() == 1, qPrintable(label));
                QCOMPARE(questions.front().caption, QStringLiteral("WARNING! Source not saved!"));
                QCOMPARE(questions.front().buttons, Buttons::YesNoCancel);
                const bool saved = std::filesystem::exists(bench.scratch() / "mine.cos");
                QVERIFY2(saved == (given.outcome == Outcome::Saved), qPrintable(label));
                QWidget* form = command.form(bench);
                if (given.outcome == Outcome::Kept) {
                    QVERIFY2(shot(bench) == before, qPrintable(label));
                    QVERIFY2(!form || form->isVisible(), qPrintable(label));
                    continue;
                }
                QVERIFY2(command.ran(bench), qPrintable(label));
                QVERIFY2(!form || !form->isVisible(), qPrintable(label));
                const bool typedStays = sourceShown(bench).contains(QStringLiteral("* my work"));
                QVERIFY2(typedStays == !command.replacesText, qPrintable(label));
                if (saved)
                    QCOMPARE(readFileText(bench.scratch() / "mine.cos"),
                             std::string("* my work\r\n"));
            }
        }
    }

    // A source dropped or chosen from the recent list asks as loading one does; an unchanged
    // source is replaced without a word. The real box, in both languages, offers Yes, No and
    // Cancel.
    void theQuestionIsTheClosingOnesWithCancel() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        const QString ball = fromPath(bench.demo().gameDirectory() / "BALL.COS");
        window->openObjectFile(ball);
        QVERIFY(bench.dialogs().messages().empty());
        QTest::keyClicks(window->sourceText(), QStringLiteral("* mine"));
        bench.dialogs().messageAnswers = {Answer::Cancel};
        window->openObjectFile(ball);
        QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
        QVERIFY(window->sourceText()->toPlainText().startsWith(QStringLiteral("* mine")));

        QtUserDialogs realBoxes;
        bench.dialogs().shownBy = &realBoxes;
        window->show();
        for (const char* language : {"english", "deutsch"}) {
            if (language == std::string_view("deutsch")) bench.windows().main->SpeedButton13Click();
            bench.dialogs().asked.clear();
            QStringList buttons;
            cancelTheBoxShown(
                QStringLiteral("TForm2-source-not-saved-question-%1").arg(QLatin1String(language)),
                &buttons);
            window->openObjectFile(ball);
            QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
            QCOMPARE(buttons.size(), 3);
            QVERIFY(window->sourceText()->toPlainText().startsWith(QStringLiteral("* mine")));
        }
        QCOMPARE(bench.dialogs().messages().front().caption,
                 QStringLiteral("WARNUNG! Source nicht gespeichert!"));
        QCOMPARE(bench.dialogs().messages().front().text,
                 QStringLiteral("Source wurde veraendert aber nicht gespeichert! Moechten Sie "
                                "jetzt speichern?"));
    }

    void theInjectorPageAndItsMenuItemsAreWired() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        QVERIFY(control<QWidget>(window, "TabSheet4")
                    ->findChild<QListWidget*>(QStringLiteral("FileListBox2")));
        control<QAction>(window, "Inject2")->trigger();
        QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
        QCOMPARE(bench.dialogs().messages().front().caption, QStringLiteral("Nothing to inject!"));
        QCOMPARE(bench.dialogs().messages().front().text,
                 QStringLiteral("No COB Data in memory! Load a COB or compile a COS."));

        // A source loaded and not compiled yet: the box says to compile it first.
        bench.dialogs().fileAnswers.push_back(fromPath(bench.demo().gameDirectory() / "BALL.COS"));
        control<QAction>(window, "LoadSourceFileCOS1")->trigger();
        const struct {
            void (MainWindow::*choose)();
            const char* text;
        } languages[] = {
            {&MainWindow::SpeedButton12Click,
             "No COB Data in memory! Load a COB or compile a COS.\n\nThe source on the page Source "
             "(COS) is not compiled yet: compile it first (Source > Compile Source), then inject "
             "it."},
            {&MainWindow::SpeedButton13Click,
             "Keine COB Daten im Speicher! Laden Sie einen COB oder compilieren Sie einen COS.\n\n"
             "Der Source auf der Seite Source (COS) ist noch nicht compiliert: compilieren Sie ihn "
             "zuerst (Source > Source compilieren) und injizieren Sie ihn dann."},
        };
        for (const auto& language : languages) {
            (bench.windows().main->*language.choose)();
            bench.dialogs().asked.clear();
            control<QAction>(window, "Inject2")->trigger();
            QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
            QCOMPARE(bench.dialogs().messages().front().text, QString::fromUtf8(language.text));
        }
        // Compiled, the source has nothing left to advise.
        window->Button8Click();
        bench.objectDocument().newObject();
        bench.dialogs().asked.clear();
        control<QAction>(window, "Inject2")->trigger();
        QCOMPARE(bench.dialogs().messages().front().caption, QStringLiteral("Nichts zum Senden!"));
        QCOMPARE(bench.dialogs().messages().front().text,
                 QStringLiteral("Keine COB Daten im Speicher! Laden Sie einen COB oder "
                                "compilieren Sie einen COS."));
    }

    // Every kind of edit is one step that the Edit menu names: Undo gives back the exact object,
    // fields, source and what the pages show, Redo the edit again. Ctrl+Z in the source text
    // runs the same steps.
    void everyEditIsUndoneAndRedoneExactly() {
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        writeSpriteFile(bench.scratch() / "p.spr", std::vector<SpriteImage>{SpriteImage(3, 2, 7)});
        bench.spriteDocument().open(bench.scratch() / "p.spr");
        window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
        auto* scripts = control<QListWidget>(window, "ListBox1");
        auto* editBox = control<QPlainTextEdit>(window, "Memo1");
        QPlainTextEdit* source = window->sourceText();
        const QString ball = fromPath(bench.demo().gameDirectory() / "BALL.COB");
        struct Edit {
            const char* label;
            std::function<void()> before;
            std::function<void()> edit;
            bool byKeys = false;  // Ctrl+Z in the source text instead of the menu
        };
        const std::function<void()> nothing = [] {};
        const Edit edits[] = {
            {"New Script", nothing, [&] { window->Button1Click(); }},
            {"Edit Script", [&] { clickLine(scripts, 0); }, [&] { typeInto(editBox, "XY"); }},
            {"Delete Script", [&] { clickLine(scripts, 1); }, [&] { window->Button3Click(); }},
            {"New Import", nothing, [&] { window->Button2Click(); }},
            {"Change Quantity", nothing, [&] { QTest::keyClicks(field(window, 2), "12"); }},
            {"Restore Fields", [&] { field(window, 7)->setText("typed"); },
             [&] { window->FormActivate(); }},
            {"Get Picture", nothing, [&] { window->Button4Click(); }},
            {"Change Genus", nothing, [&] { QTest::keyClicks(field(window, 13), "5"); }},
            {"Load COB", nothing, [&] { window->loadCobFile(ball); }},
            {"New COB", nothing, [&] { window->New1Click(); }},
            {"Typing", nothing, [&] { QTest::keyClicks(source, "inst"); }, true},
            {"Compile Source", [&] { source->appendPlainText("A\nendm"); },
             [&] { window->Button8Click(); }, true},
            {"Discompile", nothing, [&] { window->Button11Click(); }, true},
            {"Insert Macro", nothing,
             [&] { doubleClickLine(control<QListWidget>(window, "FileListBox1"), 1); }, true},
            {"Generate Source", nothing,
             [&] {
                 bench.dialogs().messageAnswers = {Answer::No};
                 bench.context().commands.showObjectSource({"* made", "name Made"}, nullptr);
             },
             true},
            {"COB Assistent", nothing,
             [&] {
                 bench.dialogs().messageAnswers = {Answer::No};
                 bench.context().commands.compileAndOfferToSave({"inst", "endm"}, {});
             }},
        };
        for (const Edit& step : edits) {
            step.before();
            const Shot before = shot(bench);
            step.edit();
            const Shot after = shot(bench);
            QVERIFY2(!(before == after), step.label);
            auto* undo = control<QAction>(window, "Undo1");
            QCOMPARE(undo->text(), QStringLiteral("Undo ") + QLatin1String(step.label));
            if (step.byKeys)
                QTest::keyClick(source, Qt::Key_Z, Qt::ControlModifier);
            else
                undo->trigger();
            QVERIFY2(shot(bench) == before, step.label);
            control<QAction>(window, "Redo1")->trigger();
            QVERIFY2(shot(bench) == after, step.label);
        }
        QVERIFY(bench.dialogs().errors().empty());
    }

    // The installation is read by the first check of a section, not at start-up; a script of a
    // class that nothing in the source creates and the program's class catalogue lacks is
    // marked; a class added to the catalogue, a sprite file put into the game's folder and the
    // switches of the Source menu each show at once.
    void theSourceIsCheckedAgainstTheInstallationWhenFirstNeeded() {
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->resize(820, 560);
        window->show();
        QCOMPARE(window->sourcePage()->installationFacts().reads(), 0u);
        MacroTextEdit* box = window->sourcePage()->macroText();
        typeSource(box, {QStringLiteral("* comments only")});
        QCOMPARE(window->sourcePage()->installationFacts().reads(), 0u);

        typeSource(box, {QStringLiteral("inst"), QStringLiteral("new: simp zzzz 1 0 1000 0"),
                         QStringLiteral("setv clas 33882880"), QStringLiteral("endm"),
                         QStringLiteral("scrp 2 5 3 9"), QStringLiteral("endm"),
                         QStringLiteral("scrp 2 5 9 1"), QStringLiteral("endm")});
        QCOMPARE(window->sourcePage()->installationFacts().reads(), 1u);
        const QString classWarning = QStringLiteral(
            "8:6 Nothing in the source creates the class 2 5 9, and the class catalogue does not "
            "hold it");
        const QString spriteWarning =
            QStringLiteral("The sprite file \"zzzz\" is not in the game's image folder");
        QVERIFY2(sourceFindings(window).contains(classWarning),
                 qPrintable(sourceFindings(window).join(QLatin1Char('|'))));
        QCOMPARE(sourceFindings(window).filter(spriteWarning).size(), 1);
        QVERIFY(
            sourceFindings(window).filter(spriteWarning).front().startsWith(QStringLiteral("3:")));
        QCOMPARE(window->sourcePage()->findingsList()->count(), 2);
        saveScreenshot(window, QStringLiteral("ide-rest-class-warning-english"));

        // The catalogue learns the class: the script is no longer marked.
        ClassCatalogueDocument& catalogue = bench.workbench().classCatalogue();
        catalogue.select({1, 0});  // 2 5 {Toys}
        catalogue.addUnderSelection("2 5 9 {Test ball}");
        QVERIFY(!sourceFindings(window).contains(classWarning));
        catalogue.undoStack().undo();
        QVERIFY(sourceFindings(window).contains(classWarning));

        // The sprite file arrives in the game's image folder while the window is away.
        const std::filesystem::path images = pathFromUtf8(bench.context().game.paths().CImagePath);
        // A folder's time moves on with the file in it. Windows refuses to set it and keeps it in
        // whole seconds: there the file comes a second after the last reading.
        const auto later = std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5);
        std::error_code refused;
        std::filesystem::last_write_time(images, later, refused);
        if (refused) QTest::qWait(1100);
        writeSpriteFile(images / "zzzz.spr", std::vector<SpriteImage>(1, SpriteImage(2, 2)));
        if (!refused) std::filesystem::last_write_time(images, later);
        window->FormActivate();
        QVERIFY(sourceFindings(window).filter(spriteWarning).isEmpty());
        QCOMPARE(window->sourcePage()->installationFacts().reads(), 2u);

        // The switches: each checked while on; off, its warnings go and VEK.INI keeps it.
        auto* classes = control<QAction>(window, "CheckClasses1");
        QVERIFY(classes->isCheckable() && classes->isChecked());
        QCOMPARE(classes->text(), QStringLiteral("&Classes are known or created"));
        auto* checks = window->findChild<QMenu*>(QStringLiteral("InstallationChecks1"));
        QVERIFY(checks);
        QCOMPARE(checks->menuAction()->text(), QStringLiteral("&Check against the Installation"));
        QCOMPARE(checks->actions().size(), 4);
        classes->trigger();
        QVERIFY(!classes->isChecked());
        QVERIFY(!sourceFindings(window).contains(classWarning));
        QVERIFY(bench.vekIniText().find("Classes=0") != std::string::npos);
        classes->trigger();
        QVERIFY(sourceFindings(window).contains(classWarning));
        QVERIFY(bench.vekIniText().find("Classes=1") != std::string::npos);

        bench.windows().main->SpeedButton13Click();  // deutsch
        QCOMPARE(classes->text(), QStringLiteral("&Klassen bekannt oder erzeugt"));
        QCOMPARE(checks->menuAction()->text(), QStringLiteral("&Gegen die Installation prüfen"));
        QVERIFY(window->sourcePage()->findingsList()->item(0)->text().contains(
            QStringLiteral("Nichts in der Quelle erzeugt die Klasse 2 5 9")));
        saveScreenshot(window, QStringLiteral("ide-rest-class-warning-deutsch"));
        checks->popup(window->mapToGlobal(QPoint(40, 40)));
        saveScreenshot(checks, QStringLiteral("ide-rest-checks-menu-deutsch"));
        checks->close();
        bench.windows().main->SpeedButton12Click();  // english
        auto* source = window->findChild<QMenu*>(QStringLiteral("Source1"));
        QVERIFY(source && source->actions().contains(checks->menuAction()));
        source->popup(window->mapToGlobal(QPoint(10, 10)));
        saveScreenshot(source, QStringLiteral("ide-rest-source-menu-english"));
        source->close();
        checks->popup(window->mapToGlobal(QPoint(40, 40)));
        saveScreenshot(checks, QStringLiteral("ide-rest-checks-menu-english"));
        checks->close();
    }

    // The Edit menu carries find, replace, find next and previous and go to line with their
    // keys, in both languages; from another page they bring the source page up first.
    void theEditMenuFindsReplacesAndGoesToALine() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->show();
        window->activateWindow();
        auto* box = control<QPlainTextEdit>(window, "Memo2");
        box->setPlainText(QStringLiteral("inst\nsetv var0 1\nsetv var0 2\nendm"));
        auto* edit = window->findChild<QMenu*>(QStringLiteral("EditMenu1"));
        QVERIFY(edit);
        const struct {
            const char* name;
            const char* english;
            const char* german;
            QKeySequence keys;
        } items[] = {
            {"FindAction", "&Find...", "&Suchen...", QKeySequence(Qt::CTRL | Qt::Key_F)},
            {"ReplaceAction", "&Replace...", "&Ersetzen...", QKeySequence(Qt::CTRL | Qt::Key_H)},
            {"FindNextAction", "Find &Next", "&Weitersuchen", QKeySequence(Qt::Key_F3)},
            {"FindPreviousAction", "Find &Previous", "&Rückwärts suchen",
             QKeySequence(Qt::SHIFT | Qt::Key_F3)},
            {"GoToLineAction", "&Go to Line...", "&Gehe zu Zeile...",
             QKeySequence(Qt::CTRL | Qt::Key_G)}};
        for (const auto& item : items) {
            auto* action = control<QAction>(window, item.name);
            QVERIFY2(edit->actions().contains(action), item.name);
            QCOMPARE(action->text(), QString::fromUtf8(item.english));
            QCOMPARE(action->shortcut(), item.keys);
        }
        QVERIFY(control<QAction>(window, "FormatSource1")->shortcut() ==
                QKeySequence(QStringLiteral("Ctrl+Shift+F")));

        window->showEditorPage();
        control<QAction>(window, "FindAction")->trigger();
        QCOMPARE(currentPage(window), QStringLiteral("TabSheet1"));
        FindBar* bar = window->sourcePage()->findBar();
        QVERIFY(bar->isVisible());
        auto* find = control<QLineEdit>(window, "FindField");
        QTest::keyClicks(find, QStringLiteral("var0"));
        QTest::keyClick(find, Qt::Key_Return);
        control<QAction>(window, "FindNextAction")->trigger();
        QCOMPARE(box->textCursor().blockNumber(), 2);
        control<QAction>(window, "FindPreviousAction")->trigger();
        QCOMPARE(box->textCursor().blockNumber(), 1);
        control<QAction>(window, "ReplaceAction")->trigger();
        QVERIFY(control<QLineEdit>(window, "ReplaceField")->isVisible());
        control<QAction>(window, "GoToLineAction")->trigger();
        auto* lineField = control<QLineEdit>(window, "GoToLineField");
        QVERIFY(lineField->isVisible());
        QTest::keyClicks(lineField, QStringLiteral("4"));
        QTest::keyClick(lineField, Qt::Key_Return);
        QCOMPARE(box->textCursor().blockNumber(), 3);
        saveScreenshot(window, QStringLiteral("ide-rest-find-english"));

        bench.windows().main->SpeedButton13Click();  // deutsch
        for (const auto& item : items)
            QCOMPARE(control<QAction>(window, item.name)->text(), QString::fromUtf8(item.german));
        edit->popup(window->mapToGlobal(QPoint(40, 40)));
        saveScreenshot(edit, QStringLiteral("ide-rest-edit-menu-deutsch"));
        edit->close();
        bench.windows().main->SpeedButton12Click();
        edit->popup(window->mapToGlobal(QPoint(40, 40)));
        saveScreenshot(edit, QStringLiteral("ide-rest-edit-menu-english"));
        edit->close();
    }

    void theEditMenuNamesTheStepInGerman() {
        TestWorkbench::Options options;
        options.vekIniText = "[Language]\nLanguage=deutsch\n";
        TestWorkbench bench(options);
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        auto* undo = control<QAction>(window, "Undo1");
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig"));
        QVERIFY(!undo->isEnabled());
        window->Button1Click();
        clickLine(control<QListWidget>(window, "ListBox1"), 0);
        window->Button3Click();
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig: Script löschen"));
        QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));
        saveScreenshot(window->findChild<QMenu*>(QStringLiteral("EditMenu1")),
                       QStringLiteral("TForm2-deutsch-undo-step"));
        undo->trigger();
        QCOMPARE(control<QAction>(window, "Redo1")->text(),
                 QStringLiteral("Wiederholen: Script löschen"));
        QCOMPARE(control<QAction>(window, "EditMenu1")->text(), QStringLiteral("&Bearbeiten"));
    }

    void screenshotsOfEveryPage() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the pages");
        for (const char* language : {"english", "deutsch"}) {
            TestWorkbench::Options options;
            options.vekIniText = std::string("[Language]\nLanguage=") + language + "\n";
            TestWorkbench bench(options);
            ObjectCompilerWindow* window = bench.windows().objectCompiler;
            window->loadCobFile(fromPath(bench.demo().gameDirectory() / "SPTOP.COB"));
            window->Button11Click();
            window->resize(720, 520);
            window->show();
            auto* pages = control<QTabWidget>(window, "PageControl1");
            clickLine(control<QListWidget>(window, "ListBox1"), 0);
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                saveScreenshot(
                    window,
                    QStringLiteral("objects-%1-page%2").arg(QLatin1String(language)).arg(page));
            }
        }
    }
};

VEK_UI_TEST_MAIN(ObjectCompilerWindowTest)
#include "object_compiler_window_test.moc"
