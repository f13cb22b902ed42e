#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTreeWidget>

#include "app/macro_outcome.h"
#include "app/text_table.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "gamelink/creatures.h"
#include "objects/cob_compiler.h"
#include "objects/ui/object_compiler_window.h"
#include "support/ui/workbench_fixture.h"
#include "vivarium/session.h"
#include "vivarium/try_run.h"
#include "vivarium/ui/vivarium_window.h"
#include "vivarium/ui/world_view.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

// The demo's spinning top stands at (4400, 600); a click a little inside it.
constexpr QPoint kOnTheTop(4405, 605);

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

QString objectCell(VivariumWindow* window, int row, int column) {
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
    QTreeWidgetItem* item = list->topLevelItem(row);
    return item ? item->text(column) : QString();
}

}  // namespace

class VivariumWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
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
        QCOMPARE(objectCell(window, 0, 2), QStringLiteral("4400, 600"));

        press(window->view(), Qt::LeftButton, kOnTheTop);
        window->stepOneTick();
        QCOMPARE(logRows(window), QStringList{QStringLiteral("tick 1 #1: snde spin")});
        QCOMPARE(objectCell(window, 0, 3), QStringLiteral("0"));
        window->stepOneTick();
        QCOMPARE(objectCell(window, 0, 3), QStringLiteral("1"));

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
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, kOnTheTop);
        QMouseEvent move(QEvent::MouseMove, QPointF(kOnTheTop + QPoint(100, 50)),
                         QPointF(view->mapToGlobal(kOnTheTop + QPoint(100, 50))), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, kOnTheTop + QPoint(100, 50));
        QCOMPARE(objectCell(window, 0, 2), QStringLiteral("4500, 650"));
        // A right-click on the bare world does nothing.
        press(view, Qt::RightButton, QPoint(10, 10));
        window->stepOneTick();
        QVERIFY(logRows(window).isEmpty());
    }

    // A right-click runs the object's second activation, whose fault is a row of the log that
    // selects the object.
    void aFaultIsALogRowThatSelectsItsObject() {
        TestWorkbench bench;
        VivariumWindow* window = openFromTheCompilersToolsMenu(bench);
        QVERIFY(window);
        injectDemoObject(bench, window, "SPTOP.COS");
        window->session().runMacro("inst,scrp 2 21 7 2,pose 40,endm");
        press(window->view(), Qt::RightButton, kOnTheTop);
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
        QCOMPARE(objectCell(window, 0, 2), QStringLiteral("100, 200"));
        QCOMPARE(QString::fromStdString(
                     link.SendMacro("inst,enum 2 21 7,dde: putv posl,next,endm").answer),
                 QStringLiteral("100|"));
        QCOMPARE(QString::fromStdString(link.SendMacro("inst,mvto 1 2,endm").answer),
                 QStringLiteral("Error: macro: mvto needs a target, but there is none"));
        window->close();
        QVERIFY(link.linkTransport() == ownTransport);
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
        scroll->ensureVisible(2200, 320, 300, 200);
        press(window->view(), Qt::LeftButton, kOnTheTop / 2);
        for (int i = 0; i < 3; ++i) window->stepOneTick();
        saveScreenshot(window, QStringLiteral("vivworld-english"));
        bench.windows().main->SpeedButton13Click();  // DE
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("StepWorld"))->text(),
                 QStringLiteral("Ein &Tick"));
        QCOMPARE(logRows(window).value(0), QStringLiteral("Tick 1 #1: snde spin"));
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("NotModelledNote"))
                    ->text()
                    .contains(QStringLiteral("nicht nachgebildet")));
        saveScreenshot(window, QStringLiteral("vivworld-german"));
    }
};

VEK_UI_TEST_MAIN(VivariumWindowTest)
#include "vivarium_window_test.moc"
