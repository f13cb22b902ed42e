#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/macro_outcome.h"
#include "app/text_table.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "gamelink/creatures.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "objects/ui/cob_injector_page.h"
#include "objects/ui/object_compiler_window.h"
#include "support/ui/workbench_fixture.h"
#include "vivarium/map_file.h"
#include "vivarium/session.h"
#include "vivarium/try_run.h"
#include "vivarium/ui/script_view.h"
#include "vivarium/ui/vivarium_window.h"
#include "vivarium/ui/world_view.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

// The object list's columns: object, class, name, position, pose, timer, variables.
constexpr int kNameColumn = 2;
constexpr int kPositionColumn = 3;
constexpr int kPoseColumn = 4;

VivariumWindow* openFromTheCompilersToolsMenu(TestWorkbench& bench) {
    QAction* item =
        bench.windows().objectCompiler->findChild<QAction*>(QStringLiteral("Vivarium1"));
    if (!item) return nullptr;
    item->trigger();
    return bench.workbench().vivarium();
}

void injectDemoObject(TestWorkbench& bench, VivariumWindow* window, const std::string& name) {
    const auto source = readSourceFile(bench.demo().gameDirectory() / name);
    window->session().inject(vivarium::injectionOfSource(source, name));
}

void press(QWidget* view, Qt::MouseButton button, QPoint at) {
    QTest::mouseClick(view, button, Qt::NoModifier, at);
}

QStringList logRows(VivariumWindow* window) {
    auto* log = window->findChild<QListWidget*>(QStringLiteral("HappeningLog"));
    QStringList rows;
    for (int i = 0; i < log->count(); ++i) rows << log->item(i)->text();
    return rows;
}

// The object compiler reads the demo's source, compiles it and injects it, as a user does.
void injectFromTheCompiler(TestWorkbench& bench, const std::string& name) {
    ObjectCompilerWindow* compiler = bench.windows().objectCompiler;
    compiler->loadSourceFile(fromPath(bench.demo().gameDirectory() / name));
    QVERIFY(compiler->compileSourcePage());
    compiler->injectorPage()->setInjectionWait([](std::chrono::milliseconds) {});
    compiler->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
}

// Where a text first stands in the demo's source: line and column, both from 1.
std::pair<int, int> placeInSource(TestWorkbench& bench, const std::string& name,
                                  const std::string& text) {
    const auto lines = readSourceFile(bench.demo().gameDirectory() / name);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::size_t at = lines[k].find(text);
        if (at != std::string::npos) return {static_cast<int>(k) + 1, static_cast<int>(at) + 1};
    }
    return {0, 0};
}

std::pair<int, int> caretOf(QPlainTextEdit* text) {
    const QTextCursor caret = text->textCursor();
    return {caret.blockNumber() + 1, caret.positionInBlock() + 1};
}

// Chooses a log row as a user does: selects it and presses Enter.
void chooseLogRow(VivariumWindow* window, int row) {
    auto* log = window->findChild<QListWidget*>(QStringLiteral("HappeningLog"));
    log->setCurrentRow(row);
    QTest::keyClick(log, Qt::Key_Return);
}

QString objectCell(VivariumWindow* window, int row, int column) {
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
    QTreeWidgetItem* item = list->topLevelItem(row);
    return item ? item->text(column) : QString();
}

// A point a little inside the first object, at full size: the demo's spinning top stands where
// the installation's rooms let its "mvto 4400 600" take it.
QPoint onTheFirstObject(VivariumWindow* window) {
    const vivarium::Object& first = window->session().world().objects().front();
    return {first.x + 5, first.y + 5};
}

// A counter (2 21 8) standing where the demo's top is sent, whose activation counts in a loop.
std::vector<std::string> counterSource() {
    return {"name Counter",
            "quantity 1",
            "used 0",
            "day 31",
            "month 12",
            "year 1999",
            "sprite vtop 0",
            "inst",
            "  new: simp vtop 4 0 2000 0",
            "  setv clas " + std::to_string(Classifier{2, 21, 8}.classNumber()),
            "  bhvr 1 0",
            "  mvto 4400 600",
            "endm",
            "scrp 2 21 8 1",
            "  setv var0 10",
            "  reps 2",
            "    addv var0 5",
            "    pose 1",
            "  repe",
            "endm"};
}

void trigger(VivariumWindow* window, const char* action) {
    window->findChild<QAction*>(QLatin1String(action))->trigger();
}

// The script view's rows after the first script's name row: margin and command text each.
QStringList commandRows(VivariumWindow* window) {
    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("ScriptCommands"));
    QStringList rows;
    for (int k = 1; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* row = tree->topLevelItem(k);
        rows << row->text(0) + QLatin1Char('|') + row->text(2).trimmed();
    }
    return rows;
}

// The command row marked as the one the script goes on with; -1 when none is.
int markedRow(VivariumWindow* window) {
    const QStringList rows = commandRows(window);
    for (int k = 0; k < rows.size(); ++k)
        if (rows[k].section(QLatin1Char('|'), 0, 0).contains(QStringLiteral("▶"))) return k;
    return -1;
}

// Shows the counter where the demo's top stands, at half size.
void showTheCounter(VivariumWindow* window) {
    window->resize(1100, 760);
    window->setZoom(50);
    window->findChild<QScrollArea*>(QStringLiteral("WorldScroll"))
        ->ensureVisible(2200, 320, 300, 200);
}

QString variable(VivariumWindow* window, int row) {
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("ScriptVariables"));
    return table->item(row, 0)->text() + QLatin1Char('=') + table->item(row, 1)->text();
}

}  // namespace

// The demo's ground, from its map file, as room words give it to the window's world.
std::string demoGroundMacro(TestWorkbench& bench) {
    const vivarium::Map map = vivarium::readInstallationMap(
        pathFromUtf8(gamePathsUnder(bench.demo().gameDirectory()).CImagePath));
    std::string macro = "inst";
    for (int point = 0; point < map.groundPoints(); ++point)
        macro += ",sys: grnd " + std::to_string(point) + " " + std::to_string(map.groundAt(point));
    return macro + ",endm";
}

// Picks an item of the popup menu that is open, once the event loop shows it.
void chooseFromPopupMenu(const QString& item) {
    QTimer::singleShot(0, [item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        auto* action = menu->findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();
        menu->close();
    });
}

class VivariumWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The user places the creature beside the demo's wooden block and tells it, from its menu,
    // to activate it: it walks there (144 pixels to within 24 of the block's centre, 8 a tick)
    // and the block's stimulus reaches it in the 16th tick.
    void aPlacedCreatureActivatesTheBlockFromItsMenu() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        window->session().runMacro(demoGroundMacro(bench));
        injectDemoObject(bench, window, "BLOCK.COS");
        window->findChild<QAction*>(QStringLiteral("PlaceCreature"))->trigger();
        QVERIFY(window->view()->placingCreature());
        press(window->view(), Qt::LeftButton, QPoint(2850, 100));
        QVERIFY(!window->view()->placingCreature());
        const vivarium::Object* creature =
            window->session().world().find(window->session().world().creature().id);
        QVERIFY(creature);
        QCOMPARE(creature->x, 2850);
        // It stands on the ground under its centre (2870).
        QCOMPARE(creature->y + vivarium::kCreatureHeight,
                 *window->session().world().map().groundUnder(2870));

        chooseFromPopupMenu(QStringLiteral("CreatureActivate1"));
        press(window->view(), Qt::RightButton, QPoint(2860, creature->y + 30));
        QVERIFY(window->session().world().creature().order);
        for (int tick = 0; tick < 16; ++tick) window->stepOneTick();
        QVERIFY2(logRows(window).contains(
                     QStringLiteral("tick 16 #1: stim writ #2 0 255 0 0 35 20 0 0 0 0 0 0 "
                                    "reaches creature #2 (chemical 35 Cobalide 20)")),
                 qPrintable(logRows(window).join(u'\n')));
        // The right click on the creature was not the hand's activate 2.
        QVERIFY(!logRows(window).join(u' ').contains(QStringLiteral("35 5")));

        window->resize(1100, 700);
        window->findChild<QScrollArea*>(QStringLiteral("WorldScroll"))
            ->ensureVisible(2950, 400, 400, 250);
        saveScreenshot(window, QStringLiteral("creature-english"));
        bench.windows().main->SpeedButton13Click();  // DE
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("PlaceCreature"))->text(),
                 QStringLiteral("Kreatur &absetzen"));
        saveScreenshot(window, QStringLiteral("creature-german"));
    }

    void opensBesideTheObjectCompilerWithTheInstallationsBackground() {
        TestWorkbench bench;
        bench.windows().objectCompiler->show();
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(bench.windows().objectCompiler->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Vivarium"));
        // The demo's back.spr at full size: 58 tiles of 144 by 8 of 150.
        QCOMPARE(window->view()->size(), QSize(8352, 1200));
        window->setZoom(25);
        QCOMPARE(window->view()->size(), QSize(2088, 300));
        window->setZoom(1000);
        QCOMPARE(window->view()->size(), QSize(8352 * 4, 1200 * 4));
        QVERIFY(!window->running());
    }

    // Driven as a user does: an object comes in, a click activates it, the world runs, pauses
    // and goes on tick by tick.
    void aClickActivatesTheObjectAndTheWorldStepsTickByTick() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        injectDemoObject(bench, window, "SPTOP.COS");
        QCOMPARE(objectCell(window, 0, 0), QStringLiteral("#1"));
        QCOMPARE(objectCell(window, 0, 1), QStringLiteral("2 21 7"));
        QCOMPARE(objectCell(window, 0, kNameColumn), QStringLiteral("Spinning top"));
        // Its first move places the top where its source puts it, though it keeps to its room.
        QCOMPARE(objectCell(window, 0, kPositionColumn), QStringLiteral("4400, 600"));

        press(window->view(), Qt::LeftButton, onTheFirstObject(window));
        window->stepOneTick();
        QCOMPARE(logRows(window), QStringList{QStringLiteral("tick 1 #1: snde spin")});
        QCOMPARE(objectCell(window, 0, kPoseColumn), QStringLiteral("0"));
        window->stepOneTick();
        QCOMPARE(objectCell(window, 0, kPoseColumn), QStringLiteral("1"));

        window->run();
        QVERIFY(window->running());
        QTRY_VERIFY_WITH_TIMEOUT(window->session().world().currentTick() >= 5, 5000);
        window->pause();
        QVERIFY(!window->running());
        const int paused = window->session().world().currentTick();
        QTest::qWait(300);
        QCOMPARE(window->session().world().currentTick(), paused);
        window->stepOneTick();
        QCOMPARE(window->session().world().currentTick(), paused + 1);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("WorldStatus"))
                    ->text()
                    .startsWith(QStringLiteral("Tick %1, 1 objects").arg(paused + 1)));
    }

    void aDragPicksTheObjectUpAndPutsItDownWhereTheHandLetsGo() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        injectDemoObject(bench, window, "SPTOP.COS");
        QWidget* view = window->view();
        const QPoint grip = onTheFirstObject(window);
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(100, 50)),
                         QPointF(view->mapToGlobal(grip + QPoint(100, 50))), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, grip + QPoint(100, 50));
        // Put down 100 across and 50 down, the top (attr 128) comes to rest on the ground there.
        const vivarium::Object& top = window->session().world().objects().front();
        const vivarium::Placement rest = window->session().world().map().settle(
            top.attr, top.width(), top.height(), grip.x() - 5 + 100, grip.y() - 5 + 50);
        QCOMPARE(objectCell(window, 0, kPositionColumn),
                 QStringLiteral("%1, %2").arg(rest.left).arg(rest.top));
        // A right-click on the bare world does nothing.
        press(view, Qt::RightButton, QPoint(10, 10));
        window->stepOneTick();
        QVERIFY(logRows(window).isEmpty());
    }

    // A right-click runs the object's second activation, whose fault is a row of the log that
    // selects the object (the world goes on: "Stop on a fault" is off).
    void aFaultIsALogRowThatSelectsItsObject() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        injectDemoObject(bench, window, "SPTOP.COS");
        // Not stopping at the fault, which would select the object itself.
        trigger(window, "StopOnFault");
        window->session().runMacro("inst,scrp 2 21 7 2,pose 40,endm");
        press(window->view(), Qt::RightButton, onTheFirstObject(window));
        window->stepOneTick();
        const QStringList rows = logRows(window);
        QCOMPARE(rows.size(), 1);
        QVERIFY2(rows[0].contains(QStringLiteral("object #1 (2 21 7)")) &&
                     rows[0].contains(QStringLiteral("pose 40 is beyond the object's 4 images")),
                 qPrintable(rows[0]));
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
        QVERIFY(list->currentItem() == nullptr);
        window->findChild<QListWidget*>(QStringLiteral("HappeningLog"))->setCurrentRow(0);
        QVERIFY(list->currentItem());
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("#1"));
    }

    // While the window is open the link's macros (Send, Inject) go into the world it shows;
    // once it closes they go where they went before.
    void theLinkGoesIntoTheShownWorldWhileTheWindowIsOpen() {
        TestWorkbench bench;
        TCreatures& link = bench.workbench().creatures();
        const auto ownTransport = link.linkTransport();
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        QVERIFY(link.linkTransport() != ownTransport);
        const MacroOutcome made =
            link.SendMacro("inst,new: simp vtop 4 0 2000 0,setv clas 34932480,mvto 100 200,endm");
        QCOMPARE(QString::fromStdString(made.answer), QString());
        QCOMPARE(objectCell(window, 0, 1), QStringLiteral("2 21 7"));
        QCOMPARE(objectCell(window, 0, kPositionColumn), QStringLiteral("100, 200"));
        QCOMPARE(QString::fromStdString(
                     link.SendMacro("inst,enum 2 21 7,dde: putv posl,next,endm").answer),
                 QStringLiteral("100|"));
        QCOMPARE(QString::fromStdString(link.SendMacro("inst,mvto 1 2,endm").answer),
                 QStringLiteral("Error: macro: mvto needs a target, but there is none"));
        window->close();
        QVERIFY(link.linkTransport() == ownTransport);
    }

    // Driven as a user does: the object compiler injects an object through the link into the
    // shown world, a click in the script view's margin sets a breakpoint, a click on the object
    // activates it, Run goes to the breakpoint, and steps go one command at a time.
    void aBreakpointStopsTheWorldAndStepsGoOneCommandAtATime() {
        TestWorkbench bench;
        ObjectCompilerWindow* compiler = bench.windows().objectCompiler;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        compiler->injectorPage()->setInjectionWait([](std::chrono::milliseconds) {});
        QVERIFY(compiler->compileNewObject(counterSource()));
        compiler->findChild<QAction*>(QStringLiteral("Inject2"))->trigger();
        QCOMPARE(objectCell(window, 0, 1), QStringLiteral("2 21 8"));
        // The compiler says where the object went.
        QCOMPARE(compiler->findChild<QLabel*>(QStringLiteral("NoteLine"))->text(),
                 QStringLiteral("Counter injected into the Vivarium: it arrived."));
        trigger(window, "PauseWorld");

        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
        list->setCurrentItem(list->topLevelItem(0));
        QCOMPARE(commandRows(window), (QStringList{"|setv var0 10", "|reps 2", "|addv var0 5",
                                                   "|pose 1", "|repe", "|endm"}));
        auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("ScriptCommands"));
        QCOMPARE(tree->topLevelItem(0)->text(2), QStringLiteral("scrp 2 21 8 1"));
        // The link's macros have no file, and so no lines.
        QCOMPARE(tree->topLevelItem(1)->text(1), QString());
        QTreeWidgetItem* addv = tree->topLevelItem(3);
        const QRect margin = tree->visualItemRect(addv);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(tree->header()->sectionPosition(0) + 4, margin.center().y()));
        QCOMPARE(commandRows(window).value(2), QStringLiteral("●|addv var0 5"));

        press(window->view(), Qt::LeftButton, onTheFirstObject(window));
        trigger(window, "RunWorld");
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 5000);
        QCOMPARE(window->session().world().currentTick(), 1);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("WorldStatus"))
                    ->text()
                    .endsWith(QStringLiteral("held before a command of #1")));
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        QCOMPARE(commandRows(window).value(2), QStringLiteral("●▶|addv var0 5"));
        QCOMPARE(addv->background(2).style(), Qt::SolidPattern);
        QCOMPARE(variable(window, 0), QStringLiteral("var0=10"));
        QCOMPARE(variable(window, 10), QStringLiteral("targ=#1"));
        QCOMPARE(variable(window, 11), QStringLiteral("ownr=#1"));
        showTheCounter(window);
        saveScreenshot(window, QStringLiteral("viv-debug-english"));

        struct Step {
            int row;
            const char* var0;
        };
        for (const Step step : {Step{3, "var0=15"}, Step{4, "var0=15"}, Step{2, "var0=15"}}) {
            trigger(window, "StepCommand");
            QCOMPARE(markedRow(window), step.row);
            QCOMPARE(variable(window, 0), QLatin1String(step.var0));
            QCOMPARE(addv->background(2).style(), step.row == 2 ? Qt::SolidPattern : Qt::NoBrush);
        }
        QCOMPARE(window->session().world().currentTick(), 1);

        // Run goes on from the breakpoint the step came back to without stopping there again:
        // the loop's last round ends the script.
        trigger(window, "RunWorld");
        QTRY_VERIFY_WITH_TIMEOUT(window->session().world().currentTick() >= 3, 5000);
        QVERIFY(window->running());
        QCOMPARE(markedRow(window), -1);
        trigger(window, "PauseWorld");
        QCOMPARE(objectCell(window, 0, kPoseColumn), QStringLiteral("1"));
        QCOMPARE(variable(window, 0), QStringLiteral("var0="));

        // F9 takes the breakpoint away again, on the current row.
        tree->setCurrentItem(addv);
        trigger(window, "ToggleBreakpoint");
        QCOMPARE(commandRows(window).value(2), QStringLiteral("|addv var0 5"));
        QVERIFY(window->session().debugger().breakpoints().empty());
    }

    // An object the object compiler injected: its list row carries the catalogue's name, and a
    // log row of its script leads to the line of the source page that made it.
    void aLogRowLeadsToItsLineOnTheCompilersSourcePage() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        injectFromTheCompiler(bench, "SPTOP.COS");
        QCOMPARE(objectCell(window, 0, 1), QStringLiteral("2 21 7"));
        QCOMPARE(objectCell(window, 0, kNameColumn), QStringLiteral("Spinning top"));
        // A class the catalogue does not name has no name.
        window->session().runMacro("inst,new: simp vtop 4 0 2000 0,setv clas 34932736,endm");
        QCOMPARE(objectCell(window, 1, 1), QStringLiteral("2 21 8"));
        QCOMPARE(objectCell(window, 1, kNameColumn), QString());

        press(window->view(), Qt::LeftButton, onTheFirstObject(window));
        window->stepOneTick();
        QCOMPARE(logRows(window).value(0), QStringLiteral("tick 1 #1: snde spin"));
        ObjectCompilerWindow* compiler = bench.windows().objectCompiler;
        compiler->sourceText()->moveCursor(QTextCursor::Start);
        chooseLogRow(window, 0);
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
        QVERIFY(list->currentItem());
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("#1"));
        QVERIFY(compiler->isVisible());
        QVERIFY(compiler->sourceText()->isVisible());
        const std::pair<int, int> snde = placeInSource(bench, "SPTOP.COS", "snde spin");
        QVERIFY(snde.first > 1);
        QCOMPARE(caretOf(compiler->sourceText()), snde);

        // A fault of a macro typed elsewhere selects nothing and leaves the caret where it is.
        compiler->sourceText()->moveCursor(QTextCursor::Start);
        window->session().runMacro("inst,mvto 1 2,endm");
        QCOMPARE(logRows(window).size(), 2);
        list->setCurrentItem(nullptr);
        chooseLogRow(window, 1);
        QCOMPARE(caretOf(compiler->sourceText()), std::make_pair(1, 1));
        QVERIFY(list->currentItem() == nullptr);
    }

    // Sounds play from the installation's Sounds folder while the world goes at most at the
    // game's speed or tick by tick; a sound without its file plays nothing.
    void soundsPlayAtTheGamesSpeedAndWhenSteppingButNotFaster() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        auto& played = bench.sound().played;
        const std::filesystem::path spin = gameSoundFile(bench.context().game.paths(), "spin");
        QVERIFY(std::filesystem::exists(spin));
        // Two objects whose timer sounds "spin" every tick, and one sound without a file.
        window->session().runMacro("inst,scrp 2 5 3 9,snde spin,snde honk,endm");
        for (int k = 0; k < 2; ++k) {
            window->session().runMacro(
                "inst,new: simp vtop 4 0 2000 0,setv clas 33882880,"
                "tick 1,endm");
        }
        played.clear();
        window->stepOneTick();
        QCOMPARE(played, std::vector<std::filesystem::path>{spin});

        auto* speed = window->findChild<QComboBox*>(QStringLiteral("SpeedChoice"));
        speed->setCurrentIndex(4);  // four times the game's speed
        played.clear();
        const int before = window->session().world().currentTick();
        window->run();
        QTRY_VERIFY_WITH_TIMEOUT(window->session().world().currentTick() >= before + 4, 5000);
        window->pause();
        QVERIFY(played.empty());

        speed->setCurrentIndex(2);  // the game's speed
        const int paused = window->session().world().currentTick();
        window->run();
        QTRY_VERIFY_WITH_TIMEOUT(window->session().world().currentTick() >= paused + 2, 5000);
        window->pause();
        const int ticks = window->session().world().currentTick() - paused;
        QCOMPARE(static_cast<int>(played.size()), ticks);
        for (const std::filesystem::path& file : played) QCOMPARE(file, spin);
    }

    // Save world and Load world: the world file written, a fresh world made from it, and a file
    // that cannot be read named in the error.
    void theWorldIsSavedAndLoadedAsAFileOfMacros() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        injectDemoObject(bench, window, "SPTOP.COS");
        press(window->view(), Qt::LeftButton, onTheFirstObject(window));
        for (int k = 0; k < 3; ++k) window->stepOneTick();
        const QString position = objectCell(window, 0, kPositionColumn);
        const QString pose = objectCell(window, 0, kPoseColumn);
        const QString variables = objectCell(window, 0, 6);
        const QString file = fromPath(bench.scratch() / "my world");
        bench.dialogs().fileAnswers.push_back(file);
        window->findChild<QAction*>(QStringLiteral("SaveWorld"))->trigger();
        const std::string saved = readFileText(toPath(file + QStringLiteral(".txt")));
        QVERIFY2(saved.find("scrp 2 21 7 1,") != std::string::npos, saved.c_str());
        QVERIFY2(saved.find("inst,new: simp vtop 4 0 ") != std::string::npos, saved.c_str());

        window->findChild<QAction*>(QStringLiteral("ResetWorld"))->trigger();
        QCOMPARE(window->session().world().objects().size(), std::size_t{0});
        bench.dialogs().fileAnswers.push_back(file + QStringLiteral(".txt"));
        window->findChild<QAction*>(QStringLiteral("LoadWorld"))->trigger();
        QVERIFY(bench.dialogs().errors().empty());
        QCOMPARE(objectCell(window, 0, 1), QStringLiteral("2 21 7"));
        QCOMPARE(objectCell(window, 0, kPositionColumn), position);
        QCOMPARE(objectCell(window, 0, kPoseColumn), pose);
        QCOMPARE(objectCell(window, 0, 6), variables);
        QCOMPARE(window->session().world().scripts().size(), std::size_t{2});

        const QString missing = fromPath(bench.scratch() / "no such world.txt");
        bench.dialogs().fileAnswers.push_back(missing);
        window->findChild<QAction*>(QStringLiteral("LoadWorld"))->trigger();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY2(bench.dialogs().errors()[0].text.contains(missing),
                 qPrintable(bench.dialogs().errors()[0].text));
        QCOMPARE(window->session().world().objects().size(), std::size_t{1});
    }

    void speaksGermanAndShowsTheDemoObjects() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        for (const char* name : {"SPTOP.COS", "BALL.COS", "HEATER.COS"})
            injectDemoObject(bench, window, name);
        window->resize(1100, 700);
        window->setZoom(50);
        auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("WorldScroll"));
        const QPoint onTheTop = onTheFirstObject(window);
        scroll->ensureVisible(onTheTop.x() / 2, onTheTop.y() / 2, 300, 200);
        press(window->view(), Qt::LeftButton, onTheTop / 2);
        for (int i = 0; i < 3; ++i) window->stepOneTick();
        saveScreenshot(window, QStringLiteral("vivworld-english"));
        saveScreenshot(window, QStringLiteral("viv-links-english"));
        bench.windows().main->SpeedButton13Click();  // DE
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("StepWorld"))->text(),
                 QStringLiteral("Ein &Tick"));
        QCOMPARE(logRows(window).value(0), QStringLiteral("Tick 1 #1: snde spin"));
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("NotModelledNote"))
                    ->text()
                    .contains(QStringLiteral("weder Gehirn noch Chemie")));
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("SaveWorld"))->text(),
                 QStringLiteral("Welt &speichern…"));
        saveScreenshot(window, QStringLiteral("vivworld-german"));
        saveScreenshot(window, QStringLiteral("viv-links-german"));
    }

    // The script view in German, held at a breakpoint: its titles and the status line.
    void theScriptViewSpeaksGerman() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        const auto source = counterSource();
        window->session().inject(vivarium::injectionOfSource(source, "COUNTER.COS"));
        window->session().debugger().toggleBreakpoint({{2, 21, 8, 1}, 3});
        bench.windows().main->SpeedButton13Click();  // DE
        press(window->view(), Qt::LeftButton, onTheFirstObject(window));
        window->stepOneTick();
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("WorldStatus"))
                    ->text()
                    .endsWith(QStringLiteral("angehalten vor einem Befehl von #1")));
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("StepCommand"))->text(),
                 QStringLiteral("Einen &Befehl ausführen"));
        QCOMPARE(commandRows(window).value(3), QStringLiteral("●▶|pose 1"));
        // A source's commands keep their lines.
        auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("ScriptCommands"));
        QCOMPARE(tree->topLevelItem(4)->text(1), QStringLiteral("18"));
        QCOMPARE(variable(window, 0), QStringLiteral("var0=15"));
        showTheCounter(window);
        saveScreenshot(window, QStringLiteral("viv-debug-german"));
    }
};

VEK_UI_TEST_MAIN(VivariumWindowTest)
#include "vivarium_window_test.moc"
