#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "gamelink/creatures.h"
#include "sprites/bitmap.h"
#include "sprites/ui/sprite_editor_window.h"
#include "support/ui/workbench_fixture.h"
#include "world/map_raster.h"
#include "world/ui/map_window.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

MapWindow* mapWindow(TestWorkbench& bench) { return bench.windows().map; }
QProgressBar* progressBar(TestWorkbench& bench) {
    return mapWindow(bench)->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
}
QWidget* image(TestWorkbench& bench) {
    return mapWindow(bench)->findChild<QWidget*>(QStringLiteral("Image1"));
}

fs::path landscapeFile(TestWorkbench& bench) {
    return bench.demo().programDirectory() / "landscape.bmp";
}
fs::path backFile(TestWorkbench& bench) {
    return pathFromUtf8(bench.context().game.paths().CImagePath) / "back.spr";
}

// The map as the core draws it from the installation's back.spr.
RgbImage coreMap(TestWorkbench& bench) {
    RgbImage map;
    drawMap(backFile(bench), bench.palette(), map);
    return map;
}

TestWorkbench::Options privateDemo() {
    TestWorkbench::Options options;
    options.privateDemo = true;
    return options;
}

void moveMouse(QWidget* widget, QPoint position) {
    QMouseEvent event(QEvent::MouseMove, QPointF(position), QPointF(widget->mapToGlobal(position)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

class MapWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void isBuiltAsDesigned() {
        TestWorkbench bench;
        MapWindow* window = mapWindow(bench);
        QCOMPARE(window->objectName(), QStringLiteral("TForm6"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Draw a Map of Albia"));
        QCOMPARE(tagOf(window->findChild<QAction*>(QStringLiteral("Map1"))), 41);
        QCOMPARE(tagOf(window->findChild<QAction*>(QStringLiteral("CreateMap1"))), 42);
        QCOMPARE(tagOf(window->findChild<QAction*>(QStringLiteral("SaveMap1"))), 43);
        QCOMPARE(progressBar(bench)->minimum(), 0);
        QCOMPARE(progressBar(bench)->maximum(), 57);
        QVERIFY(progressBar(bench)->isHidden());
        QCOMPARE(image(bench)->size(), QSize(2088, 288));
        QCOMPARE(image(bench)->cursor().shape(), Qt::CrossCursor);
        // At the left edge, as wide as the screen.
        const QRect screen = window->screen()->availableGeometry();
        QTRY_COMPARE(window->x(), screen.left());
        QTRY_COMPARE(window->width(), screen.width());
    }

    void theLanguageSwitchReachesTheMenu() {
        TestWorkbench bench;
        bench.workbench().changeLanguage(1000);
        QCOMPARE(mapWindow(bench)->findChild<QAction*>(QStringLiteral("Map1"))->text(),
                 QStringLiteral("&Karte"));
        QCOMPARE(mapWindow(bench)->findChild<QAction*>(QStringLiteral("CreateMap1"))->text(),
                 QStringLiteral("Karte &erzeugen"));
        QCOMPARE(mapWindow(bench)->findChild<QAction*>(QStringLiteral("SaveMap1"))->text(),
                 QStringLiteral("Karte als .BMP Datei &speichern"));
    }

    void createMapDrawsFromTheBackgroundFileAndCachesIt() {
        TestWorkbench bench(privateDemo());
        QVERIFY(!fs::exists(landscapeFile(bench)));
        QCOMPARE(mapWindow(bench)->map().at(0, 0), 0xFFFFFFu);  // nothing loaded at creation

        QStringList titles;
        std::vector<int> barValues;
        connect(progressBar(bench), &QProgressBar::valueChanged, this,
                [&](int value) { barValues.push_back(value); });
        connect(mapWindow(bench), &QWidget::windowTitleChanged, this,
                [&](const QString& title) { titles << title; });
        mapWindow(bench)->CreateMap1Click();
        QVERIFY(bench.dialogs().errors().empty());
        QCOMPARE(titles,
                 (QStringList{QStringLiteral("Please Wait - this may take several minutes..."),
                              QStringLiteral("Done... Puhh...")}));
        QCOMPARE(barValues.back(), 57);
        QVERIFY(progressBar(bench)->isHidden());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        const RgbImage expected = coreMap(bench);
        QCOMPARE(mapWindow(bench)->map().pixels, expected.pixels);
        QCOMPARE(readBitmap(landscapeFile(bench)).pixels, expected.pixels);

        // From now on the cached map is only loaded: no drawing, the title stays, the bar hides.
        fs::remove(backFile(bench));
        writeBitmap(landscapeFile(bench), RgbImage(2088, 288, 0x00FF00));
        titles.clear();
        mapWindow(bench)->CreateMap1Click();
        QVERIFY(bench.dialogs().errors().empty());
        QVERIFY(titles.isEmpty());
        QVERIFY(progressBar(bench)->isHidden());
        QCOMPARE(mapWindow(bench)->map().at(2087, 287), 0x00FF00u);
    }

    void theCachedMapIsLoadedWhenTheWindowIsCreated() {
        const fs::path landscape = sharedDemo().programDirectory() / "landscape.bmp";
        writeBitmap(landscape, RgbImage(100, 50, 0x123456));
        TestWorkbench bench;
        fs::remove(landscape);
        QCOMPARE(mapWindow(bench)->map().width, 100);
        QCOMPARE(mapWindow(bench)->map().at(99, 49), 0x123456u);
        QCOMPARE(mapWindow(bench)->windowTitle(), QStringLiteral("Draw a Map of Albia"));
    }

    void aShortBackgroundFileShowsTheErrorKeepsWhatWasDrawnAndCachesNothing() {
        TestWorkbench bench(privateDemo());
        const RgbImage full = coreMap(bench);
        // Twenty whole columns and a bit.
        const std::vector<std::uint8_t> bytes = readFileBytes(backFile(bench));
        const std::size_t keep = kBackHeaderSize + 20 * 8 * kBackTileBytes + 100;
        writeFileAtomically(backFile(bench), std::span(bytes).first(keep));

        mapWindow(bench)->CreateMap1Click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(bench.dialogs().errors()[0].text.startsWith(
            QStringLiteral("Lesen nach Dateiende (EOF)\n") + fromPath(backFile(bench))));
        QVERIFY(!fs::exists(landscapeFile(bench)));
        const RgbImage& map = mapWindow(bench)->map();
        QCOMPARE(map.at(20 * 36 - 1, 287), full.at(20 * 36 - 1, 287));
        QCOMPARE(map.at(20 * 36, 0), 0xFFFFFFu);
        QVERIFY(progressBar(bench)->isHidden());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(mapWindow(bench)->windowTitle(), QStringLiteral("Draw a Map of Albia"));
    }

    void theTitleShowsTheWorldCoordinatesUnderTheMouse() {
        TestWorkbench bench;
        moveMouse(image(bench), QPoint(0, 0));
        QCOMPARE(mapWindow(bench)->windowTitle(), QStringLiteral("X: 0       Y: 0"));
        moveMouse(image(bench), QPoint(2087, 287));
        QCOMPARE(mapWindow(bench)->windowTitle(), QStringLiteral("X: 8348       Y: 1148"));
        moveMouse(image(bench), QPoint(13, 100));
        QCOMPARE(mapWindow(bench)->windowTitle(), QStringLiteral("X: 52       Y: 400"));
        // The status line shows them too, until the pointer leaves the map.
        QStatusBar* status = mapWindow(bench)->statusBar();
        QCOMPARE(status->currentMessage(), QStringLiteral("X: 52       Y: 400"));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(image(bench), &leave);
        QVERIFY(status->currentMessage().isEmpty());
    }

    void saveMapWritesThePictureAsABitmap() {
        TestWorkbench bench(privateDemo());
        mapWindow(bench)->CreateMap1Click();
        bench.context().look.setLanguage("deutsch");
        const fs::path target = bench.scratch() / "albia";
        bench.dialogs().fileAnswers = {fromPath(target), std::nullopt};
        mapWindow(bench)->SaveMap1Click();
        mapWindow(bench)->SaveMap1Click();  // cancelled: nothing happens
        const auto saves = bench.dialogs().ofKind(QStringLiteral("save"));
        QCOMPARE(saves.size(), std::size_t{2});
        QCOMPARE(saves[0].text, QStringLiteral("Karte als .BMP speichern"));
        QCOMPARE(readBitmap(bench.scratch() / "albia.BMP").pixels, mapWindow(bench)->map().pixels);
        QCOMPARE(mapWindow(bench)->statusBar()->currentMessage(),
                 QStringLiteral("albia.BMP gespeichert"));
        QVERIFY(bench.dialogs().errors().empty());
    }

    void screenshot() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the map");
        TestWorkbench bench(privateDemo());
        mapWindow(bench)->CreateMap1Click();
        mapWindow(bench)->resize(1100, mapWindow(bench)->height());
        mapWindow(bench)->show();
        QApplication::processEvents();
        moveMouse(image(bench), QPoint(1000, 200));
        saveScreenshot(mapWindow(bench), QStringLiteral("map_window"));
    }
};

VEK_UI_TEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
