#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <fstream>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "gamelink/app_exec.h"
#include "gamelink/launcher_object.h"
#include "gamelink/sim_harness.h"
#include "objects/cob_data.h"
#include "objects/injection.h"
#include "objects/ui/cob_injector_page.h"
#include "objects/ui/object_compiler_window.h"
#include "support/temp_dir.h"
#include "support/ui/workbench_fixture.h"

using namespace vek::ui;
using namespace vek::ui::testing;
namespace fs = std::filesystem;

namespace {

// A private demo with a stand-in game beside it that logs what it receives.
struct GameBench {
    vek::testing::TempDir dir;
    vek::testing::SimProcess sim;
    TestWorkbench bench;

    GameBench() : sim(startSim(dir)), bench(privateDemo()) { bench.linkTo(dir / "game"); }

    static vek::testing::SimProcess startSim(const vek::testing::TempDir& dir) {
        std::ofstream(dir / "log.txt");
        return vek::testing::SimProcess(dir / "game", {"--log", (dir / "log.txt").string()});
    }
    static TestWorkbench::Options privateDemo() {
        TestWorkbench::Options options;
        options.privateDemo = true;
        return options;
    }
    QStringList log() const {
        QStringList lines;
        for (const std::string& line : vek::readFileLines(dir / "log.txt"))
            lines << QString::fromStdString(line);
        return lines;
    }
    QString ask(const std::string& macro) {
        return toQString(bench.workbench().creatures().SendMacro(macro).answer);
    }
    fs::path mainDirectory() { return vek::pathFromUtf8(bench.context().game.paths().CMainPath); }
};

vek::CobData ball() {
    vek::CobData cob;
    cob.scripts = {"scrp 2 5 3 1,inst,snde honk,endm", "scrp 2 5 3 9,tick 0,endm"};
    cob.imports = {"inst,new: simp vbal 2 0 3000 0,setv clas 33882880,setv attr 5,edit,endm",
                   "inst,second,endm"};
    cob.name = "Ball";
    return cob;
}

// Records what a label showed each time it was painted, with the pointer over the program.
struct Paints : QObject {
    QStringList seen;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QCursor* cursor = QApplication::overrideCursor();
            const bool busy = cursor && cursor->shape() == Qt::WaitCursor;
            seen << static_cast<QLabel*>(watched)->text() +
                        (busy ? QStringLiteral(" (busy)") : QString());
        }
        return false;
    }
};

// Records the titles a window shows.
struct Titles : QObject {
    QStringList seen;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange)
            seen << static_cast<QWidget*>(watched)->windowTitle();
        return false;
    }
};

}  // namespace

class GameLinkUiTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void theLauncherButtonLeavesOneObjectWithItsPicture() {
        GameBench game;
        AppContext& context = game.bench.context();
        QVERIFY(fs::exists(context.files.file("rpsw.kev")));
        context.commands.putLauncherObject();
        context.commands.putLauncherObject();
        const fs::path installed = vek::pathFromUtf8(context.game.paths().CImagePath + "vekw.spr");
        QCOMPARE(vek::readFileBytes(installed), vek::readFileBytes(context.files.file("rpsw.kev")));
        QCOMPARE(game.ask("inst,enum 2 3 255,dde: putv posx,dde: putv posy,next,endm"),
                 QStringLiteral("4597|440|"));
        QCOMPARE(game.log(),
                 (QStringList{
                     QString::fromUtf8(vek::kLauncherMacro), QString::fromUtf8(vek::kLauncherMacro),
                     QStringLiteral("inst,enum 2 3 255,dde: putv posx,dde: putv posy,next,endm")}));
        QVERIFY(game.bench.dialogs().asked.empty());
        QCOMPARE(game.bench.windows().main->statusBar1()->currentMessage(),
                 QStringLiteral("Sent ") +
                     QString::fromUtf8(vek::kLauncherMacro.substr(0, vek::kMacroShownLength)) +
                     QStringLiteral("..."));
    }

    void theLauncherButtonWithoutTheGameSaysSoAndStillInstallsThePicture() {
        vek::testing::TempDir dir;
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        bench.linkTo(dir / "nobody");
        bench.context().commands.putLauncherObject();
        QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
        QCOMPARE(bench.dialogs().messages()[0].text,
                 QStringLiteral("Creatures not found! Run Creatures! "));
        QVERIFY(
            fs::exists(vek::pathFromUtf8(bench.context().game.paths().CImagePath + "vekw.spr")));
    }

    void theConnectionTestSaysNothingWhenTheGameAnswers() {
        GameBench game;
        game.bench.context().commands.testConnection();
        QVERIFY(game.bench.dialogs().asked.empty());
        // The test's conversation is closed again: the game serves the next one.
        QCOMPARE(game.ask("inst,dde: putv 1,endm"), QStringLiteral("1|"));
    }

    void theConnectionTestSaysSoInTheInterfaceLanguage() {
        vek::testing::TempDir dir;
        TestWorkbench bench;
        bench.linkTo(dir / "nobody");
        bench.context().commands.testConnection();
        bench.context().look.setLanguage("deutsch");
        bench.context().commands.testConnection();
        const auto messages = bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(
            messages[0].text,
            QStringLiteral("Creatures not found! Run Creatures or continue your work offline!"));
        QCOMPARE(messages[0].caption, QStringLiteral("Error! No link possible!"));
        QCOMPARE(
            messages[1].text,
            QStringLiteral("Creatures wurde nicht gefunden! Starten Sie Creatures oder arbeiten "
                           "Sie ohne Verbindung weiter!"));
        QCOMPARE(messages[1].caption, QStringLiteral("Fehler! Keine Verbindung möglich!"));
        QCOMPARE(messages[1].buttons, Buttons::Ok);
    }

    void launchShowsTheLaunchersErrorInAPlainBox() {
        TestWorkbench::Options options;
        options.privateDemo = true;
        TestWorkbench bench(options);
        // The demo's creatures.exe is a stand-in text file, not a program.
        bench.context().commands.launchCreatures();
        // Without a main directory the bare name is looked for and not found.
        bench.workbench().creatures().setPaths({});
        bench.context().commands.launchCreatures();
        const auto messages = bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(messages[0].text, QString::fromUtf8(vek::launcherErrorText(11)));
        QCOMPARE(messages[0].caption, QStringLiteral("Vekstudio"));
        QCOMPARE(messages[1].text,
                 QStringLiteral("Creatures not found! You must install Creatures to use VEK!"));
    }

    void theInjectorPageListsTheObjectFilesOfTheMainDirectory() {
        GameBench game;
        CobInjectorPage& page = *game.bench.windows().objectCompiler->injectorPage();
        QCOMPARE(page.fileListBox2()->objectName(), QStringLiteral("FileListBox2"));
        QCOMPARE(tagOf(page.fileListBox2()), 103);
        vek::writeCobFile(game.mainDirectory() / "zebra.cob", ball());
        std::ofstream(game.mainDirectory() / "notes.txt") << "not an object";
        page.refreshFileList();
        QStringList names;
        for (int i = 0; i < page.fileListBox2()->count(); ++i)
            names << page.fileListBox2()->item(i)->text();
        QVERIFY(names.contains(QStringLiteral("zebra.cob")));
        QVERIFY(names.contains(QStringLiteral("BALL.COB")));
        QVERIFY(!names.contains(QStringLiteral("notes.txt")));
        QVERIFY(!names.contains(QStringLiteral("BALL.COS")));

        ObjectCompilerWindow* compiler = game.bench.windows().objectCompiler;
        compiler->show();
        compiler->findChild<QTabWidget*>()->setCurrentWidget(
            compiler->injectorPage()->parentWidget());
        saveScreenshot(compiler, QStringLiteral("cob_injector_page"));
    }

    void injectSendsTheObjectInMemoryWithProgressInTheTitle() {
        GameBench game;
        ObjectCompilerWindow* compiler = game.bench.windows().objectCompiler;
        vek::writeCobFile(game.dir / "ball.cob", ball());
        compiler->loadCobFile(fromPath(game.dir / "ball.cob"));
        CobInjectorPage& page = *game.bench.windows().objectCompiler->injectorPage();
        std::vector<std::chrono::milliseconds> waits;
        page.setInjectionWait([&waits](std::chrono::milliseconds wait) { waits.push_back(wait); });
        const QString title = compiler->windowTitle();
        Titles titles;
        compiler->installEventFilter(&titles);

        page.injectCommand();

        QCOMPARE(titles.seen,
                 (QStringList{"Sending Script 1", "Sending Script 2", "Importing Object", title}));
        QCOMPARE(compiler->windowTitle(), title);
        QCOMPARE(waits, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000)});
        QCOMPARE(game.log(),
                 (QStringList{"dde: scrp 0 0 0 17,inst,scrp 2 5 3 1,inst,snde honk,endm",
                              "dde: scrp 0 0 0 17,inst,scrp 2 5 3 9,tick 0,endm",
                              "dde: scrp 0 0 0 17,inst,new: simp vbal 2 0 3000 0,setv clas "
                              "33882880,setv attr 5,edit,"
                              "endm,endm",
                              "inst,sys: wtop,endm"}));
        QCOMPARE(game.ask("inst,dde: scrp 2 5 3 1,endm"), QStringLiteral("inst,snde honk,endm"));
        QVERIFY(game.bench.dialogs().asked.empty());
        // The outcome stays in the window's status line while the mouse moves over hints.
        compiler->show();
        QVERIFY(QTest::qWaitForWindowExposed(compiler));
        compiler->findChild<QTabWidget*>()->setCurrentWidget(page.parentWidget());
        QTest::mouseMove(page.fileListBox2()->viewport());
        auto* note = compiler->findChild<QLabel*>(QStringLiteral("NoteLine"));
        QCOMPARE(note->text(),
                 QStringLiteral("Ball injected into the stand-in game vivarium-sim: it arrived."));
        QVERIFY(note->isVisible());
        saveScreenshot(compiler, QStringLiteral("TForm2-injected-note"));
        QCOMPARE(game.bench.windows().main->statusBar1()->currentMessage(),
                 QStringLiteral("Doubleclick to inject the COB into Creatures"));

        page.killEditCommand();
        QCOMPARE(game.log().last(), QStringLiteral("inst,kill edit,endm"));
        QCOMPARE(note->text(), QStringLiteral("Sent inst,kill edit,endm"));
        QCOMPARE(game.ask("inst,enum 2 5 3,dde: putv attr,next,endm"), QString());
    }

    // While the link and the two seconds hold the window, it still paints: "Injecting …" in
    // its status line under the busy pointer, the progress in its title; then the note says
    // where the object went and that it arrived, in the interface language.
    void injectPaintsWhileItWaitsAndSaysWhereTheObjectArrived() {
        GameBench game;
        ObjectCompilerWindow* compiler = game.bench.windows().objectCompiler;
        vek::writeCobFile(game.dir / "ball.cob", ball());
        compiler->loadCobFile(fromPath(game.dir / "ball.cob"));
        compiler->show();
        QVERIFY(QTest::qWaitForWindowExposed(compiler));
        auto* note = compiler->findChild<QLabel*>(QStringLiteral("NoteLine"));
        Paints paints;
        note->installEventFilter(&paints);
        QElapsedTimer clock;
        clock.start();
        compiler->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
        QVERIFY2(clock.elapsed() >= 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(paints.seen.contains(QStringLiteral("Injecting … (busy)")),
                 qPrintable(paints.seen.join(QLatin1Char('|'))));
        QCOMPARE(note->text(),
                 QStringLiteral("Ball injected into the stand-in game vivarium-sim: it arrived."));
        QCOMPARE(game.log().size(), 4);
        saveScreenshot(compiler, QStringLiteral("TForm2-inject-arrived-english"));

        game.bench.windows().main->SpeedButton13Click();  // deutsch
        CobInjectorPage& page = *compiler->injectorPage();
        page.setInjectionWait([&](std::chrono::milliseconds) {
            QCOMPARE(note->text(), QStringLiteral("Injiziere …"));
            saveScreenshot(compiler, QStringLiteral("TForm2-injecting-deutsch"));
        });
        compiler->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
        QCOMPARE(note->text(),
                 QStringLiteral("Ball ins Ersatzspiel vivarium-sim injiziert: es ist angekommen."));
        saveScreenshot(compiler, QStringLiteral("TForm2-inject-arrived-deutsch"));
        game.bench.windows().main->SpeedButton12Click();  // english
        page.setInjectionWait([&](std::chrono::milliseconds) {
            saveScreenshot(compiler, QStringLiteral("TForm2-injecting-english"));
        });
        compiler->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
    }

    // An object the checker finds errors in is asked about, and Return sends nothing; sent
    // anyway, the game's error answer comes in a box naming the macro, and no success is
    // claimed. The busy pointer shows through the sending and the wait.
    void injectTellsTheGamesErrorAnswer() {
        GameBench game;
        ObjectCompilerWindow* compiler = game.bench.windows().objectCompiler;
        CobInjectorPage& page = *compiler->injectorPage();
        std::vector<Qt::CursorShape> cursors;
        page.setInjectionWait([&cursors](std::chrono::milliseconds) {
            const QCursor* cursor = QApplication::overrideCursor();
            cursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        });
        vek::CobData typo = ball();
        typo.scripts[1] = "scrp 2 5 3 9,tock 0,endm";
        vek::writeCobFile(game.dir / "typo.cob", typo);
        compiler->loadCobFile(fromPath(game.dir / "typo.cob"));
        ScriptedDialogs& dialogs = game.bench.dialogs();
        dialogs.asked.clear();

        page.injectCommand();
        QCOMPARE(dialogs.messages().size(), std::size_t{1});
        QCOMPARE(dialogs.messages()[0].buttons, Buttons::YesNoDefaultNo);
        QVERIFY(game.log().isEmpty());

        dialogs.messageAnswers = {Answer::Yes};
        page.injectCommand();
        QCOMPARE(game.log().size(), 4);
        const auto messages = dialogs.messages();
        QCOMPARE(messages.size(), std::size_t{3});
        QCOMPARE(messages[2].caption, QStringLiteral("Creatures reported a problem"));
        QCOMPARE(messages[2].text, QStringLiteral("Macro dde: scrp 0 0 0 17,inst,scrp 2 5 3 9,tock "
                                                  "0,endm:\nError: unknown command 'tock 0'"));
        QVERIFY(compiler->findChild<QLabel*>(QStringLiteral("NoteLine"))->text().isEmpty());
        QCOMPARE(cursors, std::vector<Qt::CursorShape>{Qt::WaitCursor});
        QVERIFY(!QApplication::overrideCursor());
        // The scripts the game took are there; the broken one is not.
        QCOMPARE(game.ask("inst,dde: scrp 2 5 3 1,endm"), QStringLiteral("inst,snde honk,endm"));
        QCOMPARE(game.ask("inst,dde: scrp 2 5 3 9,endm"), QString());
    }

    void uncompiledChangesAreAskedAboutAndAnEmptyObjectIsReported() {
        GameBench game;
        ObjectCompilerWindow* compiler = game.bench.windows().objectCompiler;
        CobInjectorPage& page = *game.bench.windows().objectCompiler->injectorPage();
        page.setInjectionWait([](std::chrono::milliseconds) {});
        compiler->New1Click();
        compiler->sourceText()->setPlainText(QStringLiteral("inst\nendm"));
        QVERIFY(game.bench.objectDocument().source().changedButNotCompiled());

        game.bench.dialogs().asked.clear();
        game.bench.dialogs().messageAnswers = {Answer::Cancel};
        page.injectCommand();
        auto messages = game.bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(messages[0].caption, QStringLiteral("COS not compiled!"));
        QCOMPARE(messages[0].buttons, Buttons::OkCancel);
        // The designed text, then what to do with the source typed and not compiled.
        QVERIFY(messages[1].text.startsWith(
            QStringLiteral("No COB Data in memory! Load a COB or compile a COS.\n\n")));
        QVERIFY(messages[1].text.contains(QStringLiteral("compile it first")));
        QCOMPARE(messages[1].caption, QStringLiteral("Nothing to inject!"));

        game.bench.context().look.setLanguage("deutsch");
        game.bench.dialogs().asked.clear();
        game.bench.dialogs().messageAnswers = {Answer::Cancel};
        page.injectCommand();
        messages = game.bench.dialogs().messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(messages[0].caption, QStringLiteral("COS nicht compiliert!"));
        QCOMPARE(messages[1].caption, QStringLiteral("Nichts zum Senden!"));
        QVERIFY(game.log().isEmpty());
    }

    void aDoubleClickLoadsTheFileAndInjectsIt() {
        GameBench game;
        vek::writeCobFile(game.mainDirectory() / "ZZBALL.COB", ball());
        std::ofstream(game.mainDirectory() / "ZZBROKEN.COB") << "no";
        CobInjectorPage& page = *game.bench.windows().objectCompiler->injectorPage();
        page.setInjectionWait([](std::chrono::milliseconds) {});
        page.refreshFileList();

        auto doubleClick = [&page](const QString& name) {
            const auto items = page.fileListBox2()->findItems(name, Qt::MatchExactly);
            QVERIFY(!items.isEmpty());
            page.fileListBox2()->setCurrentItem(items.first());
            page.FileListBox2DblClick();
        };
        doubleClick(QStringLiteral("ZZBALL.COB"));
        QCOMPARE(game.bench.objectDocument().cob(), ball());
        QCOMPARE(game.bench.objectDocument().objectFileName(), std::string("ZZBALL.COB"));
        QCOMPARE(game.log().size(), 4);

        doubleClick(QStringLiteral("ZZBROKEN.COB"));
        QCOMPARE(game.bench.dialogs().errors().size(), std::size_t{1});
        QCOMPARE(game.log().size(), 4);
        QCOMPARE(game.bench.objectDocument().cob(), ball());
    }
};

VEK_UI_TEST_MAIN(GameLinkUiTest)
#include "game_link_ui_test.moc"
