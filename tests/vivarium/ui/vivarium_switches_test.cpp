#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWheelEvent>
#include <fstream>

#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "support/ui/workbench_fixture.h"
#include "vivarium/map_file.h"
#include "vivarium/session.h"
#include "vivarium/ui/vivarium_window.h"
#include "vivarium/ui/world_view.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace {

// The pens the view draws rooms and the ground with.
const QColor kRoomPen(0, 200, 255);
const QColor kGroundPen(255, 140, 0);

VivariumWindow* openVivarium(TestWorkbench& bench) {
    bench.workbench().showVivarium();
    VivariumWindow* window = bench.workbench().vivarium();
    window->resize(1100, 760);
    QApplication::processEvents();
    return window;
}

QAction* action(VivariumWindow* window, const char* name) {
    return window->findChild<QAction*>(QLatin1String(name));
}

QString statusLine(VivariumWindow* window) {
    return window->findChild<QLabel*>(QStringLiteral("WorldStatus"))->text();
}

QScrollArea* scrollOf(VivariumWindow* window) {
    return window->findChild<QScrollArea*>(QStringLiteral("WorldScroll"));
}

// Injects one of the demo's sources through the window's own Inject file… button.
void injectThroughTheButton(TestWorkbench& bench, VivariumWindow* window,
                            const std::filesystem::path& file) {
    bench.dialogs().fileAnswers.push_back(fromPath(file));
    action(window, "InjectFile")->trigger();
}

// Whether a colour is painted within two pixels of a world point of the view at full size.
bool paintedNear(WorldView* view, QPoint at, const QColor& color) {
    const QImage picture = view->grab(QRect(at - QPoint(2, 2), QSize(5, 5))).toImage();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y).rgb() == color.rgb()) return true;
    return false;
}

// The row of the script view marked as where a fault stopped; empty when none is.
QString faultedCommand(VivariumWindow* window) {
    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("ScriptCommands"));
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* row = tree->topLevelItem(k);
        if (row->text(0).contains(QStringLiteral("✖"))) return row->text(2).trimmed();
    }
    return {};
}

QString variableValue(VivariumWindow* window, const QString& name) {
    auto* table = window->findChild<QTableWidget*>(QStringLiteral("ScriptVariables"));
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == name) return table->item(row, 1)->text();
    return QStringLiteral("(none)");
}

// A carried object's drag: moves with pauses between them, as a hand moves.
void moveHeld(QWidget* view, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(view->mapToGlobal(to)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::qWait(20);
}

void turnTheWheel(QWidget* view, QPoint at, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(at), QPointF(view->mapToGlobal(at)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QTest::qWait(20);
}

}  // namespace

class VivariumSwitchesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The window's world stands on the demo's map; the switch draws its rooms and ground.
    void showRoomsDrawsTheInstallationsRoomsAndGround() {
        TestWorkbench bench;
        VivariumWindow* window = openVivarium(bench);
        const vivarium::Map map =
            vivarium::readInstallationMap(bench.demo().gameDirectory() / "Images");
        QVERIFY(map.rooms().size() >= 2);
        QCOMPARE(window->session().world().map().rooms().size(), map.rooms().size());
        const vivarium::Room& room = map.rooms()[1];
        const QPoint wall(room.left, (room.top + room.bottom) / 2);
        const QPoint ground(3 * vivarium::kGroundPointWidth, map.groundAt(3));
        QVERIFY(!paintedNear(window->view(), wall, kRoomPen));
        QVERIFY(!paintedNear(window->view(), ground, kGroundPen));
        QTest::mouseClick(window->findChild<QToolBar*>(QStringLiteral("VivariumSwitches"))
                              ->widgetForAction(action(window, "ShowRooms")),
                          Qt::LeftButton);
        QVERIFY(action(window, "ShowRooms")->isChecked());
        QVERIFY(paintedNear(window->view(), wall, kRoomPen));
        QVERIFY(paintedNear(window->view(), ground, kGroundPen));
        // The switch stays over a reset.
        action(window, "ResetWorld")->trigger();
        QVERIFY(window->view()->showsRooms());
        // A 1280 by 800 screen shows both rows of switches whole.
        window->resize(1280, 800);
        injectThroughTheButton(bench, window, bench.demo().gameDirectory() / "SPTOP.COS");
        window->setZoom(50);
        const vivarium::Object& top = window->session().world().objects().front();
        scrollOf(window)->ensureVisible(top.x / 2, top.y / 2, 300, 200);
        QTest::qWait(50);
        for (const char* name : {"VivariumTools", "VivariumSwitches"}) {
            const auto* tools = window->findChild<QToolBar*>(QLatin1String(name));
            QVERIFY2(tools->childrenRect().right() <= tools->width(), name);
        }
        saveScreenshot(window, QStringLiteral("vivwin-rooms-english"));
        bench.windows().main->SpeedButton13Click();  // DE
        QCOMPARE(action(window, "ShowRooms")->text(), QStringLiteral("&Räume zeigen"));
        QCOMPARE(action(window, "InjectFile")->text(), QStringLiteral("Datei &injizieren…"));
        QVERIFY2(statusLine(window).endsWith(
                     QStringLiteral("SPTOP.COS kam als #1 nach %1, %2; die Welt antwortete: "
                                    "kein Fehler")
                         .arg(top.x)
                         .arg(top.y)),
                 qPrintable(statusLine(window)));
        saveScreenshot(window, QStringLiteral("vivwin-rooms-german"));
    }

    // A map file the loader refuses is an error naming it; the world then runs without rooms.
    void aRefusedMapFileIsToldAndTheWorldRunsBare() {
        TestWorkbench::Options ownDemo;
        ownDemo.privateDemo = true;
        TestWorkbench bench(ownDemo);
        const std::filesystem::path images = bench.demo().gameDirectory() / "Images";
        std::ofstream(images / std::string(vivarium::kMapFileName), std::ios::app) << "wall 3\n";
        VivariumWindow* window = openVivarium(bench);
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY2(bench.dialogs().errors()[0].text.contains(QStringLiteral("vivarium-map.txt")),
                 qPrintable(bench.dialogs().errors()[0].text));
        QVERIFY(window->session().world().map().rooms().empty());
    }

    void injectFileTellsWhereTheObjectWentAndWhatTheWorldAnswered() {
        TestWorkbench bench;
        VivariumWindow* window = openVivarium(bench);
        injectThroughTheButton(bench, window, bench.demo().gameDirectory() / "SPTOP.COS");
        QCOMPARE(window->session().world().objects().size(), std::size_t{1});
        const vivarium::Object& top = window->session().world().objects().front();
        QVERIFY2(statusLine(window).endsWith(
                     QStringLiteral("SPTOP.COS went in as #1 at %1, %2; the world answered: "
                                    "no fault")
                         .arg(top.x)
                         .arg(top.y)),
                 qPrintable(statusLine(window)));
        QCOMPARE(window->selectedObject(), 1);

        const std::filesystem::path broken = bench.scratch() / "BROKEN.COS";
        std::ofstream(broken) << "inst\nnew: simp vtop 4 0 2000 0\npose 40\nendm\n";
        injectThroughTheButton(bench, window, broken);
        QVERIFY2(statusLine(window).contains(QStringLiteral("BROKEN.COS went in as #2")) &&
                     statusLine(window).contains(QStringLiteral("pose 40 is beyond")),
                 qPrintable(statusLine(window)));
        const std::filesystem::path scriptOnly = bench.scratch() / "SCRIPT.COS";
        std::ofstream(scriptOnly) << "scrp 2 21 7 9\nsnde none\nendm\n";
        injectThroughTheButton(bench, window, scriptOnly);
        QVERIFY2(statusLine(window).endsWith(
                     QStringLiteral("SCRIPT.COS made no object; the world answered: no fault")),
                 qPrintable(statusLine(window)));
    }

    // The list's row chosen with the mouse brings its object into the view, framed.
    void selectingAnObjectScrollsTheViewToItAndMarksIt() {
        TestWorkbench bench;
        VivariumWindow* window = openVivarium(bench);
        injectThroughTheButton(bench, window, bench.demo().gameDirectory() / "SPTOP.COS");
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
        list->setCurrentItem(nullptr);
        QCOMPARE(window->view()->markedObject(), 0);
        QScrollArea* scroll = scrollOf(window);
        scroll->horizontalScrollBar()->setValue(0);
        scroll->verticalScrollBar()->setValue(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->topLevelItem(0)).center());
        QCOMPARE(window->view()->markedObject(), 1);
        const vivarium::Object& top = window->session().world().objects().front();
        const QRect shown(scroll->horizontalScrollBar()->value(),
                          scroll->verticalScrollBar()->value(), scroll->viewport()->width(),
                          scroll->viewport()->height());
        QVERIFY(shown.contains(QPoint(top.x, top.y)));
    }

    // Ctrl and the wheel zoom one step at the mouse: the world point under it stays there.
    void ctrlWheelZoomsAtTheMouse() {
        TestWorkbench bench;
        VivariumWindow* window = openVivarium(bench);
        QScrollArea* scroll = scrollOf(window);
        scroll->horizontalScrollBar()->setValue(3000);
        scroll->verticalScrollBar()->setValue(400);
        const QPoint inViewport(200, 150);
        const QPoint viewPoint = inViewport + QPoint(3000, 400);
        const QPoint world = window->view()->worldPoint(viewPoint);
        turnTheWheel(window->view(), viewPoint, Qt::ControlModifier);
        QCOMPARE(window->view()->zoom(), 1.25);
        const QPoint nowUnder =
            window->view()->worldPoint(inViewport + QPoint(scroll->horizontalScrollBar()->value(),
                                                           scroll->verticalScrollBar()->value()));
        QVERIFY2((nowUnder - world).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(nowUnder.x()).arg(nowUnder.y())));
        // Without Ctrl the wheel scrolls and leaves the zoom.
        turnTheWheel(window->view(), viewPoint, Qt::NoModifier);
        QCOMPARE(window->view()->zoom(), 1.25);
    }

    void aCarriedObjectFollowsTheHand() {
        TestWorkbench bench;
        VivariumWindow* window = openVivarium(bench);
        injectThroughTheButton(bench, window, bench.demo().gameDirectory() / "SPTOP.COS");
        const vivarium::Object& top = window->session().world().objects().front();
        const QPoint corner(top.x, top.y);
        const QPoint grip = corner + QPoint(5, 5);
        QWidget* view = window->view();
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, grip);
        for (const QPoint step : {QPoint(10, 0), QPoint(40, -20), QPoint(90, -60)}) {
            moveHeld(view, grip + step);
            QCOMPARE(window->view()->carriedObject(), 1);
            QCOMPARE(window->view()->carriedCorner(), corner + step);
        }
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, grip + QPoint(90, -60));
        QCOMPARE(window->view()->carriedObject(), 0);
        QVERIFY(window->session().world().objects().front().x == corner.x() + 90);
    }

    // A fault pauses the running world with its object selected, its command crossed and its
    // variables shown; with the switch off the world runs on.
    void aFaultStopsTheWorldAtItsCommand() {
        TestWorkbench bench;
        VivariumWindow* window = openVivarium(bench);
        QVERIFY(action(window, "StopOnFault")->isChecked());
        injectThroughTheButton(bench, window, bench.demo().gameDirectory() / "SPTOP.COS");
        window->session().runMacro("inst,scrp 2 21 7 2,setv obv0 3,pose 40,endm");
        const vivarium::Object& top = window->session().world().objects().front();
        auto* list = window->findChild<QTreeWidget*>(QStringLiteral("ObjectList"));
        list->setCurrentItem(nullptr);
        QTest::mouseClick(window->view(), Qt::RightButton, Qt::NoModifier,
                          QPoint(top.x + 5, top.y + 5));
        window->run();
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), 5000);
        QVERIFY2(statusLine(window).contains(QStringLiteral("stopped at a fault of #1")),
                 qPrintable(statusLine(window)));
        QCOMPARE(window->selectedObject(), 1);
        QCOMPARE(faultedCommand(window), QStringLiteral("pose 40"));
        QCOMPARE(variableValue(window, QStringLiteral("obv0")), QStringLiteral("3"));
        auto* log = window->findChild<QListWidget*>(QStringLiteral("HappeningLog"));
        QVERIFY(log->count() >= 1);
        QListWidgetItem* row = log->item(log->count() - 1);
        QVERIFY2(row->text().startsWith(
                     QStringLiteral("tick %1: ").arg(window->session().world().currentTick())),
                 qPrintable(row->text()));
        QCOMPARE(row->toolTip(), row->text());
        saveScreenshot(window, QStringLiteral("vivwin-fault-english"));
        bench.windows().main->SpeedButton13Click();  // DE
        QVERIFY(statusLine(window).contains(QStringLiteral("angehalten bei einem Fehler von #1")));
        QCOMPARE(action(window, "StopOnFault")->text(), QStringLiteral("Bei &Fehler anhalten"));
        saveScreenshot(window, QStringLiteral("vivwin-fault-german"));

        // Going on clears the mark; with the switch off a fault no longer stops the world.
        action(window, "StopOnFault")->setChecked(false);
        window->stepOneTick();
        QCOMPARE(faultedCommand(window), QString());
        QTest::mouseClick(window->view(), Qt::RightButton, Qt::NoModifier,
                          QPoint(top.x + 5, top.y + 5));
        const int started = window->session().world().currentTick();
        window->run();
        QTRY_VERIFY_WITH_TIMEOUT(window->session().world().currentTick() >= started + 3, 5000);
        QVERIFY(window->running());
        window->pause();
    }
};

VEK_UI_TEST_MAIN(VivariumSwitchesTest)
#include "vivarium_switches_test.moc"
