#include <QTest>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/window_places.h"
#include "objects/ui/object_compiler_window.h"
#include "studio/workbench.h"
#include "support/ui/workbench_fixture.h"
#include "vivarium/ui/vivarium_window.h"

namespace vek::ui {

using testing::TestWorkbench;

class WindowPlacesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void eachWindowOpensWhereItWasLeftAndTheMainWindowWhereItBelongs();
};

// A window with a place of its own takes back its size and place; a tool window that opens
// under the main window takes back its size only; the main window keeps its designed size.
// Whatever is open when the program ends is remembered for the next start.
void WindowPlacesTest::eachWindowOpensWhereItWasLeftAndTheMainWindowWhereItBelongs() {
    TestWorkbench::Options options;
    options.windowPlacesText =
        "VivariumWindow=40,50,700,500\r\nTForm2=300,300,610,450\r\nTForm8=5,5,900,900\r\n";
    TestWorkbench bench(std::move(options));
    MainWindow* main = bench.windows().main;
    const QSize designed = main->size();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QCOMPARE(main->size(), designed);

    bench.workbench().showVivarium();
    VivariumWindow* vivarium = bench.workbench().vivarium();
    QVERIFY(QTest::qWaitForWindowExposed(vivarium));
    QCOMPARE(vivarium->size(), QSize(700, 500));
    QCOMPARE(vivarium->pos(), QPoint(40, 50));

    ObjectCompilerWindow* compiler = bench.windows().objectCompiler;
    QTest::mouseClick(main->toolButton(ToolWindowGroup::ObjectCompiler), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(compiler));
    QCOMPARE(compiler->size(), QSize(610, 450));
    QCOMPARE(compiler->pos(), QPoint(0, main->frameGeometry().height()));

    vivarium->move(60, 70);
    vivarium->resize(720, 530);
    vivarium->close();
    compiler->resize(620, 460);
    const std::filesystem::path store = windowPlacesBeside(bench.vekIniPath());
    QCOMPARE(WindowPlaces(store).place("TForm2")->width, 610);
    bench.endProgram();
    const WindowPlaces kept(store);
    QCOMPARE(kept.place("VivariumWindow"), (WindowPlace{60, 70, 720, 530}));
    QCOMPARE(kept.place("TForm2")->width, 620);
    QCOMPARE(kept.place("TForm2")->height, 460);
    QCOMPARE(kept.place("TForm8"), (WindowPlace{5, 5, 900, 900}));
}

}  // namespace vek::ui

VEK_UI_TEST_MAIN(vek::ui::WindowPlacesTest)
#include "window_places_test.moc"
