#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>

#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "gamelink/ui/command_interface_window.h"
#include "language/ui/findings_list.h"
#include "language/ui/macro_completer.h"
#include "language/ui/macro_editors.h"
#include "language/ui/source_model_link.h"
#include "objects/object_check.h"
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

// Whether a character of a line (columns from 1) is drawn with a wavy underline.
bool underlined(QPlainTextEdit* box, int line, int column) {
    const QTextBlock block = box->document()->findBlockByNumber(line - 1);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (column - 1 >= range.start && column - 1 < range.start + range.length &&
            range.format.underlineStyle() == QTextCharFormat::WaveUnderline)
            return true;
    }
    return false;
}

QStringList rows(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

QStringList offered(const MacroCompleter* completer) {
    QStringList names;
    const QAbstractItemModel* model = completer->completer()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data(Qt::UserRole + 1).toString();
    return names;
}

std::vector<std::string> linesOf(const QPlainTextEdit* box) {
    std::vector<std::string> lines;
    for (const QString& line : box->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(toStdString(line));
    return lines;
}

std::vector<std::pair<int, int>> places(std::span<const Finding> findings) {
    std::vector<std::pair<int, int>> all;
    for (const Finding& finding : findings)
        all.emplace_back(finding.position.line, finding.position.column);
    return all;
}

// Types lines as a user does, with Return between them.
void typeLines(QWidget* box, const QStringList& lines) {
    for (qsizetype line = 0; line < lines.size(); ++line) {
        if (line > 0) QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, lines[line]);
    }
}

// The window with its completion popup drawn in, as a person sees it.
void saveWithPopup(QWidget* window, QWidget* popup, const QString& name) {
    const QString folder = screenshotFolder();
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    QPixmap picture = window->grab();
    if (popup->isVisible()) {
        QPainter painter(&picture);
        painter.drawPixmap(popup->mapToGlobal(QPoint()) - window->mapToGlobal(QPoint()),
                           popup->grab());
    }
    picture.save(folder + QStringLiteral("/") + name + QStringLiteral(".png"));
}

bool askedAbout(const ScriptedDialogs& dialogs, const QString& start) {
    for (const auto& asked : dialogs.messages())
        if (asked.text.startsWith(start)) return true;
    return false;
}

}  // namespace

class MacroEditingTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // A misspelt command is underlined, named in its tooltip and listed; mended, all of it goes.
    void aMisspeltCommandIsUnderlinedAndListed() {
        TestWorkbench bench;
        SourcePage* page = sourcePage(bench);
        MacroTextEdit* box = page->macroText();
        box->setFocus();
        // Enter indents the new line inside the script: "frob" starts at column 2.
        typeLines(box, {"scrp 2 5 3 9", "frob 3", "endm"});
        QVERIFY(underlined(box, 2, 3));
        QVERIFY(!underlined(box, 2, 1) && !underlined(box, 1, 1) && !underlined(box, 3, 1));
        const Finding* finding = box->sourceModel()->model().findingAt(2, 4);
        QVERIFY(finding && finding->isError());
        QCOMPARE(rows(page->findingsList()),
                 QStringList{findingRow(*finding, Msg::FindingLinePlace, kLanguageEnglish)});
        QVERIFY(rows(page->findingsList()).front().startsWith("Line 2, column 2: error: "));
        // The document got every key: the undo stack and the compiler see the same text.
        QCOMPARE(toQString(bench.objectDocument().sourceText()).count(QStringLiteral("frob")), 1);

        QTextCursor cursor(box->document()->findBlockByNumber(1));
        cursor.setPosition(cursor.position() + 1);
        cursor.setPosition(cursor.position() + 4, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        QTest::keyClicks(box, QStringLiteral("wait"));
        QVERIFY(!underlined(box, 2, 3));
        QCOMPARE(page->findingsList()->count(), 0);
    }

    void aClickOnAFindingMovesTheCaretThere() {
        TestWorkbench bench;
        bench.windows().objectCompiler->show();
        SourcePage* page = sourcePage(bench);
        MacroTextEdit* box = page->macroText();
        box->setPlainText(
            QStringLiteral("* two errors\nscrp 2 5 3 9\n\twait 1\n\tfrob\n\tdoif 1 eq\nendm"));
        QListWidget* list = page->findingsList();
        QVERIFY(list->count() >= 2);
        for (int row = list->count(); row-- > 0;) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
            const QTextCursor caret = box->textCursor();
            const Finding& finding = box->findings()[static_cast<std::size_t>(row)];
            QCOMPARE(caret.blockNumber() + 1, finding.position.line);
            QCOMPARE(caret.positionInBlock() + 1, finding.position.column);
        }
    }

    // However the text is edited, the findings are those of a check of the whole text.
    void editsKeepTheFindingsOfAWholeCheck() {
        TestWorkbench bench;
        MacroTextEdit* box = sourcePage(bench)->macroText();
        // A new check in place of the page's: the old highlighter leaves without hearing more.
        box->setChecking(sourceLineReading, std::make_unique<SourceCheck>());
        box->setPlainText(
            QStringLiteral("name Test\nscrp 2 5 3 9\n  reps 3\n    wait 1\n  repe\nendm\n* "
                           "end\ninst\nsetv obv0 1\nendm"));
        const struct {
            const char* edit;
            std::function<void(QTextCursor&)> apply;
        } edits[] = {
            {"line joined",
             [](QTextCursor& c) {
                 c.setPosition(45);
                 c.deleteChar();
             }},
            {"repe removed",
             [](QTextCursor& c) {
                 c.movePosition(QTextCursor::Start);
                 c.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 4);
                 c.select(QTextCursor::BlockUnderCursor);
                 c.removeSelectedText();
             }},
            {"endm removed",
             [](QTextCursor& c) {
                 c.movePosition(QTextCursor::Start);
                 c.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 4);
                 c.select(QTextCursor::LineUnderCursor);
                 c.removeSelectedText();
             }},
            {"lines pasted",
             [](QTextCursor& c) {
                 c.movePosition(QTextCursor::Start);
                 c.insertText(QStringLiteral("scrp 2 5 3 400\nenum 2 0 0\nkill targ\n"));
             }},
            {"section closed",
             [](QTextCursor& c) {
                 c.movePosition(QTextCursor::Start);
                 c.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 3);
                 c.insertText(QStringLiteral("next\nendm\n"));
             }},
            {"all replaced",
             [](QTextCursor& c) {
                 c.select(QTextCursor::Document);
                 c.insertText(QStringLiteral("inst\nnew: simp bell 1 0 1000 0\nendm"));
             }},
        };
        for (const auto& edit : edits) {
            QTextCursor cursor(box->document());
            edit.apply(cursor);
            QCOMPARE(places(box->findings()), places(checkSourceLines(linesOf(box))));
            box->undo();
            QCOMPARE(places(box->findings()), places(checkSourceLines(linesOf(box))));
            box->redo();
        }
    }

    void completionOffersTheTwoPartCommandsAfterTheirFirstPart() {
        TestWorkbench bench;
        bench.windows().objectCompiler->show();
        MacroTextEdit* box = sourcePage(bench)->macroText();
        box->setFocus();
        typeLines(box, {"inst", "new:"});
        MacroCompleter* completer = box->completer();
        QVERIFY(completer->popupVisible());
        QVERIFY(offered(completer).contains(QStringLiteral("new: simp")));
        for (const QString& name : offered(completer)) QVERIFY(name.startsWith("new: "));
        // The popup shows each word with its arguments, and Enter puts the chosen one in.
        const int simp = static_cast<int>(offered(completer).indexOf(QStringLiteral("new: simp")));
        const QModelIndex row = completer->completer()->model()->index(simp, 0);
        const Word* simpWord = Dictionary::builtIn().command("new: simp");
        QCOMPARE(row.data().toString(), toQString(signatureOf(*simpWord, kLanguageEnglish)));
        QCOMPARE(row.data().toString().count(QLatin1Char(' ')), 1 + 5);  // five arguments
        completer->completer()->popup()->setCurrentIndex(row);
        QTest::keyClick(completer->completer()->popup(), Qt::Key_Return);
        QCOMPARE(box->toPlainText(), QStringLiteral("inst\n\tnew: simp "));

        // The hint beside the caret names the arguments, the one being typed in bold, and
        // follows the caret from argument to argument; Escape puts it away.
        const auto hintAt = [&](int index) {
            QStringList parts{QStringLiteral("new: simp")};
            for (std::size_t k = 0; k < simpWord->arguments.size(); ++k) {
                const auto name =
                    toQString(argumentKindName(simpWord->arguments[k], kLanguageEnglish));
                parts << (static_cast<int>(k) == index ? "<b>" + name + "</b>" : name);
            }
            return parts.join(' ');
        };
        QVERIFY(completer->argumentHint()->isVisible());
        QCOMPARE(completer->argumentHint()->text(), hintAt(0));
        QTest::keyClicks(box, QStringLiteral("ball 1"));
        QCOMPARE(completer->argumentHint()->text(), hintAt(1));
        saveWithPopup(bench.windows().objectCompiler, completer->argumentHint(), "argument_hint");
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!completer->argumentHint()->isVisible());
        QTest::keyClicks(box, QStringLiteral(" 0 1 0 "));
        QVERIFY(!completer->argumentHint()->isVisible());  // every argument given

        // Three letters offer nothing until asked with Ctrl+Space.
        typeLines(box, {"", "mvt"});
        QVERIFY(!completer->popupVisible());
        QTest::keyClick(box, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(completer->popupVisible());
        QVERIFY(offered(completer).contains(QStringLiteral("mvto")));
        QTest::keyClick(completer->completer()->popup(), Qt::Key_Escape);
        QVERIFY(!completer->popupVisible());
        QCOMPARE(box->textCursor().block().text(), QStringLiteral("\tmvt"));

        // F1 tells what the word at the caret does, in the interface language.
        QTest::keyClicks(box, QStringLiteral("o 1 2"));
        QTextCursor caret = box->textCursor();
        caret.movePosition(QTextCursor::StartOfBlock);
        caret.movePosition(QTextCursor::Right);  // past the tab that Enter put in
        box->setTextCursor(caret);
        const Word* mvto = Dictionary::builtIn().command("mvto");
        QVERIFY(completer->descriptionAtCaret().endsWith(toQString(mvto->description.english)));
        bench.context().look.setLanguage(kLanguageGerman);
        QVERIFY(completer->descriptionAtCaret().endsWith(toQString(mvto->description.german)));
    }

    // The findings list follows the interface language; the screenshots show the page with
    // colours, an underlined error, the list and the completion popup in both languages.
    void theFindingsFollowTheLanguage() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        window->resize(760, 520);
        window->show();
        MacroTextEdit* box = sourcePage(bench)->macroText();
        const QString source = QStringLiteral(
            "* A ball that bounces\nname Ball\nquantity 1\n\ninst\nnew: simp vbal 1 0 1000 0\n"
            "setv clas 33882880\nbhvr 0 1\nendm\n\nscrp 2 5 3 1\n\tsnde drip\n\tanim "
            "[0123R]\n\tdoif posl lt 100\n\t\tmvby 10 0\n\tendi\n\tfrob 3\nendm\n");
        box->setPlainText(source);
        QCOMPARE(sourcePage(bench)->findingsList()->count(), 1);
        for (const char* language : {"english", "deutsch"}) {
            const bool german = std::string_view(language) == kLanguageGerman;
            if (german) bench.windows().main->SpeedButton13Click();
            const QString row = sourcePage(bench)->findingsList()->item(0)->text();
            QVERIFY2(row.startsWith(german ? "Zeile 17, Spalte 2: Fehler: "
                                           : "Line 17, column 2: error: "),
                     qPrintable(row));
            QTextCursor end(box->document()->findBlockByNumber(16));
            end.movePosition(QTextCursor::EndOfBlock);
            box->setTextCursor(end);
            box->setFocus();
            typeLines(box, {"", "\tnew:"});
            QVERIFY(box->completer()->popupVisible());
            saveWithPopup(window, box->completer()->completer()->popup(),
                          QStringLiteral("source_page_checking_%1").arg(language));
            QTest::keyClick(box->completer()->completer()->popup(), Qt::Key_Escape);
            box->setPlainText(source);
        }
    }

    // Inject with an error in the object asks first; No sends nothing. Turned off in the COB
    // menu, checking asks no more, and VEK.INI keeps the choice.
    void injectWithAnErrorAsksFirst() {
        TestWorkbench bench;
        ObjectCompilerWindow* window = bench.windows().objectCompiler;
        QVERIFY(window->compileNewObject({"name Broken", "scrp 2 5 3 9", "frob 3", "endm"}));
        const auto before = bench.dialogs().asked.size();
        bench.dialogs().messageAnswers = {Answer::No};
        window->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
        QCOMPARE(bench.dialogs().asked.size(), before + 1);
        const auto question = bench.dialogs().messages().back();
        QCOMPARE(question.buttons, Buttons::YesNoDefaultNo);
        QVERIFY(question.text.startsWith(
            QStringLiteral("The game may crash on these errors in the object:\nLine 3, column ")));
        QVERIFY(question.text.endsWith(QStringLiteral("Inject anyway?")));
        QVERIFY(window->windowTitle() == QStringLiteral("COB-Compiler"));

        QAction* checking = window->findChild<QAction*>(QStringLiteral("CheckMacros1"));
        QVERIFY(checking->isChecked());
        checking->trigger();
        QVERIFY(bench.vekIniText().find("CheckMacros=0") != std::string::npos);
        const auto questions = bench.dialogs().messages().size();
        bench.dialogs().messageAnswers = {Answer::Cancel, Answer::Cancel};
        window->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
        const auto messages = bench.dialogs().messages();
        for (auto asked = messages.begin() + static_cast<std::ptrdiff_t>(questions);
             asked != messages.end(); ++asked)
            QVERIFY(!asked->text.contains(QStringLiteral("crash")));
    }

    // The command interface's line: checked as it is typed, and Send with an error asks in the
    // interface language; No keeps the text and sends nothing.
    void theCommandLineIsCheckedBeforeItIsSent() {
        TestWorkbench bench;
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->show();
        QLineEdit* line = window->edit1();
        line->setFocus();
        QTest::keyClicks(line, QStringLiteral("setv obv0 1,frob"));
        QCOMPARE(places(window->macroLine()->findings()),
                 (std::vector<std::pair<int, int>>{{1, 13}}));
        QVERIFY(window->macroLine()->findingsText().contains(QStringLiteral("\"frob\"")));
        saveScreenshot(window, QStringLiteral("command_interface_checking_english"));
        bench.windows().main->SpeedButton13Click();
        saveScreenshot(window, QStringLiteral("command_interface_checking_deutsch"));
        bench.dialogs().messageAnswers = {Answer::No};
        window->memo1()->setPlainText(QStringLiteral("unchanged"));
        window->Button1Click();
        QVERIFY(askedAbout(
            bench.dialogs(),
            QStringLiteral(
                "Das Spiel kann bei diesen Fehlern abstürzen:\nZeile 1, Spalte 13: Fehler: ")));
        QCOMPARE(window->memo1()->toPlainText(), QStringLiteral("unchanged"));
        QCOMPARE(line->text(), QStringLiteral("setv obv0 1,frob"));

        // Clean text is not asked about; completion works in the line as in the source.
        line->clear();
        const auto asked = bench.dialogs().asked.size();
        QTest::keyClicks(line, QStringLiteral("new:"));
        QVERIFY(window->macroLine()->completer()->popupVisible());
        QVERIFY(offered(window->macroLine()->completer()).contains(QStringLiteral("new: simp")));
        QTest::keyClick(window->macroLine()->completer()->completer()->popup(), Qt::Key_Escape);
        line->setText(QStringLiteral("setv obv0 1"));
        QVERIFY(window->macroLine()->findings().empty());
        QCOMPARE(bench.dialogs().asked.size(), asked);
    }
};

VEK_UI_TEST_MAIN(MacroEditingTest)
#include "app/text_names.h"
#include "macro_editing_test.moc"
