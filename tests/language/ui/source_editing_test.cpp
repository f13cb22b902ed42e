#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "gamelink/ui/command_interface_window.h"
#include "language/layout.h"
#include "language/ui/editor_status_line.h"
#include "language/ui/find_bar.h"
#include "language/ui/findings_list.h"
#include "language/ui/macro_editors.h"
#include "language/ui/outline_view.h"
#include "objects/source_lines.h"
#include "objects/ui/object_compiler_window.h"
#include "objects/ui/source_page.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

SourcePage* sourcePage(TestWorkbench& bench) {
    return bench.windows().objectCompiler->findChild<SourcePage*>(QStringLiteral("TabSheet1"));
}

QAction* item(QWidget* window, const char* name) {
    return window->findChild<QAction*>(QLatin1String(name));
}

void selectLines(QPlainTextEdit* box, int first, int last) {
    QTextCursor cursor(box->document()->findBlockByNumber(first - 1));
    const QTextBlock end = box->document()->findBlockByNumber(last - 1);
    cursor.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

// "line:column" of the caret, both from 1.
QString caretAt(const QPlainTextEdit* box) {
    const QTextCursor caret = box->textCursor();
    return QStringLiteral("%1:%2").arg(caret.blockNumber() + 1).arg(caret.positionInBlock() + 1);
}

const QString kLabelSource = QStringLiteral(
    "name Ball\ninst\n\tnew: simp ball 1 0 10 0\n\tscrx 2 5 3 9\nendm\n"
    "scrp 2 5 3 9\n\tgsub move\n\tgsub move\n\tstop\n\tsubr move\n\t\tmvby 1 0\n"
    "\tretn\nendm");

// A menu closes as a chosen item closes it, and is gone.
void closeMenu(QMenu* menu) {
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const QString kMessySource = QStringLiteral(
    "* A ball\nname Ball\n  inst\nnew: simp ball 1 0 1000 0\nendm\n\nscrp 2 5 3 9\n"
    "  doif obv0 eq 1\nreps 2\n mvby 1 0\n  repe\nelse\n   pose 0\n endi\nendm\n");

// The window shown and active, so that its keys reach the source text as a user's would.
MacroTextEdit* activeSourceText(TestWorkbench& bench, const QString& text) {
    ObjectCompilerWindow* window = bench.windows().objectCompiler;
    window->resize(900, 560);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) qFatal("the window did not become active");
    MacroTextEdit* box = sourcePage(bench)->macroText();
    box->setPlainText(text);
    box->setFocus();
    box->moveCaretTo(1, 1);
    return box;
}

QString selectedAt(const QPlainTextEdit* box) {
    const QTextCursor cursor = box->textCursor();
    return QStringLiteral("%1:%2").arg(cursor.blockNumber() + 1).arg(cursor.selectedText());
}

}  // namespace

class SourceEditingTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The gutter numbers the lines; the status line names the file, marks a change and follows
    // the caret, in the interface language.
    void theGutterAndStatusLineFollowTheText() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->resize(760, 520);
        window->show();
        SourcePage* page = sourcePage(bench);
        MacroTextEdit* box = page->macroText();
        QVERIFY(box->lineNumberGutter()->isVisible());
        QCOMPARE(box->viewport()->geometry().left() - box->contentsRect().left(),
                 box->gutterWidth());
        QCOMPARE(page->statusLine()->text(), QStringLiteral("(new source)    Line 1, column 1"));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("inst"));
        QTest::keyClick(box, Qt::Key_Return);
        // Enter gave the line inside the section its tab.
        QTest::keyClicks(box, QStringLiteral("mvby"));
        QCOMPARE(page->statusLine()->text(), QStringLiteral("(new source) *    Line 2, column 6"));
        // The caret's line is marked across the whole width.
        QCOMPARE(box->extraSelections().size(), 1);
        QCOMPARE(box->extraSelections().front().cursor.blockNumber(), 1);
        // Four-digit line numbers widen the gutter.
        const int narrow = box->gutterWidth();
        box->setPlainText(QString(1200, QLatin1Char('\n')));
        QVERIFY(box->gutterWidth() > narrow);
        QCOMPARE(box->viewport()->geometry().left() - box->contentsRect().left(),
                 box->gutterWidth());

        box->setPlainText(kMessySource);
        bench.windows().main->SpeedButton13Click();
        box->moveCaretTo(8, 3);
        QCOMPARE(page->statusLine()->text(),
                 QStringLiteral("(neuer Source) *    Zeile 8, Spalte 3"));
        saveScreenshot(window, QStringLiteral("source_page_gutter_deutsch"));
        bench.windows().main->SpeedButton12Click();
        QCOMPARE(page->statusLine()->text(), QStringLiteral("(new source) *    Line 8, column 3"));
        saveScreenshot(window, QStringLiteral("source_page_gutter_english"));
    }

    // Whatever changes the text marks the source changed: the status line's "*" and the
    // question on closing; loading the next file clears the mark.
    void everyEditMarksTheSourceChangedAndLoadingClearsIt() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        const std::filesystem::path file = bench.scratch() / "toy.cos";
        writeFileAtomically(file, std::string_view("* A ball\r\ninst\r\nnew: simp ball 1 0 1000 "
                                                   "0\r\nendm\r\nscrp 2 5 3 9\r\n  mvot 1 0\r\n"
                                                   "endm\r\n"));
        MacroTextEdit* box = activeSourceText(bench, QString());
        SourcePage* page = sourcePage(bench);
        FindBar* bar = page->findBar();
        const struct {
            const char* edit;
            std::function<void()> make;
        } edits[] = {
            {"Replace All",
             [&] {
                 QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);
                 for (const auto& [name, text] :
                      {std::pair("FindField", "ball"), std::pair("ReplaceField", "puck")}) {
                     auto* field = control<QLineEdit>(bar, name);
                     field->clear();
                     QTest::keyClicks(field, QLatin1String(text));
                 }
                 QTest::mouseClick(control<QPushButton>(bar, "ReplaceAllButton"), Qt::LeftButton);
             }},
            {"Format Source",
             [&] {
                 box->setFocus();
                 QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
             }},
            {"quick fix",
             [&] {
                 box->moveCaretTo(6, 4);
                 QTest::keyClick(box, Qt::Key_Period, Qt::ControlModifier);
                 auto* fixes = box->findChild<QMenu*>(QStringLiteral("QuickFixes"));
                 QVERIFY(fixes);
                 fixes->actions().front()->trigger();
                 closeMenu(fixes);
             }},
            {"Tab on a selection",
             [&] {
                 selectLines(box, 2, 4);
                 QTest::keyClick(box, Qt::Key_Tab);
             }},
        };
        for (const auto& edit : edits) {
            bench.dialogs().messageAnswers = {Answer::No};
            window->loadSourceFile(fromPath(file));
            QVERIFY2(page->statusLine()->text().startsWith(QStringLiteral("toy.cos    ")),
                     qPrintable(page->statusLine()->text()));
            const QString loaded = box->toPlainText();
            edit.make();
            QVERIFY2(box->toPlainText() != loaded, edit.edit);
            QVERIFY2(page->statusLine()->text().startsWith(QStringLiteral("toy.cos *    ")),
                     edit.edit);
            bench.dialogs().asked.clear();
            bench.dialogs().messageAnswers = {Answer::No};
            // Each round closes the program again.
            bench.windows().main->show();
            bench.windows().main->close();
            const auto questions = bench.dialogs().messages();
            QVERIFY2(questions.size() == 1, edit.edit);
            QCOMPARE(questions.front().caption, QStringLiteral("WARNING! Source not saved!"));
        }
        saveScreenshot(window, QStringLiteral("source_page_changed_mark_english"));
        bench.windows().main->SpeedButton13Click();
        QVERIFY(page->statusLine()->text().startsWith(QStringLiteral("toy.cos *    Zeile")));
        saveScreenshot(window, QStringLiteral("source_page_changed_mark_deutsch"));
        bench.windows().main->SpeedButton12Click();
        bench.dialogs().messageAnswers = {Answer::No};
        window->loadSourceFile(fromPath(file));
        QVERIFY(page->statusLine()->text().startsWith(QStringLiteral("toy.cos    ")));
        QVERIFY(!bench.objectDocument().source().changed);
    }

    // Format Source in the Source menu lays the text out as one step that Undo takes back;
    // a text already laid out makes no step.
    void formatSourceIsOneStepInBothLanguages() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->show();
        MacroTextEdit* box = sourcePage(bench)->macroText();
        box->setPlainText(kMessySource);
        const std::string expected = formatSourceText(toStdString(kMessySource), sourceLineReading);
        QAction* format = item(window, "FormatSource1");
        QCOMPARE(format->text(), QStringLiteral("&Format Source"));
        format->trigger();
        QCOMPARE(toStdString(box->toPlainText()), expected);
        QVERIFY(box->toPlainText().contains(QStringLiteral("\n\t\treps 2\n\t\t\tmvby 1 0\n")));
        QCOMPARE(item(window, "Undo1")->text(), QStringLiteral("Undo Format Source"));
        item(window, "Undo1")->trigger();
        QCOMPARE(box->toPlainText(), kMessySource);

        bench.windows().main->SpeedButton13Click();
        QCOMPARE(format->text(), QStringLiteral("Source &formatieren"));
        // The menu's shortcut, as a user presses it in the active window.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(toStdString(box->toPlainText()), expected);
        const QString undoText = item(window, "Undo1")->text();
        QVERIFY2(undoText.endsWith(QStringLiteral("Source formatieren")), qPrintable(undoText));
        const std::size_t steps = bench.objectDocument().undoStack().undoCount();
        format->trigger();
        QCOMPARE(bench.objectDocument().undoStack().undoCount(), steps);
    }

    // Tab and Shift+Tab on lines selected shift each, a comment's star stays first, and each
    // is one step.
    void tabShiftsTheSelectedLines() {
        TestWorkbench bench;
        bench.windows().objectCompiler->show();
        MacroTextEdit* box = sourcePage(bench)->macroText();
        box->setPlainText(QStringLiteral("inst\nsetv var0 1\n*note\n  \t* star\nendm"));
        box->setFocus();
        selectLines(box, 2, 4);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->toPlainText(),
                 QStringLiteral("inst\n\tsetv var0 1\n*note\n\t  \t* star\nendm"));
        QTest::keyClick(box, Qt::Key_Backtab);
        QTest::keyClick(box, Qt::Key_Backtab);
        QCOMPARE(box->toPlainText(), QStringLiteral("inst\nsetv var0 1\n*note\n\t* star\nendm"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), QStringLiteral("inst\nsetv var0 1\n*note\n  \t* star\nendm"));
        // Within one line Tab types a tab, as the page has always done.
        box->moveCaretTo(2, 1);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->document()->findBlockByNumber(1).text(), QStringLiteral("\tsetv var0 1"));
    }

    // The outline lists routines and scripts with their subroutines; a click, F12 and
    // Ctrl+click move the caret; Shift+F12 marks a label's uses.
    void theOutlineAndGoToDefinitionMoveTheCaret() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->resize(760, 520);
        window->show();
        SourcePage* page = sourcePage(bench);
        MacroTextEdit* box = page->macroText();
        box->setPlainText(QStringLiteral(
            "name Ball\ninst\n\tnew: simp ball 1 0 10 0\n\tscrx 2 5 3 9\nendm\n"
            "scrp 2 5 3 9\n\tgsub move\n\tgsub move\n\tstop\n\tsubr move\n\t\tmvby 1 0\n"
            "\tretn\nendm\n"));
        OutlineView* outline = page->outline();
        QTRY_COMPARE(outline->topLevelItemCount(), 2);
        QVERIFY(page->statusLine()->text().startsWith(QStringLiteral("(new source) *")));
        QCOMPARE(outline->topLevelItem(0)->text(0), QStringLiteral("Installation routine 1"));
        QVERIFY(outline->topLevelItem(1)->text(0).startsWith(QStringLiteral("2 5 3 \u00b7 ")));
        QCOMPARE(outline->topLevelItem(1)->child(0)->text(0), QStringLiteral("subr move"));
        saveScreenshot(window, QStringLiteral("source_page_outline_english"));

        QTreeWidgetItem* subroutine = outline->topLevelItem(1)->child(0);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {},
                          outline->visualItemRect(subroutine).center());
        QCOMPARE(box->textCursor().blockNumber(), 9);

        box->moveCaretTo(7, 8);  // on gsub's label
        QTest::keyClick(box, Qt::Key_F12);
        QCOMPARE(box->textCursor().blockNumber(), 9);
        box->moveCaretTo(4, 3);  // scrx 2 5 3 9 goes to that script
        QTest::keyClick(box, Qt::Key_F12);
        QCOMPARE(box->textCursor().blockNumber(), 5);
        box->moveCaretTo(8, 2);
        const QPoint word =
            box->cursorRect().center() + QPoint(box->fontMetrics().averageCharWidth() * 6, 0);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::ControlModifier, word);
        QCOMPARE(box->textCursor().blockNumber(), 9);

        QTest::keyClick(box, Qt::Key_F12, Qt::ShiftModifier);
        QCOMPARE(box->extraSelections().size(), 1 + 3);  // the caret's line and three uses
        QCOMPARE(box->textCursor().blockNumber(), 6);    // on to the first, from the subr
        QTest::keyClicks(box, QStringLiteral("x"));
        QCOMPARE(box->extraSelections().size(), 1);

        bench.windows().main->SpeedButton13Click();
        QCOMPARE(outline->topLevelItem(0)->text(0), QStringLiteral("Installationsroutine 1"));
        saveScreenshot(window, QStringLiteral("source_page_outline_deutsch"));
        bench.windows().main->SpeedButton12Click();
    }

    // Resting on a word shows its whole entry; Ctrl+. on a finding offers fixes, each one
    // step; the command interface's line does the same. Both languages.
    void hoverAndQuickFixesInTheSourceAndTheCommandLine() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->resize(760, 520);
        window->show();
        MacroTextEdit* box = sourcePage(bench)->macroText();
        box->setPlainText(QStringLiteral("scrp 2 5 3 9\n\tdoif obv0 eq 1\n\t\tmvot 1 2\nendm"));
        box->moveCaretTo(2, 3);
        const QString entry = box->hoverTextAt(box->cursorRect().center());
        QVERIFY2(entry.contains(QStringLiteral("\n\ndoif condition\n")), qPrintable(entry));
        QVERIFY(entry.endsWith(QStringLiteral("Opens a block that endi closes.")));

        box->moveCaretTo(3, 4);
        QVERIFY(box->hoverTextAt(box->cursorRect().center()).contains(QStringLiteral("mvot")));
        QMenu* fixes = box->offerQuickFixes();
        QVERIFY(fixes);
        QCOMPARE(fixes->objectName(), QStringLiteral("QuickFixes"));
        QCOMPARE(fixes->actions().front()->text(), QStringLiteral("Did you mean \"mvto\"?"));
        saveScreenshot(window, QStringLiteral("source_page_quick_fix_english"));
        fixes->actions().front()->trigger();
        closeMenu(fixes);
        QCOMPARE(box->document()->findBlockByNumber(2).text(), QStringLiteral("\t\tmvto 1 2"));

        // The missing endi, by Ctrl+. as a user asks for it, in German.
        bench.windows().main->SpeedButton13Click();
        box->moveCaretTo(2, 3);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Period, Qt::ControlModifier);
        fixes = box->findChild<QMenu*>(QStringLiteral("QuickFixes"));
        QVERIFY(fixes && fixes->isVisible());
        QCOMPARE(fixes->actions().front()->text(), QStringLiteral("\"endi\" ergänzen"));
        // The finding there, then the word's entry.
        const QString german = box->hoverTextAt(box->cursorRect().center());
        QVERIFY2(german.startsWith(QStringLiteral("\"doif\" wird nicht mit")), qPrintable(german));
        QVERIFY(german.endsWith(QStringLiteral("Öffnet einen Block, den endi schließt.")));
        saveScreenshot(window, QStringLiteral("source_page_quick_fix_deutsch"));
        fixes->actions().front()->trigger();
        closeMenu(fixes);
        QCOMPARE(box->toPlainText(),
                 QStringLiteral("scrp 2 5 3 9\n\tdoif obv0 eq 1\n\t\tmvto 1 2\nendi\nendm"));
        QCOMPARE(sourcePage(bench)->findingsList()->count(), 0);
        item(window, "Undo1")->trigger();
        QCOMPARE(box->toPlainText(),
                 QStringLiteral("scrp 2 5 3 9\n\tdoif obv0 eq 1\n\t\tmvto 1 2\nendm"));

        CommandInterfaceWindow* commands = bench.windows().commandInterface;
        commands->show();
        MacroLineEdit* line = commands->macroLine();
        line->setFocus();
        QTest::keyClicks(line, QStringLiteral("reps 3,wiat 5"));
        QTest::keyClick(line, Qt::Key_Left);
        QTest::keyClick(line, Qt::Key_Left);
        QTest::keyClick(line, Qt::Key_Period, Qt::ControlModifier);
        fixes = line->findChild<QMenu*>(QStringLiteral("QuickFixes"));
        QVERIFY(fixes);
        QCOMPARE(fixes->actions().front()->text(), QStringLiteral("Meinten Sie \"wait\"?"));
        fixes->actions().front()->trigger();
        closeMenu(fixes);
        QCOMPARE(line->text(), QStringLiteral("reps 3,wait 5"));
        line->setCursorPosition(1);
        QTest::keyClick(line, Qt::Key_Period, Qt::ControlModifier);
        fixes = line->findChild<QMenu*>(QStringLiteral("QuickFixes"));
        QVERIFY(fixes);
        fixes->actions().front()->trigger();
        closeMenu(fixes);
        QCOMPARE(line->text(), QStringLiteral("reps 3,wait 5,repe"));
        QVERIFY(line->findings().empty());
        const QPoint onReps(line->fontMetrics().horizontalAdvance(QStringLiteral("re")),
                            line->height() / 2);
        QVERIFY(line->hoverTextAt(onReps).startsWith(QStringLiteral("reps Ganzzahl\n")));
        bench.windows().main->SpeedButton12Click();
    }

    // Ctrl+F opens the find bar; Enter, F3 and Shift+F3 step through the matches under the
    // options, going round the text; a word that is not there says so.
    void findStepsThroughTheMatches() {
        TestWorkbench bench;
        MacroTextEdit* box = activeSourceText(
            bench, QStringLiteral("inst\nsetv var0 1\nsetv VAR0 2\nsetv var01 3\nendm"));
        FindBar* bar = sourcePage(bench)->findBar();
        QVERIFY(!bar->isVisible());
        QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        auto* find = control<QLineEdit>(bar, "FindField");
        QVERIFY(find->hasFocus());
        QVERIFY(!control<QLineEdit>(bar, "ReplaceField")->isVisible());
        QTest::keyClicks(find, QStringLiteral("var0"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(selectedAt(box), QStringLiteral("2:var0"));
        const struct {
            Qt::KeyboardModifiers modifiers;
            const char* expected;
        } steps[] = {{Qt::NoModifier, "3:VAR0"},
                     {Qt::NoModifier, "4:var0"},
                     {Qt::NoModifier, "2:var0"},  // round to the start
                     {Qt::ShiftModifier, "4:var0"}};
        for (const auto& step : steps) {
            QTest::keyClick(box, Qt::Key_F3, step.modifiers);
            QCOMPARE(selectedAt(box), QString::fromLatin1(step.expected));
        }
        QTest::mouseClick(control<QCheckBox>(bar, "WholeWordBox"), Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_F3);
        QCOMPARE(selectedAt(box), QStringLiteral("2:var0"));
        QTest::keyClick(box, Qt::Key_F3);
        QCOMPARE(selectedAt(box), QStringLiteral("3:VAR0"));
        QTest::mouseClick(control<QCheckBox>(bar, "MatchCaseBox"), Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_F3);
        QCOMPARE(selectedAt(box), QStringLiteral("2:var0"));
        QTest::keyClick(box, Qt::Key_F3);
        QCOMPARE(selectedAt(box), QStringLiteral("2:var0"));

        // Ctrl+F takes the selected word into the find line.
        box->moveCaretTo(1, 1);
        QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(find->text(), QStringLiteral("inst"));
        QTest::keyClicks(find, QStringLiteral("mvto"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(bar->note(), QStringLiteral("\"mvto\" was not found."));
        bench.windows().main->SpeedButton13Click();
        QCOMPARE(bar->note(), QStringLiteral("\"mvto\" wurde nicht gefunden."));
        QCOMPARE(control<QPushButton>(bar, "FindNextButton")->text(), QStringLiteral("Weiter"));
        QTest::keyClick(bar, Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(box->hasFocus());
    }

    // Ctrl+H: each Replace is one step, Replace All one step for all, and Undo takes them back
    // in turn; the count is told in the interface language.
    void replaceAndReplaceAllAreUndoSteps() {
        TestWorkbench bench;
        const QString original =
            QStringLiteral("inst\nsetv var0 1\naddv var0 var0\nsetv var01 3\nendm");
        MacroTextEdit* box = activeSourceText(bench, original);
        FindBar* bar = sourcePage(bench)->findBar();
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);
        auto* find = control<QLineEdit>(bar, "FindField");
        auto* replace = control<QLineEdit>(bar, "ReplaceField");
        QVERIFY(find->hasFocus());
        QVERIFY(replace->isVisible());
        QTest::keyClicks(find, QStringLiteral("var0"));
        QTest::mouseClick(control<QCheckBox>(bar, "WholeWordBox"), Qt::LeftButton);
        QTest::keyClicks(replace, QStringLiteral("ov00"));
        const auto& undo = bench.objectDocument().undoStack();
        const std::size_t steps = undo.undoCount();
        auto* replaceOne = control<QPushButton>(bar, "ReplaceButton");
        // The first press finds, the second replaces and moves on.
        QTest::mouseClick(replaceOne, Qt::LeftButton);
        QCOMPARE(selectedAt(box), QStringLiteral("2:var0"));
        QCOMPARE(undo.undoCount(), steps);
        QTest::mouseClick(replaceOne, Qt::LeftButton);
        const QString once =
            QStringLiteral("inst\nsetv ov00 1\naddv var0 var0\nsetv var01 3\nendm");
        QCOMPARE(box->toPlainText(), once);
        QCOMPARE(selectedAt(box), QStringLiteral("3:var0"));
        QCOMPARE(undo.undoCount(), steps + 1);
        QCOMPARE(item(bench.windows().objectCompiler, "Undo1")->text(),
                 QStringLiteral("Undo Replace"));

        QTest::mouseClick(control<QPushButton>(bar, "ReplaceAllButton"), Qt::LeftButton);
        QCOMPARE(box->toPlainText(),
                 QStringLiteral("inst\nsetv ov00 1\naddv ov00 ov00\nsetv var01 3\nendm"));
        QCOMPARE(bar->note(), QStringLiteral("2 replaced."));
        QCOMPARE(undo.undoCount(), steps + 2);
        saveScreenshot(bench.windows().objectCompiler,
                       QStringLiteral("source_page_replace_english"));
        bench.windows().main->SpeedButton13Click();
        QCOMPARE(bar->note(), QStringLiteral("2 ersetzt."));
        QCOMPARE(control<QLabel>(bar, "ReplaceLabel")->text(), QStringLiteral("Ersetzen durch:"));
        saveScreenshot(bench.windows().objectCompiler,
                       QStringLiteral("source_page_replace_deutsch"));

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), once);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), original);
        // Nothing to replace makes no step.
        find->setText(QStringLiteral("mvto"));
        QCOMPARE(bar->replaceAll(), 0u);
        QCOMPARE(undo.undoCount(), steps);
    }

    // Ctrl+G moves to the line typed; a line the text has not is told.
    void goToLineMovesTheCaret() {
        TestWorkbench bench;
        MacroTextEdit* box = activeSourceText(bench, QStringLiteral("inst\na\nb\nc\nendm"));
        FindBar* bar = sourcePage(bench)->findBar();
        QTest::keyClick(box, Qt::Key_G, Qt::ControlModifier);
        auto* line = control<QLineEdit>(bar, "GoToLineField");
        QVERIFY(line->hasFocus());
        QCOMPARE(line->text(), QStringLiteral("1"));
        QVERIFY(!control<QLineEdit>(bar, "FindField")->isVisible());
        QTest::keyClicks(line, QStringLiteral("4"));
        QTest::keyClick(line, Qt::Key_Return);
        QCOMPARE(box->textCursor().blockNumber(), 3);
        QVERIFY(!bar->isVisible());
        QTest::keyClick(box, Qt::Key_G, Qt::ControlModifier);
        QTest::keyClicks(line, QStringLiteral("99"));
        QTest::keyClick(line, Qt::Key_Return);
        QVERIFY(bar->isVisible());
        QCOMPARE(control<QLabel>(bar, "GoToLineNote")->text(),
                 QStringLiteral("There is no line 99 (the text has 5)."));
        QCOMPARE(box->textCursor().blockNumber(), 3);
    }

    // Alt+Left goes back along the jumps of go to definition and the outline, Alt+Right forward;
    // a new jump drops the way forward.
    void altArrowsRetraceTheJumps() {
        TestWorkbench bench;
        MacroTextEdit* box = activeSourceText(bench, kLabelSource);
        SourcePage* page = sourcePage(bench);
        OutlineView* outline = page->outline();
        QTRY_COMPARE(outline->topLevelItemCount(), 2);
        box->moveCaretTo(7, 8);
        QTest::keyClick(box, Qt::Key_F12);
        QCOMPARE(caretAt(box), QStringLiteral("10:7"));
        QTreeWidgetItem* script = outline->topLevelItem(1);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {},
                          outline->visualItemRect(script).center());
        QCOMPARE(caretAt(box), QStringLiteral("6:1"));

        const struct {
            Qt::Key key;
            const char* caret;
        } steps[] = {{Qt::Key_Left, "10:7"},  {Qt::Key_Left, "7:8"},  {Qt::Key_Left, "7:8"},
                     {Qt::Key_Right, "10:7"}, {Qt::Key_Right, "6:1"}, {Qt::Key_Right, "6:1"},
                     {Qt::Key_Left, "10:7"}};
        for (const auto& step : steps) {
            QTest::keyClick(box, step.key, Qt::AltModifier);
            QCOMPARE(caretAt(box), QLatin1String(step.caret));
        }
        box->moveCaretTo(4, 3);
        QTest::keyClick(box, Qt::Key_F12);
        QCOMPARE(caretAt(box), QStringLiteral("6:1"));
        QTest::keyClick(box, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(caretAt(box), QStringLiteral("6:1"));
        QTest::keyClick(box, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(caretAt(box), QStringLiteral("4:3"));
    }

    // F2 on a label asks for its new name and renames its subr and every gsub to it as one step
    // of the Edit menu, in both languages; cancelled, or off a label, nothing changes.
    void f2RenamesALabelAsOneStep() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        MacroTextEdit* box = activeSourceText(bench, kLabelSource);
        const auto& undo = bench.objectDocument().undoStack();
        const std::size_t steps = undo.undoCount();
        bench.dialogs().textAnswers = {QStringLiteral(" walk "), std::nullopt};
        box->moveCaretTo(8, 9);
        QTest::keyClick(box, Qt::Key_F2);
        QString renamed = kLabelSource;
        renamed.replace(QStringLiteral("move"), QStringLiteral("walk"));
        QCOMPARE(box->toPlainText(), renamed);
        QCOMPARE(toQString(bench.objectDocument().sourceText()), renamed);
        QCOMPARE(caretAt(box), QStringLiteral("8:9"));
        QCOMPARE(undo.undoCount(), steps + 1);
        QCOMPARE(item(window, "Undo1")->text(), QStringLiteral("Undo Rename Label"));
        const auto asked = bench.dialogs().asked.back();
        QCOMPARE(asked.kind, QStringLiteral("text"));
        QCOMPARE(asked.text, QStringLiteral("Rename Label"));
        QCOMPARE(asked.caption, QStringLiteral("move"));

        // Cancelled: the text stays; off a label nobody is asked.
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(box->toPlainText(), renamed);
        const std::size_t askedBefore = bench.dialogs().asked.size();
        box->moveCaretTo(9, 3);
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(bench.dialogs().asked.size(), askedBefore);
        QCOMPARE(undo.undoCount(), steps + 1);

        bench.windows().main->SpeedButton13Click();
        bench.dialogs().textAnswers = {QStringLiteral("lauf")};
        box->moveCaretTo(10, 8);
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Marke umbenennen"));
        QVERIFY(box->toPlainText().contains(QStringLiteral("\tsubr lauf\n")));
        const QString undoText = item(window, "Undo1")->text();
        QVERIFY2(undoText.endsWith(QStringLiteral("Marke umbenennen")), qPrintable(undoText));
        bench.windows().main->SpeedButton12Click();

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), renamed);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), kLabelSource);
    }

    // Ctrl+/ puts a "*" at the very start of each selected line, one step; again, it takes them
    // away. The outline and findings follow: a commented subr is gone from both.
    void ctrlSlashTogglesACommentOnTheSelectedLines() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        MacroTextEdit* box = activeSourceText(bench, kLabelSource);
        SourcePage* page = sourcePage(bench);
        const auto& undo = bench.objectDocument().undoStack();
        const std::size_t steps = undo.undoCount();
        QTRY_COMPARE(page->outline()->topLevelItemCount(), 2);
        QCOMPARE(page->outline()->topLevelItem(1)->childCount(), 1);
        // Those of the installation the workbench makes stay as they are.
        const std::size_t found = box->findings().size();
        selectLines(box, 10, 12);
        QTest::keyClick(box, Qt::Key_Slash, Qt::ControlModifier);
        QString commented = kLabelSource;
        commented.replace(QStringLiteral("\tsubr move\n\t\tmvby 1 0\n\tretn\n"),
                          QStringLiteral("*\tsubr move\n*\t\tmvby 1 0\n*\tretn\n"));
        QCOMPARE(box->toPlainText(), commented);
        QCOMPARE(undo.undoCount(), steps + 1);
        QCOMPARE(item(window, "Undo1")->text(), QStringLiteral("Undo Toggle Comment"));
        // Both gsubs now name a subr the script has not.
        QCOMPARE(box->findings().size(), found + 2);
        QCOMPARE(page->findingsList()->count(), static_cast<int>(found + 2));
        QTRY_COMPARE(page->outline()->topLevelItem(1)->childCount(), 0);
        saveScreenshot(window, QStringLiteral("source_page_comment_english"));

        // The caret alone on one line toggles that line.
        box->moveCaretTo(11, 3);
        QTest::keyClick(box, Qt::Key_Slash, Qt::ControlModifier);
        QVERIFY(box->toPlainText().contains(QStringLiteral("*\tsubr move\n\t\tmvby 1 0\n*\tretn")));
        bench.windows().main->SpeedButton13Click();
        QVERIFY2(item(window, "Undo1")->text().endsWith(QStringLiteral("Kommentar umschalten")),
                 qPrintable(item(window, "Undo1")->text()));
        saveScreenshot(window, QStringLiteral("source_page_comment_deutsch"));
        bench.windows().main->SpeedButton12Click();

        selectLines(box, 10, 12);
        QTest::keyClick(box, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), commented);
        QTest::keyClick(box, Qt::Key_Slash, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), kLabelSource);
        QCOMPARE(box->findings().size(), found);
        QCOMPARE(page->findingsList()->count(), static_cast<int>(found));
        QCOMPARE(undo.undoCount(), steps + 4);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), commented);
    }

    // Enter starts the next line at the depth of the layout, lays out the closer it leaves, and
    // a "*" typed on an indented empty line starts a comment at the margin.
    void enterIndentsAsTheLayout() {
        TestWorkbench bench;
        MacroTextEdit* box = activeSourceText(bench, QString());
        const char* typed[] = {"name Ball", "inst",         "doif var0 eq 1", "reps 2",
                               "mvby 1 0",  "repe",         "endi",           "* a note",
                               "endm",      "scrp 2 5 3 9", "setv var0 1"};
        for (const char* line : typed) {
            QTest::keyClicks(box, QLatin1String(line));
            QTest::keyClick(box, Qt::Key_Return);
        }
        const QString expected = QStringLiteral(
            "name Ball\ninst\n\tdoif var0 eq 1\n\t\treps 2\n\t\t\tmvby 1 0\n\t\trepe\n"
            "\tendi\n* a note\nendm\nscrp 2 5 3 9\n\tsetv var0 1\n\t");
        QCOMPARE(box->toPlainText(), expected);
        // What Enter did is what Format Source does to the whole text (the last line is empty).
        const std::string lines = toStdString(expected.chopped(1));
        QCOMPARE(formatSourceText(lines, sourceLineReading), lines);
        // Enter and its tabs are one step.
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(box->toPlainText().endsWith(QStringLiteral("\tsetv var0 1")));
    }
};

VEK_UI_TEST_MAIN(SourceEditingTest)
#include "source_editing_test.moc"
