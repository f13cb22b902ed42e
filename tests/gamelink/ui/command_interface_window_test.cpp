#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>
#include <fstream>

#include "app/file_io.h"
#include "app/text_table.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "gamelink/sim_harness.h"
#include "gamelink/ui/command_interface_window.h"
#include "language/ui/macro_completer.h"
#include "language/ui/macro_editors.h"
#include "support/temp_dir.h"
#include "support/ui/workbench_fixture.h"

using namespace vek::ui;
using namespace vek::ui::testing;
namespace fs = std::filesystem;

namespace {

// A stand-in game in a folder of its own that logs the macros it is sent.
struct LoggingGame {
    static fs::path emptyFile(const fs::path& file) {
        std::ofstream{file};
        return file;
    }
    std::vector<std::string> sent() const { return vek::readFileLines(dir / "log.txt"); }
    fs::path place() const { return dir / "game"; }

    vek::testing::TempDir dir;
    vek::testing::SimProcess sim{dir / "game", {"--log", emptyFile(dir / "log.txt").string()}};
};

QMenu* macFiles(const CommandInterfaceWindow& window) {
    return window.menuBar()->findChild<QMenu*>(QStringLiteral("MACfiles1"));
}

QAction* extractItem(const CommandInterfaceWindow& window) {
    return window.findChild<QAction*>(QStringLiteral("Extractallmakrosandsaveasmakfiles1"));
}

// Label2, Button1, Label3, the menu and its item.
QStringList captionsOf(const CommandInterfaceWindow& window) {
    return {window.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
            window.findChild<QPushButton*>(QStringLiteral("Button1"))->text(),
            window.findChild<QLabel*>(QStringLiteral("Label3"))->text(), macFiles(window)->title(),
            extractItem(window)->text()};
}

QList<int> tagsOf(const CommandInterfaceWindow& window) {
    return {tagOf(window.findChild<QLabel*>(QStringLiteral("Label2"))),
            tagOf(window.findChild<QPushButton*>(QStringLiteral("Button1"))),
            tagOf(window.findChild<QLabel*>(QStringLiteral("Label3"))),
            tagOf(macFiles(window)->menuAction()), tagOf(extractItem(window))};
}

QStringList memoLines(CommandInterfaceWindow* window) {
    return window->memo1()->toPlainText().split(QLatin1Char('\n'));
}

}  // namespace

class CommandInterfaceWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void isBuiltAsDesigned() {
        TestWorkbench bench;
        // As designed, before any language is applied.
        CommandInterfaceWindow designed(bench.context(), bench.workbench().creatures());
        QCOMPARE(designed.objectName(), QStringLiteral("TForm10"));
        QCOMPARE(designed.windowTitle(), QStringLiteral("Creatures Online Command Interface"));
        QCOMPARE(designed.size(), QSize(600, 241));
        QVERIFY(designed.edit1()->width() >= 589);
        QVERIFY(designed.memo1()->width() >= 589 && designed.memo1()->height() >= 133);
        QVERIFY(!(designed.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(designed.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(captionsOf(designed), (QStringList{"Send to Creatures:", "Send it",
                                                    "Answer from Creatures:", "MAC files",
                                                    "Extract all makros and save as .mak files"}));
        QCOMPARE(tagsOf(designed), (QList<int>{134, 136, 135, 137, 138}));

        // In the program, the interface language's texts.
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        QCOMPARE(captionsOf(*window),
                 (QStringList{"Send to Creatures :", "Send now :", "Answer from Creatures :",
                              ".MAC &files", "&Extract all makros and save as .mac files"}));
        window->show();
        saveScreenshot(window, QStringLiteral("command_interface"));
    }

    // The line completes as the source does (Enter takes the chosen word and sends nothing),
    // shows the whole entry of the word under the mouse and with F1, and offers fixes with
    // Ctrl+., in both languages.
    void theLineCompletesDescribesAndFixesAsTheSourceDoes() {
        const LoggingGame game;
        TestWorkbench bench;
        bench.linkTo(game.place());
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        MacroLineEdit* line = window->macroLine();
        line->setFocus();
        QTest::keyClicks(line, QStringLiteral("setv obv0 1,new:"));
        QVERIFY(line->completer()->popupVisible());
        QAbstractItemView* popup = line->completer()->completer()->popup();
        const QAbstractItemModel* offers = popup->model();
        for (int row = 0; row < offers->rowCount(); ++row) {
            if (offers->index(row, 0).data(Qt::UserRole + 1).toString() ==
                QStringLiteral("new: simp"))
                popup->setCurrentIndex(offers->index(row, 0));
        }
        QTest::keyClick(popup, Qt::Key_Return);
        QVERIFY(!line->completer()->popupVisible());
        QVERIFY2(line->text().startsWith(QStringLiteral("setv obv0 1,new: simp")),
                 qPrintable(line->text()));
        QVERIFY(game.sent().empty());  // Enter chose; nothing went

        // The word under the mouse, as the tooltip shows it, and F1 at the caret.
        line->setText(QStringLiteral("setv obv0 1,wiat 5"));
        const QPoint onSetv(line->fontMetrics().horizontalAdvance(QStringLiteral("se")),
                            line->height() / 2);
        QHelpEvent help(QEvent::ToolTip, onSetv, line->mapToGlobal(onSetv));
        QApplication::sendEvent(line, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), line->hoverTextAt(onSetv));
        QVERIFY2(QToolTip::text().contains(QStringLiteral("\"wiat\"")),
                 qPrintable(QToolTip::text()));
        QVERIFY(QToolTip::text().contains(QStringLiteral("setv ")));
        QToolTip::hideText();
        line->setCursorPosition(2);
        QTest::keyClick(line, Qt::Key_F1);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().startsWith(QStringLiteral("setv")), qPrintable(QToolTip::text()));
        QToolTip::hideText();

        // Ctrl+. on the misspelt word, in English, then in German.
        const struct {
            void (MainWindow::*language)();
            const char* offer;
        } languages[] = {{&MainWindow::SpeedButton12Click, "Did you mean \"wait\"?"},
                         {&MainWindow::SpeedButton13Click, "Meinten Sie \"wait\"?"}};
        for (const auto& language : languages) {
            (bench.windows().main->*language.language)();
            line->setText(QStringLiteral("setv obv0 1,wiat 5"));
            line->setCursorPosition(14);
            QTest::keyClick(line, Qt::Key_Period, Qt::ControlModifier);
            auto* fixes = line->findChild<QMenu*>(QStringLiteral("QuickFixes"));
            QVERIFY(fixes);
            QCOMPARE(fixes->actions().front()->text(), QString::fromUtf8(language.offer));
            fixes->actions().front()->trigger();
            fixes->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(line->text(), QStringLiteral("setv obv0 1,wait 5"));
            QVERIFY(line->findings().empty());
        }
        bench.windows().main->SpeedButton12Click();
        QVERIFY(game.sent().empty());
    }

    void sendsTheTypedCommandsAndShowsTheAnswerAndItsLength() {
        const LoggingGame game;
        TestWorkbench bench;
        bench.linkTo(game.place());
        CommandInterfaceWindow* window = bench.windows().commandInterface;

        window->edit1()->setText(QStringLiteral("dde: putv 1234,dde: putv 56789"));
        window->Button1Click();
        QCOMPARE(window->memo1()->toPlainText(), QStringLiteral("1234|56789|"));
        QCOMPARE(window->label3()->text(),
                 QStringLiteral("Answer from Creatures (11 Characters):"));

        const auto log = game.sent();
        QCOMPARE(log.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(log[0]),
                 QStringLiteral("inst,dde: putv 1234,dde: putv 56789,endm"));
        QVERIFY(bench.dialogs().asked.empty());
    }

    // An empty line makes "inst,,endm", and the game crashes on two commas in a row: it is sent
    // as it stands only when the question is answered Yes, also from a window's first line.
    void anEmptyLineIsSentOnlyAfterTheQuestion() {
        const LoggingGame game;
        for (const bool cleared : {true, false}) {
            TestWorkbench bench;
            bench.linkTo(game.place());
            // The window's first line in German, a cleared one in English.
            const char* language = cleared ? "english" : "deutsch";
            bench.context().look.setLanguage(language);
            CommandInterfaceWindow* window = bench.windows().commandInterface;
            if (cleared) {
                window->edit1()->setText(QStringLiteral("dde: putv 5"));
                window->edit1()->clear();
            }
            QTest::keyClick(window->edit1(), Qt::Key_Return);
            bench.dialogs().messageAnswers = {Answer::Yes};
            QTest::keyClick(window->edit1(), Qt::Key_Return);
            // Return answered No first; the stand-in refuses what the game would crash on.
            const auto messages = bench.dialogs().messages();
            QCOMPARE(messages.size(), std::size_t{3});
            QCOMPARE(messages[0].buttons, Buttons::YesNoDefaultNo);
            QVERIFY(messages[1].text.contains(
                cleared ? QStringLiteral("The game crashes on two commas in a row")
                        : QStringLiteral("Das Spiel stürzt bei zwei Kommas hintereinander ab")));
            QVERIFY(window->memo1()->toPlainText().contains(
                QStringLiteral("The game crashes on two commas in a row")));
            QMessageBox box(QMessageBox::NoIcon, messages[0].caption, messages[0].text,
                            QMessageBox::Yes | QMessageBox::No);
            box.show();
            saveScreenshot(&box, QStringLiteral("empty_line_question_%1").arg(language));
        }
        const auto log = game.sent();
        QCOMPARE(log, (std::vector<std::string>{"inst,,endm", "inst,,endm"}));
    }

    // A clean answer is told in the status line; an error answer in a box that names the
    // macro. Typed errors are asked about first, and Return answers No.
    void theOutcomeOfEverySendIsShown() {
        const LoggingGame game;
        TestWorkbench bench;
        bench.linkTo(game.place());
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        QStatusBar* status = bench.windows().main->statusBar1();
        window->edit1()->setText(QStringLiteral("dde: putv 5"));
        window->Button1Click();
        QVERIFY(bench.dialogs().asked.empty());
        QCOMPARE(status->currentMessage(), QStringLiteral("Sent inst,dde: putv 5,endm"));

        window->edit1()->setText(QStringLiteral("frob 3"));
        window->Button1Click();
        QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
        QCOMPARE(bench.dialogs().messages()[0].buttons, Buttons::YesNoDefaultNo);
        QCOMPARE(game.sent().size(), std::size_t{1});

        for (const char* language : {"english", "deutsch"}) {
            bench.context().look.setLanguage(language);
            bench.dialogs().asked.clear();
            bench.dialogs().messageAnswers = {Answer::Yes};
            window->Button1Click();
            const auto messages = bench.dialogs().messages();
            QCOMPARE(messages.size(), std::size_t{2});
            const bool german = std::string_view(language) == "deutsch";
            QCOMPARE(messages[1].caption, german ? QStringLiteral("Creatures meldet ein Problem")
                                                 : QStringLiteral("Creatures reported a problem"));
            QCOMPARE(messages[1].text,
                     (german ? QStringLiteral("Makro") : QStringLiteral("Macro")) +
                         QStringLiteral(" inst,frob 3,endm:\nError: unknown command 'frob 3'"));
            QCOMPARE(messages[1].buttons, Buttons::Ok);
            QCOMPARE(window->memo1()->toPlainText(),
                     QStringLiteral("Error: unknown command 'frob 3'"));
            QMessageBox box(QMessageBox::NoIcon, messages[1].caption, messages[1].text,
                            QMessageBox::Ok);
            box.show();
            saveScreenshot(&box, QStringLiteral("macro_problem_box_%1").arg(language));
        }
        QCOMPARE(game.sent().size(), std::size_t{3});
    }

    // The busy pointer shows while a macro is under way and is gone after.
    void theBusyPointerShowsWhileTheGameIsAsked() {
        vek::testing::TempDir dir;
        TestWorkbench bench;
        bench.linkTo(dir / "nobody");
        std::vector<Qt::CursorShape> during;
        bench.workbench().creatures().setNoticeSink([&during](const vek::BilingualBox&) {
            const QCursor* cursor = QApplication::overrideCursor();
            during.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        });
        bench.windows().commandInterface->edit1()->setText(QStringLiteral("dde: putv 5"));
        bench.windows().commandInterface->Button1Click();
        QCOMPARE(during, std::vector<Qt::CursorShape>{Qt::WaitCursor});
        QVERIFY(!QApplication::overrideCursor());
    }

    void theAnswersLineBreaksAreLineBreaks() {
        vek::testing::TempDir dir;
        vek::testing::ScriptedServer game(dir / "game", [](int fd) {
            vek::FrameReader reader(1 << 20);
            while (auto frame = vek::testing::readFrame(fd, reader)) {
                const bool request = frame->kind == vek::FrameKind::Request;
                vek::testing::writeFrame(
                    fd, {request ? vek::FrameKind::Data : vek::FrameKind::Ack, frame->topic,
                         frame->item, request ? std::string("one\r\ntwo\nthree", 15) + '\0' : ""});
            }
        });
        TestWorkbench bench;
        bench.linkTo(dir / "game");
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->edit1()->setText(QStringLiteral("dde: putv 5"));
        window->Button1Click();
        QCOMPARE(memoLines(window), (QStringList{"one", "two", "three"}));
        QCOMPARE(window->label3()->text(),
                 QStringLiteral("Answer from Creatures (14 Characters):"));
    }

    void aMissingGameIsReportedAndEmptiesTheAnswer() {
        vek::testing::TempDir dir;
        TestWorkbench bench;
        bench.linkTo(dir / "nobody");
        bench.context().look.setLanguage("deutsch");
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->memo1()->setPlainText(QStringLiteral("an old answer"));
        window->edit1()->setText(QStringLiteral("dde: putv 5"));
        window->Button1Click();
        const auto messages = bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QCOMPARE(messages[0].text, QStringLiteral("Creatures not found! Run Creatures! "));
        QCOMPARE(messages[0].caption, QStringLiteral("Error! No link possible!"));
        QCOMPARE(window->memo1()->toPlainText(), QString());
        QCOMPARE(window->label3()->text(), QStringLiteral("Answer from Creatures (0 Characters):"));
    }

    void theNextLanguageSwitchReplacesTheCountedCaption() {
        vek::testing::TempDir dir;
        TestWorkbench bench;
        bench.linkTo(dir / "nobody");
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->edit1()->setText(QStringLiteral("dde: putv 5"));
        window->Button1Click();
        bench.workbench().changeLanguage(vek::TextTable::kGermanOffset);
        QCOMPARE(window->label3()->text(), QStringLiteral("Antwort von Creatures :"));
    }

    void extractsEveryScriptIntoTheMacFolderWithProgressLines() {
        vek::testing::TempDir dir;
        std::ofstream(dir / "world.txt") << "inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n"
                                            "inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n"
                                            "inst,new: simp carr 1 0 10 0,setv clas 34406656,endm\n"
                                            "scrp 2 5 3 1,inst,snde honk,endm\n"
                                            "scrp 2 13 1 12,kill ownr,endm\n";
        vek::testing::SimProcess sim(dir / "game", {"--seed", (dir / "world.txt").string()});
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        bench.linkTo(dir / "game");
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->memo1()->setPlainText(QStringLiteral("something from before"));
        const fs::path mac = bench.context().files.file("mac");

        // The busy pointer shows while the run goes on.
        int busyLines = 0;
        connect(window->memo1(), &QPlainTextEdit::textChanged, window, [&busyLines] {
            if (QApplication::overrideCursor() &&
                QApplication::overrideCursor()->shape() == Qt::WaitCursor)
                ++busyLines;
        });
        extractItem(*window)->trigger();

        const QStringList expected = {
            QStringLiteral("Be patient, this may take a while..."),
            QStringLiteral("Scanning Object 1 of 2 (2 5 3 )"),
            QStringLiteral("Writing file ") + fromPath(mac / "02050301.MAC"),
            QStringLiteral("Scanning Object 2 of 2 (2 13 1 )"),
            QStringLiteral("Writing file ") + fromPath(mac / "02130112.MAC"),
        };
        QCOMPARE(memoLines(window), expected);
        window->show();
        saveScreenshot(window, QStringLiteral("command_interface_extraction"));
        QVERIFY(busyLines >= 5);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(QString::fromStdString(vek::readFileText(mac / "02050301.MAC")),
                 QStringLiteral("\"inst\r\nsnde honk\r\nendm\"\r\n"));
        QCOMPARE(QString::fromStdString(vek::readFileText(mac / "02130112.MAC")),
                 QStringLiteral("\"kill ownr\r\nendm\"\r\n"));
        QVERIFY(bench.dialogs().asked.empty());

        bench.context().look.setLanguage("deutsch");
        window->Extractallmakrosandsaveasmakfiles1Click();
        QCOMPARE(memoLines(window).first(),
                 QStringLiteral("Bitte haben Sie etwas geduld, dies kann einige Zeit dauern..."));
        QCOMPARE(memoLines(window).at(1), QStringLiteral("Untersuche Objekt 1 of 2 (2 5 3 )"));
        QCOMPARE(memoLines(window).at(2),
                 QStringLiteral("schreibe Datei ") + fromPath(mac / "02050301.MAC"));
    }

    void aFailedExtractionIsReportedAndKeepsWhatWasWritten() {
        vek::testing::TempDir dir;
        std::ofstream(dir / "world.txt") << "inst,new: simp ball 1 0 10 0,setv clas 33882880,endm\n"
                                            "scrp 2 5 3 1,inst,snde honk,endm\n"
                                            "scrp 2 5 3 2,inst,snde honk,endm\n";
        vek::testing::SimProcess sim(dir / "game", {"--seed", (dir / "world.txt").string()});
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        bench.linkTo(dir / "game");
        const fs::path mac = bench.context().files.file("mac");
        fs::create_directories(mac / "02050302.MAC");
        bench.windows().commandInterface->Extractallmakrosandsaveasmakfiles1Click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(bench.dialogs().errors()[0].text.contains(QStringLiteral("02050302.MAC")));
        QCOMPARE(QString::fromStdString(vek::readFileText(mac / "02050301.MAC")),
                 QStringLiteral("\"inst\r\nsnde honk\r\nendm\"\r\n"));
        QVERIFY(!QApplication::overrideCursor());
    }

    void withoutTheGameTheRunEndsAfterItsFirstLine() {
        vek::testing::TempDir dir;
        TestWorkbench bench;
        bench.linkTo(dir / "nobody");
        CommandInterfaceWindow* window = bench.windows().commandInterface;
        window->Extractallmakrosandsaveasmakfiles1Click();
        QCOMPARE(memoLines(window),
                 QStringList{QStringLiteral("Be patient, this may take a while...")});
        QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
    }
};

VEK_UI_TEST_MAIN(CommandInterfaceWindowTest)
#include "command_interface_window_test.moc"
