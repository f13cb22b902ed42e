#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "language/ui/editor_status_line.h"
#include "language/ui/find_bar.h"
#include "language/ui/findings_list.h"
#include "language/ui/macro_completer.h"
#include "language/ui/macro_editors.h"
#include "language/ui/outline_view.h"
#include "objects/object_document.h"
#include "objects/ui/object_compiler_window.h"
#include "objects/ui/source_page.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

SourcePage* pageOf(TestWorkbench& bench) {
    return bench.windows().objectCompiler->findChild<SourcePage*>(QStringLiteral("TabSheet1"));
}

// The window shown and active, so that keys reach the source text as a user's would.
MacroTextEdit* shownSourceText(TestWorkbench& bench) {
    ObjectCompilerWindow* window = bench.windows().objectCompiler;
    window->resize(900, 560);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) qFatal("the window did not become active");
    MacroTextEdit* box = pageOf(bench)->macroText();
    box->setFocus();
    return box;
}

// The texts the search marks in the box, beside the caret line's mark.
QStringList markedTexts(const QPlainTextEdit* box) {
    QStringList marked;
    for (const QTextEdit::ExtraSelection& mark : box->extraSelections())
        if (mark.cursor.hasSelection()) marked << mark.cursor.selectedText();
    return marked;
}

std::filesystem::path writeSource(TestWorkbench& bench, const char* name, std::string_view text) {
    const std::filesystem::path file = bench.scratch() / name;
    writeFileAtomically(file, text);
    return file;
}

// What a user sees of the source: its text and the name in the status line.
QString nameShown(TestWorkbench& bench) {
    return pageOf(bench)->statusLine()->text().section(QStringLiteral("    "), 0, 0);
}

const QString kThreeBalls = QStringLiteral(
    "inst\n\tnew: simp ball 1 0 10 0\n\tsetv ball 1\n"
    "\tsetv Ball 2\n\tsetv balls 3\nendm");

}  // namespace

class FindAndHistoryTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Ctrl+F marks every match as the word is typed and tells how many there are; stepping on
    // tells which one is selected; the marks go with the bar. Both languages, by the options.
    void findMarksEveryMatchAndSaysWhichIsSelected() {
        const struct {
            const char* language;
            bool matchCase;
            bool wholeWord;
            QStringList marked;
            const char* found;
            const char* second;
        } cases[] = {
            {"english", false, false, {"ball", "ball", "Ball", "ball"}, "4 found", "2 of 4"},
            {"deutsch", true, true, {"ball", "ball"}, "2 gefunden", "2 von 2"},
        };
        for (const auto& test : cases) {
            TestWorkbench::Options options;
            options.vekIniText = std::string("[Language]\nLanguage=") + test.language + "\n";
            TestWorkbench bench(options);
            MacroTextEdit* box = shownSourceText(bench);
            box->setPlainText(kThreeBalls);
            box->moveCaretTo(1, 1);
            FindBar* bar = pageOf(bench)->findBar();
            QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
            QVERIFY(bar->isVisible());
            if (test.matchCase)
                QTest::mouseClick(control<QWidget>(bar, "MatchCaseBox"), Qt::LeftButton);
            if (test.wholeWord)
                QTest::mouseClick(control<QWidget>(bar, "WholeWordBox"), Qt::LeftButton);
            auto* field = control<QLineEdit>(bar, "FindField");
            QTest::keyClicks(field, QStringLiteral("ball"), {}, 20);
            QCOMPARE(markedTexts(box), test.marked);
            QCOMPARE(bar->note(), QString::fromUtf8(test.found));
            QTest::keyClick(field, Qt::Key_Return, {}, 20);
            QTest::keyClick(field, Qt::Key_Return, {}, 20);
            QCOMPARE(bar->note(), QString::fromUtf8(test.second));
            saveScreenshot(bench.windows().objectCompiler,
                           QStringLiteral("source-find-%1").arg(QLatin1String(test.language)));
            // Typing in the text finds again: one match fewer.
            box->moveCaretTo(2, 16);
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(markedTexts(box).size(), test.marked.size() - 1);
            QTest::keyClick(field, Qt::Key_Escape);
            QVERIFY(!bar->isVisible());
            QVERIFY(markedTexts(box).isEmpty());
        }
    }

    // Replace All of a loaded source is one step that marks it changed; one Ctrl+Z gives back
    // the file's text, unchanged again.
    void replaceAllIsOneStepThatMarksTheSourceChanged() {
        TestWorkbench bench;
        const auto file =
            writeSource(bench, "balls.cos", "inst\r\nsetv ball 1\r\nsetv ball 2\r\nendm\r\n");
        MacroTextEdit* box = shownSourceText(bench);
        bench.windows().objectCompiler->loadSourceFile(fromPath(file));
        const QString loaded = box->toPlainText();
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);
        FindBar* bar = pageOf(bench)->findBar();
        QTest::keyClicks(control<QLineEdit>(bar, "FindField"), QStringLiteral("ball"));
        QTest::keyClicks(control<QLineEdit>(bar, "ReplaceField"), QStringLiteral("puck"));
        QTest::mouseClick(control<QPushButton>(bar, "ReplaceAllButton"), Qt::LeftButton);
        QCOMPARE(box->toPlainText(), QString(loaded).replace(QStringLiteral("ball"), "puck"));
        QCOMPARE(bar->note(), QStringLiteral("2 replaced."));
        QVERIFY(bench.objectDocument().source().changed);
        QCOMPARE(nameShown(bench), QStringLiteral("balls.cos *"));
        auto* undo = control<QAction>(bench.windows().objectCompiler, "Undo1");
        QCOMPARE(undo->text(), QStringLiteral("Undo Replace All"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), loaded);
        QVERIFY(!bench.objectDocument().source().changed);
        QCOMPARE(nameShown(bench), QStringLiteral("balls.cos"));
    }

    // Undo past loads gives back each earlier file's text and name together; the Edit menu
    // and the keys in the text walk the one history, interleaved.
    void undoPastLoadsBringsBackTextAndNameTogether() {
        TestWorkbench bench;
        const auto first = writeSource(bench, "a.cos", "* first\r\ninst\r\nendm\r\n");
        const auto second = writeSource(bench, "b.cos", "* second\r\n");
        MacroTextEdit* box = shownSourceText(bench);
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        bench.dialogs().fileAnswers = {fromPath(first)};
        control<QAction>(window, "LoadSourceFileCOS1")->trigger();
        box->moveCaretTo(1, 8);
        QTest::keyClicks(box, QStringLiteral(" file"), {}, 10);
        const QString edited = box->toPlainText();
        // Not saved: the question before the next load is answered No.
        bench.dialogs().messageAnswers = {Answer::No};
        bench.dialogs().fileAnswers = {fromPath(second)};
        control<QAction>(window, "LoadSourceFileCOS1")->trigger();
        QCOMPARE(box->toPlainText(), QStringLiteral("* second"));
        QAction* undo = control<QAction>(window, "Undo1");
        QAction* redo = control<QAction>(window, "Redo1");
        const auto keys = [box](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            return [box, key, modifiers] { QTest::keyClick(box, key, modifiers, 20); };
        };
        const struct {
            std::function<void()> run;
            QString text;
            const char* name;
        } walk[] = {
            {keys(Qt::Key_Z, Qt::ControlModifier), edited, "a.cos *"},
            // Changed: the text differs from b.cos, the file last loaded.
            {keys(Qt::Key_Z, Qt::ControlModifier), QStringLiteral("* first\ninst\nendm"),
             "a.cos *"},
            {[undo] { undo->trigger(); }, QString(), "(new source) *"},
            {keys(Qt::Key_Y, Qt::ControlModifier), QStringLiteral("* first\ninst\nendm"),
             "a.cos *"},
            {[redo] { redo->trigger(); }, edited, "a.cos *"},
            {keys(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), QStringLiteral("* second"),
             "b.cos"},
            {[undo] { undo->trigger(); }, edited, "a.cos *"},
        };
        for (const auto& step : walk) {
            step.run();
            QCOMPARE(box->toPlainText(), step.text);
            QCOMPARE(toQString(bench.objectDocument().sourceText()), step.text);
            QCOMPARE(nameShown(bench), QString::fromUtf8(step.name));
        }
        QVERIFY(bench.dialogs().errors().empty());
    }

    // A quick fix on a word just typed is a step of its own: Ctrl+Z takes the fix back and
    // leaves the typing.
    void aQuickFixIsAStepOfItsOwn() {
        TestWorkbench bench;
        MacroTextEdit* box = shownSourceText(bench);
        bench.objectDocument().replaceSource("scrp 2 5 3 9\n\t\nendm", kGeneratedSourceLabel);
        box->moveCaretTo(2, 2);
        QTest::keyClicks(box, QStringLiteral("mvot"), {}, 20);
        if (box->completer()->popupVisible())
            QTest::keyClick(box->completer()->completer()->popup(), Qt::Key_Escape);
        const QString typed = box->toPlainText();
        QTest::keyClick(box, Qt::Key_Period, Qt::ControlModifier);
        auto* fixes = box->findChild<QMenu*>(QStringLiteral("QuickFixes"));
        QVERIFY(fixes);
        fixes->actions().front()->trigger();
        fixes->close();
        QCOMPARE(box->document()->findBlockByNumber(1).text(), QStringLiteral("\tmvto"));
        QCOMPARE(box->textCursor().positionInBlock(), 5);
        QCOMPARE(control<QAction>(bench.windows().objectCompiler, "Undo1")->text(),
                 QStringLiteral("Undo Quick Fix"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), typed);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), QStringLiteral("scrp 2 5 3 9\n\t\nendm"));
    }

    // In German the outline names the events in German and the findings list speaks German;
    // switching back gives the English texts again.
    void theOutlineAndTheFindingsFollowTheLanguage() {
        TestWorkbench::Options options;
        options.vekIniText = "[Language]\nLanguage=deutsch\n";
        TestWorkbench bench(options);
        MacroTextEdit* box = shownSourceText(bench);
        QTest::keyClicks(box, QStringLiteral("scrp 2 5 3 1"), {}, 5);
        if (box->completer()->popupVisible())
            QTest::keyClick(box->completer()->completer()->popup(), Qt::Key_Escape);
        SourcePage* page = pageOf(bench);
        QTRY_COMPARE(page->outline()->topLevelItemCount(), 1);
        QCOMPARE(page->outline()->topLevelItem(0)->text(0),
                 QStringLiteral("2 5 3 \u00b7  1 Aktivieren(1)"));
        QTRY_VERIFY(page->findingsList()->count() > 0);
        const QString german = page->findingsList()->item(0)->text();
        QVERIFY2(german.startsWith(QStringLiteral("Zeile 1, Spalte ")), qPrintable(german));
        QVERIFY2(german.contains(QStringLiteral(": Fehler: ")), qPrintable(german));
        saveScreenshot(bench.windows().objectCompiler, QStringLiteral("source-outline-deutsch"));
        bench.windows().main->SpeedButton12Click();
        QCOMPARE(page->outline()->topLevelItem(0)->text(0),
                 QStringLiteral("2 5 3 \u00b7  1 Activate(1)"));
        QVERIFY(
            page->findingsList()->item(0)->text().startsWith(QStringLiteral("Line 1, column ")));
    }
};

VEK_UI_TEST_MAIN(FindAndHistoryTest)
#include "find_and_history_test.moc"
