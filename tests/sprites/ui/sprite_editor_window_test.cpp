#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>
#include <filesystem>
#include <numeric>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/multi_shape.h"
#include "app/vek_error.h"
#include "gamelink/creatures.h"
#include "objects/object_document.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/bitmap.h"
#include "sprites/palette.h"
#include "sprites/picture_file.h"
#include "sprites/png.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_render.h"
#include "sprites/sprite_tools.h"
#include "sprites/ui/bitmap_converter_window.h"
#include "sprites/ui/sprite_editor_window.h"
#include "sprites/ui/sprite_file_creator_window.h"
#include "support/ui/workbench_fixture.h"
#include "tests/sprites/sprite_test_support.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

using vek::testing::patterned;

SpriteEditorWindow* editor(TestWorkbench& bench) { return bench.windows().spriteEditor; }

template <typename Control = QWidget>
Control* control(TestWorkbench& bench, const char* name) {
    auto* found = editor(bench)->findChild<Control*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

QAction* menuItem(TestWorkbench& bench, const char* name) { return control<QAction>(bench, name); }

fs::path writeSprites(TestWorkbench& bench, const char* name,
                      const std::vector<SpriteImage>& sprites) {
    const fs::path file = bench.scratch() / name;
    writeSpriteFile(file, sprites);
    return file;
}

void openWithDialog(TestWorkbench& bench, const fs::path& file) {
    bench.dialogs().fileAnswers.push_back(fromPath(file));
    editor(bench)->OpenSpriteFile1Click();
}

QStringList listLines(TestWorkbench& bench) {
    QStringList lines;
    auto* list = control<QListWidget>(bench, "ListBox1");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                      modifiers);
    QApplication::sendEvent(widget, &event);
}

void press(QWidget* widget, QPoint at, Qt::MouseButton button,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    sendMouse(widget, QEvent::MouseButtonPress, at, button, button, modifiers);
}

void move(QWidget* widget, QPoint at, Qt::MouseButtons buttons) {
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, buttons);
}

void release(QWidget* widget, QPoint at, Qt::MouseButton button) {
    sendMouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// A left-button drag as a hand makes it: a pause between the events, only the listed positions.
void dragSlowly(QWidget* area, int zoom, const QList<QPoint>& pixels) {
    const QPoint centre(zoom / 2, zoom / 2);
    press(area, pixels.front() * zoom + centre, Qt::LeftButton);
    for (const QPoint& pixel : pixels.mid(1)) {
        QTest::qWait(15);
        move(area, pixel * zoom + centre, Qt::LeftButton);
    }
    QTest::qWait(15);
    release(area, pixels.back() * zoom + centre, Qt::LeftButton);
}

// A left-button drag over sprite pixels as a fast hand reports it: only the listed positions,
// with gaps between them.
void drag(QWidget* area, int zoom, const QList<QPoint>& pixels,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint centre(zoom / 2, zoom / 2);
    press(area, pixels.front() * zoom + centre, Qt::LeftButton, modifiers);
    for (const QPoint& pixel : pixels.mid(1)) {
        sendMouse(area, QEvent::MouseMove, pixel * zoom + centre, Qt::NoButton, Qt::LeftButton,
                  modifiers);
    }
    release(area, pixels.back() * zoom + centre, Qt::LeftButton);
}

// The pixels of the current sprite that hold `index`, row by row.
std::vector<PixelPoint> pixelsOf(TestWorkbench& bench, std::uint8_t index) {
    std::vector<PixelPoint> found;
    const SpriteImage& sprite = bench.spriteDocument().sprite();
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x)
            if (sprite.at(x, y) == index) found.push_back({x, y});
    return found;
}

std::vector<PixelPoint> sortedByRows(std::vector<PixelPoint> points) {
    std::sort(points.begin(), points.end(),
              [](PixelPoint a, PixelPoint b) { return std::pair(a.y, a.x) < std::pair(b.y, b.x); });
    return points;
}

// Shows the window, active, so that its keys reach the menus.
void showActive(SpriteEditorWindow* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// Drags a file onto a window and drops it there; false when the window refused the drag.
bool dropOn(QWidget* target, const fs::path& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(fromPath(file))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QColor swatchColor(TestWorkbench& bench, const char* name) {
    return control<QLabel>(bench, name)->palette().color(QPalette::Window);
}

// Paint events of a widget, with the regions they repainted.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

}  // namespace

class SpriteEditorWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void isBuiltAsDesigned() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        QCOMPARE(window->objectName(), QStringLiteral("TForm1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor"));
        QStringList shownMenus;
        for (QAction* menu : window->menuBar()->actions()) {
            if (menu->isVisible()) shownMenus << menu->objectName();
        }
        QCOMPARE(shownMenus, (QStringList{"File1", "Edit1", "Zoom1", "Tools1"}));
        for (const char* name : {"SaveSprite1", "SaveSpritetonewFile1", "ClearSprite1",
                                 "CopySprite1", "PasteSprite1", "ClearDrawingArea1"}) {
            QVERIFY2(!menuItem(bench, name)->isEnabled(), name);
        }
        QVERIFY(menuItem(bench, "SaveSpritetoBMP1")->isEnabled());
        QVERIFY(!menuItem(bench, "Zoom1")->isEnabled());
        QVERIFY(menuItem(bench, "N1x11")->isChecked());
        QCOMPARE(menuItem(bench, "N16x161")->text(), QStringLiteral("Zoom 1&600%"));
        QCOMPARE(tagOf(menuItem(bench, "OpenSpriteFile1")), 36);
        QCOMPARE(tagOf(menuItem(bench, "CopySPRfilestooneSPRfil1")), 90);
        QCOMPARE(tagOf(menuItem(bench, "ConnectVEKtoCreatures1")), 78);
        QCOMPARE(tagOf(control(bench, "Image1")), 50);
        QCOMPARE(hintOf(control(bench, "Image2")),
                 QStringLiteral("Palette Area : click left or right to choose color 1 or 2"));
        QCOMPARE(control<QPushButton>(bench, "Button1")->text(), QStringLiteral("BGC"));
        QCOMPARE(tagOf(control(bench, "Button1")), 180);
        QCOMPARE(control(bench, "Image2")->size(), QSize(320, 80));
        QCOMPARE(control(bench, "Panel1")->mapTo(window->centralWidget(), QPoint(0, 0)),
                 QPoint(116, 88));
        QCOMPARE(control(bench, "Image1")->cursor().shape(), Qt::CrossCursor);
        auto* banner = control<TMultiShape>(bench, "MultiShape1");
        QCOMPARE(banner->text(), QStringLiteral("VEK"));
        QCOMPARE(banner->shape().angle(), 45);
        QCOMPARE(banner->shape().shadowColor(), 4194304u);
    }

    void creationShowsTheInfoPageAndThePalette() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const RgbImage& page = window->drawingArea();
        QCOMPARE(page.width, 297);
        QCOMPARE(page.height, 285);
        QCOMPARE(page.at(200, 100), makeScreenColor(154, 0, 0));
        QCOMPARE(page.at(200, 270), ScreenColor{0});
        QCOMPARE(control(bench, "Panel1")->size(), QSize(306, 294));
        const PaletteTable expected = readGamePalette(bench.context().game.paths().CPalettePath,
                                                      bench.context().look.spriteBackground());
        QCOMPARE(bench.palette(), expected);
        QCOMPARE(bench.palette()[0], ScreenColor{0xFFFFFF});
        QVERIFY(window->paletteArea().pixels == renderPaletteArea(expected).pixels);
        QCOMPARE(window->color1(), std::uint8_t{0});
        QCOMPARE(window->color2(), std::uint8_t{1});
        QCOMPARE(swatchColor(bench, "Label1"), QColor(Qt::white));
        QCOMPARE(swatchColor(bench, "Label2"), toQColor(expected[1]));
    }

    void withoutTheGameNothingIsPreparedButTheWindowWorks() {
        TestWorkbench::Options options = whiteBackground();
        options.gameInstalled = false;
        options.startupAnswers = {Answer::Cancel};
        TestWorkbench bench(options);
        SpriteEditorWindow* window = editor(bench);
        QVERIFY(!bench.context().startup.pathsRead());
        QVERIFY(window->paletteArea().pixels.empty());
        QVERIFY(window->drawingArea().pixels.empty());
        for (std::size_t k = 0; k < kPaletteColorCount; ++k)
            QCOMPARE(bench.palette().color(k), ScreenColor{0});
        // A file named by hand still opens.
        const fs::path file = writeSprites(bench, "a.spr", {patterned(2, 2, 1)});
        bench.spriteDocument().open(file);
        QVERIFY(bench.spriteDocument().spriteLoaded());
    }

    void openingListsTheSpritesAndShowsTheFirst() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        std::vector<SpriteImage> sprites;
        for (int i = 0; i < 13; ++i)
            sprites.push_back(patterned(32, 48, static_cast<std::uint8_t>(i)));
        const fs::path file = writeSprites(bench, "many.spr", sprites);
        openWithDialog(bench, file);
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Open Creatures .SPR file"));
        QCOMPARE(bench.dialogs().asked.back().caption,
                 toQString(bench.context().game.paths().CImagePath));
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor - many.spr"));
        const QStringList lines = listLines(bench);
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines[0], QStringLiteral("0   32X48"));
        QCOMPARE(lines[12], QStringLiteral("12  32X48"));
        QCOMPARE(bench.spriteDocument().current(), std::size_t{0});
        QVERIFY(bench.spriteDocument().sprite() == sprites[0]);
        QVERIFY(bench.spriteDocument().spriteLoaded());
        QVERIFY(menuItem(bench, "SaveSprite1")->isEnabled());
        QVERIFY(menuItem(bench, "Zoom1")->isEnabled());
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(sprites[0], bench.palette(), 1, 0xFFFFFF).pixels);
        QCOMPARE(control(bench, "Panel1")->size(), QSize(41, 57));

        // Choosing a line reads that sprite.
        control<QListWidget>(bench, "ListBox1")->setCurrentRow(5);
        QVERIFY(bench.spriteDocument().sprite() == sprites[5]);
        control<QListWidget>(bench, "ListBox1")->setCurrentRow(0);
        QVERIFY(bench.spriteDocument().sprite() == sprites[0]);
    }

    void cancellingTheOpenDialogKeepsTheFileAsSaveTarget() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const fs::path file = writeSprites(bench, "a.spr", {patterned(4, 4, 1)});
        openWithDialog(bench, file);
        editor(bench)->OpenSpriteFile1Click();  // no answer scripted: cancelled
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor - a.spr"));
        press(control(bench, "Image1"), {1, 1}, Qt::LeftButton);
        window->SaveSprite1Click();
        QCOMPARE(readSprite(file, readSpriteTable(file).entries[0]).at(1, 1), std::uint8_t{0});
    }

    void aFileWithoutSpritesLeavesNothingToEdit() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const fs::path first = writeSprites(bench, "a.spr", {patterned(4, 4, 1)});
        const fs::path empty = writeSprites(bench, "empty.spr", {});
        openWithDialog(bench, first);
        openWithDialog(bench, empty);
        QVERIFY(listLines(bench).isEmpty());
        QVERIFY(!bench.spriteDocument().spriteLoaded());
        QVERIFY(!bench.spriteDocument().current());
        window->SaveSprite1Click();
        window->ClearSprite1Click();
        QCOMPARE(readFileBytes(empty), (Bytes{0, 0}));
        QVERIFY(bench.dialogs().errors().empty());
    }

    void paintingFollowsTheButtonsAndKeys() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        SpriteImage sprite(4, 4, 0);
        sprite.at(3, 3) = 77;
        openWithDialog(bench, writeSprites(bench, "a.spr", {sprite}));
        window->setZoom(4);
        QWidget* area = control(bench, "Image1");
        QWidget* palette = control(bench, "Image2");
        press(palette, {15, 25}, Qt::LeftButton);  // column 1, row 2: index 10
        release(palette, {15, 25}, Qt::LeftButton);
        press(palette, {25, 5}, Qt::RightButton);  // index 16
        press(palette, {35, 5}, Qt::MiddleButton);
        QCOMPARE(window->color1(), std::uint8_t{10});
        QCOMPARE(window->color2(), std::uint8_t{16});
        QCOMPARE(swatchColor(bench, "Label1"), toQColor(bench.palette()[10]));

        // Shift or two buttons do nothing.
        press(area, {1, 1}, Qt::LeftButton, Qt::ShiftModifier);
        sendMouse(area, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton,
                  Qt::LeftButton | Qt::RightButton);
        press(area, {1, 1}, Qt::MiddleButton);
        QCOMPARE(bench.spriteDocument().sprite().at(0, 0), std::uint8_t{0});

        // A stroke sets the pixels under each reported position, with no line between them.
        press(area, {1, 1}, Qt::LeftButton);
        move(area, {9, 1}, Qt::LeftButton);
        move(area, {13, 13}, Qt::NoButton);
        move(area, {40, 2}, Qt::LeftButton);  // outside the sprite: ignored
        move(area, {-3, 2}, Qt::LeftButton);
        release(area, {13, 13}, Qt::LeftButton);
        move(area, {5, 13}, Qt::LeftButton);  // after the release: no drawing
        SpriteImage expected = sprite;
        expected.at(0, 0) = expected.at(2, 0) = expected.at(3, 3) = 10;
        QCOMPARE(bench.spriteDocument().sprite().pixels, expected.pixels);
        QCOMPARE(window->drawingArea().at(9, 1), bench.palette()[10]);

        press(area, {5, 5}, Qt::RightButton);
        release(area, {5, 5}, Qt::RightButton);
        QCOMPARE(bench.spriteDocument().sprite().at(1, 1), std::uint8_t{16});

        // Ctrl picks a colour from the sprite without painting (which colours: the core test).
        press(area, {13, 1}, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(window->color1(), std::uint8_t{0});
        QCOMPARE(swatchColor(bench, "Label1"), QColor(Qt::white));
        expected.at(1, 1) = 16;
        QVERIFY(bench.spriteDocument().sprite() == expected);
    }

    void aPureBlackColourShowsBlackUntilTheNextRedraw() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(2, 1, 0)}));
        // The demo palette's index 11 is pure black.
        QCOMPARE(bench.palette()[11], ScreenColor{0});
        press(control(bench, "Image2"), {15, 35}, Qt::LeftButton);
        QCOMPARE(window->color1(), std::uint8_t{11});
        press(control(bench, "Image1"), {1, 0}, Qt::LeftButton);
        QCOMPARE(window->drawingArea().at(1, 0), ScreenColor{0});
        window->setZoom(2);
        QCOMPARE(window->drawingArea().at(2, 0), ScreenColor{0xFFFFFF});
        QCOMPARE(bench.spriteDocument().sprite().at(1, 0), std::uint8_t{11});
    }

    void aStrokeRepaintsOnlyTheBlocksUnderThePointer() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "big.spr", {SpriteImage(40, 40, 3)}));
        window->setZoom(8);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QWidget* area = control(bench, "Image1");
        QApplication::processEvents();
        PaintRecorder recorder(area);
        press(area, {20, 20}, Qt::LeftButton);
        move(area, {60, 28}, Qt::LeftButton);
        release(area, {60, 28}, Qt::LeftButton);
        QApplication::processEvents();
        const QRegion blocks = QRegion(16, 16, 8, 8) + QRegion(56, 24, 8, 8);
        QVERIFY(!recorder.painted.isEmpty());
        QVERIFY2((recorder.painted - blocks).isEmpty(),
                 "painted outside the blocks under the pointer");
        window->close();
    }

    void zoomSizesTheFrameAndAThreeHundredSpriteFillsIt() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "big.spr", {SpriteImage(300, 300, 9)}));
        menuItem(bench, "N16x161")->trigger();
        QCOMPARE(window->zoom(), 16);
        QVERIFY(menuItem(bench, "N16x161")->isChecked());
        QVERIFY(!menuItem(bench, "N1x11")->isChecked());
        QCOMPARE(window->drawingArea().width, 4800);
        QCOMPARE(control(bench, "Panel1")->size(), QSize(4809, 4809));
        menuItem(bench, "N2x21")->trigger();
        QCOMPARE(control(bench, "Panel1")->size(), QSize(609, 609));
    }

    void backgroundColourIsChosenStoredAndShown() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        // With no sprite shown the info page goes and the frame shrinks.
        bench.dialogs().colorAnswers.push_back(QColor(255, 0, 0));
        window->Button1Click();
        QVERIFY(window->drawingArea().pixels.empty());
        QCOMPARE(control(bench, "Panel1")->size(), QSize(9, 9));
        QCOMPARE(bench.context().look.spriteBackground(), ScreenColor{0x0000FF});
        QVERIFY(QString::fromStdString(bench.vekIniText()).contains(QStringLiteral("SBGC=255")));
        QCOMPARE(bench.palette()[0], ScreenColor{0x0000FF});
        QCOMPARE(window->paletteArea().at(4, 4), ScreenColor{0x0000FF});
        QCOMPARE(swatchColor(bench, "Label1"), QColor(255, 0, 0));

        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(2, 2, 0)}));
        bench.dialogs().colorAnswers.push_back(QColor(0, 0, 255));
        window->Button1Click();
        QCOMPARE(window->drawingArea().at(1, 1), ScreenColor{0xFF0000});
        window->Button1Click();  // cancelled: nothing changes
        QCOMPARE(bench.context().look.spriteBackground(), ScreenColor{0xFF0000});
    }

    // The clipping and the clipboard are the document's; the window redraws after each command.
    void cutAndPasteRedrawTheDrawingArea() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const SpriteImage sprite = patterned(4, 4, 12);
        openWithDialog(bench, writeSprites(bench, "a.spr", {sprite}));
        window->ClearSprite1Click();
        QCOMPARE(window->drawingArea().at(3, 3), ScreenColor{0xFFFFFF});
        window->PasteSprite1Click();
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(sprite, bench.palette(), 1, 0xFFFFFF).pixels);
    }

    void clearAsksFirst() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const SpriteImage sprite = patterned(4, 4, 1);
        openWithDialog(bench, writeSprites(bench, "a.spr", {sprite}));
        window->CopySprite1Click();
        bench.dialogs().messageAnswers.push_back(Answer::Cancel);
        window->ClearDrawingArea1Click();
        const auto question = bench.dialogs().messages().back();
        QCOMPARE(question.text,
                 QStringLiteral("Do you realy want to clear the Drawing Area? This will delete the "
                                "current Sprite!"));
        QCOMPARE(question.caption, QStringLiteral("Clear Drawing Area?"));
        QCOMPARE(question.buttons, Buttons::OkCancel);
        QVERIFY(bench.spriteDocument().sprite() == sprite);
        bench.dialogs().messageAnswers.push_back(Answer::Ok);
        window->ClearDrawingArea1Click();
        QVERIFY(bench.spriteDocument().sprite() == SpriteImage(4, 4, 0));
        window->PasteSprite1Click();  // the clipboard was not touched
        QVERIFY(bench.spriteDocument().sprite() == sprite);
    }

    void savingToANewFileNamesItInTheCaptionAndKeepsTheList() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench,
                       writeSprites(bench, "a.spr", {SpriteImage(3, 2, 4), SpriteImage(2, 2, 5)}));
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "copy"));
        window->SaveSpritetonewFile1Click();
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Save sprite to new .SPR file"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor - copy.SPR"));
        QVERIFY(fs::exists(bench.scratch() / "copy.SPR"));
        QCOMPARE(listLines(bench), (QStringList{"0   3X2", "1   2X2"}));
    }

    void exportsWriteTheAreasAsShown() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "info.bmp"));
        window->SaveSpritetoBMP1Click();
        QVERIFY(readBitmap(bench.scratch() / "info.bmp").pixels == window->drawingArea().pixels);

        openWithDialog(bench, writeSprites(bench, "a.spr", {patterned(5, 3, 7)}));
        window->setZoom(8);
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "area"));
        window->SaveSpritetoBMP1Click();
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Save .BMP file"));
        const RgbImage area = readBitmap(bench.scratch() / "area.BMP");
        QCOMPARE(area.width, 40);
        QVERIFY(area.pixels == window->drawingArea().pixels);

        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "palette.bmp"));
        window->SavePaletteAreatoBMP1Click();
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Save palette to .BMP file"));
        QVERIFY(readBitmap(bench.scratch() / "palette.bmp").pixels == window->paletteArea().pixels);
    }

    // The object compiler opens and selects through the document; the list follows.
    void theListFollowsTheDocument() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const std::vector<SpriteImage> sprites = {patterned(2, 3, 1), patterned(5, 1, 9)};
        bench.spriteDocument().open(writeSprites(bench, "x.spr", sprites));
        bench.spriteDocument().select(1);
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor - x.spr"));
        QCOMPARE(listLines(bench), (QStringList{"0   2X3", "1   5X1"}));
        QCOMPARE(control<QListWidget>(bench, "ListBox1")->currentRow(), 1);
        QCOMPARE(window->drawingArea().width, 5);
        QVERIFY(bench.dialogs().asked.empty());
    }

    void brokenFilesGiveMessagesAndKeepWhatWasRead() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const fs::path file = bench.scratch() / "bad.spr";
        Bytes bytes = {5,  0,  // five promised, two and a half there
                       18, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 200, 0, 200, 0, 1, 2, 3};
        writeFileAtomically(file, bytes);
        openWithDialog(bench, file);
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("Lesen nach Dateiende (EOF)\n") + fromPath(file) +
                     QStringLiteral(", byte 18"));
        QCOMPARE(listLines(bench), (QStringList{"0   1X1", "1   200X200"}));
        QVERIFY(!bench.spriteDocument().spriteLoaded());

        control<QListWidget>(bench, "ListBox1")->setCurrentRow(0);
        QVERIFY(bench.spriteDocument().spriteLoaded());
        control<QListWidget>(bench, "ListBox1")->setCurrentRow(1);  // its pixels are not there
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{2});
        QVERIFY(!bench.spriteDocument().spriteLoaded());
        window->SaveSprite1Click();
        QVERIFY(readFileBytes(file) == bytes);
    }

    void mergeJoinsTheChosenFiles() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const fs::path a =
            writeSprites(bench, "a.spr", {SpriteImage(8, 8, 1), SpriteImage(8, 8, 2)});
        const fs::path b = writeSprites(bench, "b.spr", {SpriteImage(4, 2, 3)});
        bench.dialogs().fileListAnswers.push_back(QStringList{fromPath(a), fromPath(b)});
        bench.dialogs().fileAnswers.push_back(fromPath(bench.scratch() / "ab.spr"));
        window->CopySPRfilestooneSPRfil1Click();
        QCOMPARE(bench.dialogs().asked[0].text,
                 QStringLiteral("Connect several SPR files together"));
        QCOMPARE(bench.dialogs().asked[1].text,
                 QStringLiteral("Connect several SPR files together"));
        QCOMPARE(readFileBytes(bench.scratch() / "ab.spr").size(), std::size_t{162});

        const std::size_t asked = bench.dialogs().asked.size();
        window->CopySPRfilestooneSPRfil1Click();  // selection cancelled: no save dialog
        QCOMPARE(bench.dialogs().asked.size(), asked + 1);
    }

    void toolsMenuShowsTheOtherSpriteWindows() {
        TestWorkbench bench(whiteBackground());
        menuItem(bench, "SpriteFileCreator1")->trigger();
        QVERIFY(bench.windows().spriteFileCreator->isVisible());
        menuItem(bench, "BMPtoSpriteconverter1")->trigger();
        QVERIFY(bench.windows().bitmapConverter->isVisible());
        bench.windows().spriteFileCreator->close();
        bench.windows().bitmapConverter->close();
    }

    void speaksGerman() {
        TestWorkbench bench(whiteBackground());
        bench.windows().main->SpeedButton13Click();
        QCOMPARE(menuItem(bench, "OpenSpriteFile1")->text(),
                 QStringLiteral("Sprite Datei &öffnen..."));
        QCOMPARE(menuItem(bench, "N1x11")->text(), QStringLiteral("Zoom &100%"));
        QCOMPARE(control<QPushButton>(bench, "Button1")->text(), QStringLiteral("HGF"));
        QCOMPARE(hintOf(control(bench, "Image1")),
                 QStringLiteral("Grafik Bereich: klicke links oder rechts zum Zeichnen oder halte "
                                "Strg gedrückt und "
                                "klicke um eine Farbe zu wählen"));
        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(1, 1, 1)}));
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Creatures .SPR Datei oeffnen"));
        bench.dialogs().messageAnswers.push_back(Answer::Cancel);
        editor(bench)->ClearDrawingArea1Click();
        QCOMPARE(bench.dialogs().messages().back().caption,
                 QStringLiteral("Zeichenflaeche loeschen?"));
        // An error's detail is in the interface language too.
        writeFileAtomically(bench.scratch() / "short.spr", Bytes{1, 0});
        openWithDialog(bench, bench.scratch() / "short.spr");
        QCOMPARE(bench.dialogs().errors().back().text,
                 QStringLiteral("Lesen nach Dateiende (EOF)\n") +
                     fromPath(bench.scratch() / "short.spr") + QStringLiteral(", Byte 2"));
    }

    void debuggerMenuTestsTheConnection() {
        TestWorkbench bench(whiteBackground());
        menuItem(bench, "ConnectVEKtoCreatures1")->trigger();  // no game is running
        QCOMPARE(
            bench.dialogs().messages().back().text,
            QStringLiteral("Creatures not found! Run Creatures or continue your work offline!"));
        // Showing the editor tests silently.
        const std::size_t asked = bench.dialogs().asked.size();
        editor(bench)->show();
        QCOMPARE(bench.dialogs().asked.size(), asked);
        editor(bench)->close();
    }

    // What a stroke leaves on the screen, at the smallest and the largest zoom, is there right
    // after the release and is what a full rebuild of the area shows.
    void aStrokeIsOnScreenAtOnceAndAsAFullRebuildShowsIt() {
        for (const int zoom : {1, 16}) {
            TestWorkbench bench(whiteBackground());
            SpriteEditorWindow* window = editor(bench);
            openWithDialog(bench, writeSprites(bench, "s.spr", {patterned(30, 20, 40)}));
            window->setZoom(zoom);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QWidget* area = control(bench, "Image1");
            press(control(bench, "Image2"), {15, 25}, Qt::LeftButton);  // index 10, not black
            const QList<QPoint> stroke = {{3, 4}, {4, 4}, {9, 12}, {12, 10}};  // all in sight
            press(area, stroke.front() * zoom, Qt::LeftButton);
            for (const QPoint& pixel : stroke) move(area, pixel * zoom, Qt::LeftButton);
            release(area, stroke.back() * zoom, Qt::LeftButton);
            QApplication::processEvents();

            const RgbImage rebuilt =
                renderDrawingArea(bench.spriteDocument().sprite(), bench.palette(), zoom, 0xFFFFFF);
            QVERIFY(window->drawingArea().pixels == rebuilt.pixels);
            // The window as it is on the screen, once the repaint asked for has come.
            const auto onScreen = [&](QPoint pixel) {
                const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
                return QColor(screen.pixel(area->mapTo(window, pixel * zoom)));
            };
            for (const QPoint& pixel : stroke)
                QTRY_COMPARE(onScreen(pixel), toQColor(bench.palette()[10]));
            window->close();
        }
    }

    // A click on another sprite that the user then cancels leaves the list on the sprite shown,
    // highlighted and current.
    void cancelPutsTheClickedListBackOnTheShownSprite() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "three.spr",
                                           {SpriteImage(2, 2, 1), SpriteImage(2, 2, 2),
                                            SpriteImage(2, 2, 3)}));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        press(control(bench, "Image1"), {0, 0}, Qt::LeftButton);
        release(control(bench, "Image1"), {0, 0}, Qt::LeftButton);
        auto* list = control<QListWidget>(bench, "ListBox1");
        bench.dialogs().messageAnswers = {Answer::Cancel};
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center());
        QApplication::processEvents();
        QCOMPARE(bench.spriteDocument().current(), std::size_t{0});
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        window->close();
    }

    void aChangedSpriteIsNotLeftWithoutAQuestion() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const std::vector<SpriteImage> sprites = {SpriteImage(2, 2, 1), SpriteImage(2, 2, 2),
                                                  SpriteImage(2, 2, 3)};
        const fs::path file = writeSprites(bench, "three.spr", sprites);
        const Bytes original = readFileBytes(file);
        openWithDialog(bench, file);
        auto* list = control<QListWidget>(bench, "ListBox1");
        auto paintFirstPixel = [&] {
            press(control(bench, "Image1"), {0, 0}, Qt::LeftButton);
            release(control(bench, "Image1"), {0, 0}, Qt::LeftButton);
        };
        paintFirstPixel();
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor - three.spr*"));

        // Cancel stays on the painted sprite, and the list with it.
        bench.dialogs().messageAnswers = {Answer::Cancel};
        list->setCurrentRow(1);
        const auto question = bench.dialogs().messages().back();
        QCOMPARE(question.text, QStringLiteral("The sprite was changed but not saved! Would you "
                                               "like to save it now?"));
        QCOMPARE(question.caption, QStringLiteral("Sprite not saved!"));
        QCOMPARE(question.buttons, Buttons::YesNoCancel);
        QCOMPARE(bench.spriteDocument().current(), std::size_t{0});
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(bench.spriteDocument().sprite().at(0, 0), window->color1());

        // No lets the painting go; the file keeps its pixels.
        bench.dialogs().messageAnswers = {Answer::No};
        list->setCurrentRow(1);
        QCOMPARE(bench.spriteDocument().current(), std::size_t{1});
        QCOMPARE(readFileBytes(file), original);
        QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor - three.spr"));

        // Yes saves in place before the next sprite is read.
        paintFirstPixel();
        bench.dialogs().messageAnswers = {Answer::Yes};
        list->setCurrentRow(2);
        QCOMPARE(bench.spriteDocument().current(), std::size_t{2});
        QCOMPARE(readSprite(file, readSpriteTable(file).entries[1]).at(0, 0), window->color1());

        // Another file, and the end of the program, ask too; Cancel keeps both.
        paintFirstPixel();
        const std::size_t asked = bench.dialogs().messages().size();
        bench.dialogs().messageAnswers = {Answer::Cancel};
        openWithDialog(bench, writeSprites(bench, "other.spr", sprites));
        QCOMPARE(bench.spriteDocument().table().file, file);
        bench.dialogs().messageAnswers = {Answer::Cancel};
        bench.windows().main->show();
        QVERIFY(!bench.windows().main->close());
        QCOMPARE(bench.dialogs().messages().size(), asked + 2);
        QVERIFY(bench.spriteDocument().changed());
    }

    void undoAndRedoTakeBackStrokesAndCommands() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const SpriteImage sprite = patterned(4, 4, 20);
        openWithDialog(bench, writeSprites(bench, "a.spr", {sprite}));
        QAction* undo = menuItem(bench, "Undo1");
        QAction* redo = menuItem(bench, "Redo1");
        QCOMPARE(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(redo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                      QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        QVERIFY(!undo->isEnabled());

        // A stroke, then Cut, Paste and Clear: each is one step back.
        QWidget* area = control(bench, "Image1");
        press(area, {0, 0}, Qt::LeftButton);
        for (int x = 1; x < 4; ++x) move(area, {x, x}, Qt::LeftButton);
        release(area, {3, 3}, Qt::LeftButton);
        QVERIFY(undo->isEnabled());
        std::vector<SpriteImage> states = {sprite, bench.spriteDocument().sprite()};
        window->CopySprite1Click();
        bench.spriteDocument().paint(0, 3, 99);  // something for Paste to change
        states.push_back(bench.spriteDocument().sprite());
        for (QAction* command : {menuItem(bench, "ClearSprite1"), menuItem(bench, "PasteSprite1"),
                                 menuItem(bench, "ClearDrawingArea1")}) {
            command->trigger();
            states.push_back(bench.spriteDocument().sprite());
        }
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            undo->trigger();
            QVERIFY(bench.spriteDocument().sprite() == states[i - 1]);
            QVERIFY(window->drawingArea().pixels ==
                    renderDrawingArea(states[i - 1], bench.palette(), 1, 0xFFFFFF).pixels);
        }
        QVERIFY(!undo->isEnabled());
        QVERIFY(redo->isEnabled());
        redo->trigger();
        QVERIFY(bench.spriteDocument().sprite() == states[1]);

        // The keys reach the menu when the window is active.
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(bench.spriteDocument().sprite() == sprite);
        QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(bench.spriteDocument().sprite() == states[1]);
        QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(window->zoom(), 2);
        window->close();
    }

    void theWheelScrollsTheDrawingAreaAndZoomsWithCtrl() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        // Larger than the drawing area at either zoom, whatever width the tool strip gives the
        // window.
        openWithDialog(bench, writeSprites(bench, "big.spr", {patterned(900, 700, 1)}));
        window->setZoom(2);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* scroll = control<QScrollArea>(bench, "ScrollBox");
        QWidget* viewport = scroll->viewport();
        auto wheel = [&](QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
            QWheelEvent event(QPointF(at), QPointF(viewport->mapToGlobal(at)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &event);
        };
        const QPoint listAt = control(bench, "ListBox1")->mapTo(window, QPoint(0, 0));
        wheel({50, 50}, -120, Qt::NoModifier);
        QVERIFY(scroll->verticalScrollBar()->value() > 0);
        QCOMPARE(control(bench, "ListBox1")->mapTo(window, QPoint(0, 0)), listAt);

        // Ctrl+wheel: the sprite pixel under the pointer stays under it.
        const QPoint at(60, 40);
        auto pixelUnderPointer = [&] {
            const QPoint point = control(bench, "Image1")->mapFrom(viewport, at);
            return QPoint(point.x() / window->zoom(), point.y() / window->zoom());
        };
        const QPoint pixelBefore = pixelUnderPointer();
        wheel(at, 120, Qt::ControlModifier);
        QCOMPARE(window->zoom(), 4);
        QCOMPARE(pixelUnderPointer(), pixelBefore);
        wheel(at, -120, Qt::ControlModifier);
        QCOMPARE(window->zoom(), 2);
        window->close();
    }

    void droppedFilesOpenInTheWindowsTheyBelongTo() {
        TestWorkbench bench(whiteBackground());
        const fs::path sprites = writeSprites(bench, "drop.SPR", {patterned(3, 3, 1)});
        QVERIFY(!dropOn(editor(bench), bench.scratch() / "notes.txt"));
        QVERIFY(dropOn(editor(bench), sprites));
        QCOMPARE(bench.spriteDocument().table().file, sprites);

        BitmapConverterWindow* converter = bench.windows().bitmapConverter;
        const RgbImage picture(3, 2, 0x102030);
        const fs::path pictureFile = bench.scratch() / (pngBuiltIn() ? "drop.png" : "drop.bmp");
        writePicture(pictureFile, picture);
        QVERIFY(!dropOn(converter, sprites));
        QVERIFY(dropOn(converter, pictureFile));
        QVERIFY(converter->picture().pixels == picture.pixels);

        // A dropped source asks about the unsaved one first; let go, one undo brings it back.
        ObjectCompilerWindow* compiler = bench.windows().objectCompiler;
        compiler->sourceText()->setPlainText(QStringLiteral("unsaved"));
        writeFileAtomically(bench.scratch() / "drop.cos", std::string_view("* dropped\r\n"));
        bench.dialogs().messageAnswers = {Answer::No, Answer::No};
        QVERIFY(dropOn(compiler->sourceText()->viewport(), bench.scratch() / "drop.cos"));
        QCOMPARE(bench.dialogs().messages().back().caption,
                 QStringLiteral("WARNING! Source not saved!"));
        QCOMPARE(compiler->sourceText()->toPlainText(), QStringLiteral("* dropped"));
        compiler->sourceText()->undo();
        QCOMPARE(compiler->sourceText()->toPlainText(), QStringLiteral("unsaved"));
        QVERIFY(dropOn(compiler, bench.demo().gameDirectory() / "SPTOP.COB"));
        QCOMPARE(bench.objectDocument().objectFileName(), std::string("SPTOP.COB"));
    }

    void importingAPictureMatchesItToThePaletteInOneStep() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(2, 2, 0)}));
        RgbImage picture(2, 2);
        for (std::size_t i = 0; i < 4; ++i) picture.pixels[i] = bench.palette()[40 + 10 * i];
        writePicture(bench.scratch() / "fits.bmp", picture);
        writePicture(bench.scratch() / "wide.bmp", RgbImage(3, 2));
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "wide.bmp")};
        window->importPicture();
        QVERIFY(bench.dialogs().errors().back().text.contains(QStringLiteral("3X2")));
        QVERIFY(!bench.spriteDocument().changed());
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "fits.bmp")};
        window->importPicture();
        QVERIFY(bench.spriteDocument().sprite().pixels == (Bytes{40, 50, 60, 70}));
        window->undo();
        QVERIFY(bench.spriteDocument().sprite() == SpriteImage(2, 2, 0));
    }

    void recentFilesReopenAndDialogsStartInTheLastFolder() {
        TestWorkbench bench(whiteBackground());
        const std::string iniBefore = bench.vekIniText();
        fs::create_directory(bench.scratch() / "mine");
        const fs::path first = writeSprites(bench, "first.spr", {patterned(2, 2, 1)});
        const fs::path second = writeSprites(bench, "mine/second.spr", {patterned(3, 3, 1)});
        const QString gameImages = toQString(bench.context().game.paths().CImagePath);
        editor(bench)->OpenSpriteFile1Click();  // cancelled
        QCOMPARE(bench.dialogs().asked.back().caption, gameImages);
        openWithDialog(bench, first);
        openWithDialog(bench, second);
        QCOMPARE(toPath(bench.dialogs().asked.back().caption), bench.scratch());
        editor(bench)->OpenSpriteFile1Click();
        QCOMPARE(toPath(bench.dialogs().asked.back().caption), bench.scratch() / "mine");

        auto* recent = editor(bench)->findChild<QMenu*>(QStringLiteral("Recent1"));
        QVERIFY(recent);
        Q_EMIT recent->aboutToShow();
        const QList<QAction*> items = recent->actions();
        QCOMPARE(items.size(), 2);
        QVERIFY(items[0]->text().endsWith(QStringLiteral("second.spr")));
        QVERIFY(items[1]->text().endsWith(QStringLiteral("first.spr")));
        items[1]->trigger();
        QCOMPARE(bench.spriteDocument().table().file, first);
        QCOMPARE(bench.vekIniText(), iniBefore);
    }

    void theStatusLinesTellTheStateAndTheEndOfCommands() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        SpriteImage sprite(4, 3, 0);
        sprite.at(2, 1) = 77;
        const fs::path file = writeSprites(bench, "vbal.spr", {SpriteImage(1, 1), sprite});
        openWithDialog(bench, file);
        control<QListWidget>(bench, "ListBox1")->setCurrentRow(1);
        window->setZoom(4);
        auto* state = control<QLabel>(bench, "StateLine");
        QCOMPARE(state->text(), QStringLiteral("vbal.spr   |   Sprite 1: 4X3   |   Zoom 400%"));
        auto* readout = control<QLabel>(bench, "PointerReadout");
        move(control(bench, "Image1"), {9, 5}, Qt::NoButton);
        const ScreenColor color = bench.palette()[77];
        QCOMPARE(readout->text(), QStringLiteral("2, 1   Index 77 = %1, %2, %3")
                                      .arg(redOf(color))
                                      .arg(greenOf(color))
                                      .arg(blueOf(color)));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(control(bench, "Image1"), &leave);
        QVERIFY(readout->text().isEmpty());

        window->SaveSprite1Click();
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Saved vbal.spr"));

        // Windows without a status line of their own note in the main window's.
        const RgbImage picture(2, 2, 0x808080);
        QStringList pictures;
        for (const char* name : {"p.bmp", "q.bmp"}) {
            writePicture(bench.scratch() / name, picture);
            pictures << fromPath(bench.scratch() / name);
        }
        bench.dialogs().fileListAnswers = {pictures};
        bench.windows().bitmapConverter->CompileseveralBMPstoSPR1Click();
        QCOMPARE(bench.windows().main->statusBar1()->currentMessage(),
                 QStringLiteral("2 files converted"));
    }

    // Fast strokes with gaps between the reported positions, at 100 % and 1600 %: the pencil
    // keeps its dots, the brush (key B) joins them, and a stroke is one undo step.
    void theBrushJoinsAFastStrokeInOneStep() {
        for (const int zoom : {1, 16}) {
            TestWorkbench bench(whiteBackground());
            SpriteEditorWindow* window = editor(bench);
            openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(24, 16, 0)}));
            window->setZoom(zoom);
            showActive(window);
            QWidget* area = control(bench, "Image1");
            press(control(bench, "Image2"), {15, 25}, Qt::LeftButton);  // index 10
            const QList<QPoint> fast = {{1, 1}, {9, 1}, {9, 7}, {2, 12}};
            drag(area, zoom, fast);
            QCOMPARE(pixelsOf(bench, 10).size(), std::size_t{4});
            window->undo();
            QVERIFY(pixelsOf(bench, 10).empty());

            QTest::keyClick(window, Qt::Key_B);
            QCOMPARE(window->tool(), SpriteToolKind::Brush);
            QVERIFY(menuItem(bench, "BrushTool1")->isChecked());
            QVERIFY(!menuItem(bench, "PencilTool1")->isChecked());
            drag(area, zoom, fast);
            std::vector<PixelPoint> joined = linePixels({1, 1}, {9, 1});
            for (const auto& [from, to] : {std::pair(PixelPoint{9, 1}, PixelPoint{9, 7}),
                                           std::pair(PixelPoint{9, 7}, PixelPoint{2, 12})}) {
                const std::vector<PixelPoint> segment = linePixels(from, to);
                joined.insert(joined.end(), segment.begin() + 1, segment.end());
            }
            QVERIFY(pixelsOf(bench, 10) == sortedByRows(joined));
            QVERIFY(
                window->drawingArea().pixels ==
                renderDrawingArea(bench.spriteDocument().sprite(), bench.palette(), zoom, 0xFFFFFF)
                    .pixels);
            window->undo();
            QVERIFY(pixelsOf(bench, 10).empty());
            QVERIFY(!bench.spriteDocument().canUndo());
            window->close();
        }
    }

    // Line, rectangles and fill by their keys and the tool strip; Shift holds a line to 45
    // degrees and a rectangle to a square, and does nothing with the pencil.
    void toolsByKeyDrawShapesEachAsOneStep() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(20, 20, 0)}));
        window->setZoom(4);
        showActive(window);
        auto* strip = window->findChild<QToolBar*>(QStringLiteral("ToolStrip"));
        QVERIFY(strip && strip->isVisible());
        // The window opens wide enough that no tool hides behind the strip's overflow arrow.
        const auto* overflow = strip->findChild<QToolButton*>("qt_toolbar_ext_button");
        QVERIFY(!overflow || !overflow->isVisible());
        QStringList stripItems;
        for (QAction* action : strip->actions()) stripItems << action->objectName();
        QCOMPARE(stripItems,
                 (QStringList{"PencilTool1", "BrushTool1", "EraserTool1", "LineTool1",
                              "RectangleTool1", "FilledRectangleTool1", "EllipseTool1",
                              "FilledEllipseTool1", "FillTool1", "EyedropperTool1", "SelectTool1",
                              "", "", ""}));  // the brush size's separator, label and box
        QWidget* area = control(bench, "Image1");
        const auto drawWith = [&](Qt::Key key, Qt::KeyboardModifiers keyModifiers,
                                  SpriteToolKind tool, std::uint8_t color,
                                  const QList<QPoint>& pixels, Qt::KeyboardModifiers held) {
            QTest::keyClick(window, key, keyModifiers);
            QCOMPARE(window->tool(), tool);
            press(control(bench, "Image2"), {10 * (color / 8) + 5, 10 * (color % 8) + 5},
                  Qt::LeftButton);
            drag(area, 4, pixels, held);
        };
        drawWith(Qt::Key_L, {}, SpriteToolKind::Line, 20, {{1, 1}, {15, 3}, {8, 6}}, {});
        QVERIFY(pixelsOf(bench, 20) == sortedByRows(linePixels({1, 1}, {8, 6})));
        drawWith(Qt::Key_L, {}, SpriteToolKind::Line, 21, {{0, 19}, {7, 13}}, Qt::ShiftModifier);
        QVERIFY(pixelsOf(bench, 21) == sortedByRows(linePixels({0, 19}, {7, 12})));
        drawWith(Qt::Key_R, {}, SpriteToolKind::Rectangle, 22, {{10, 10}, {14, 19}, {13, 12}}, {});
        QVERIFY(pixelsOf(bench, 22) == sortedByRows(rectanglePixels({10, 10}, {13, 12}, false)));
        drawWith(Qt::Key_R, Qt::ShiftModifier, SpriteToolKind::FilledRectangle, 23,
                 {{16, 0}, {19, 1}}, Qt::ShiftModifier);
        QCOMPARE(pixelsOf(bench, 23).size(), std::size_t{16});
        drawWith(Qt::Key_G, {}, SpriteToolKind::Fill, 24, {{11, 11}}, {});
        QCOMPARE(pixelsOf(bench, 24).size(), std::size_t{2});  // inside the rectangle
        drawWith(Qt::Key_P, {}, SpriteToolKind::Pencil, 25, {{5, 15}}, Qt::ShiftModifier);
        QVERIFY(pixelsOf(bench, 25).empty());
        QVERIFY(menuItem(bench, "PencilTool1")->isChecked());
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(bench.spriteDocument().sprite(), bench.palette(), 4, 0xFFFFFF)
                    .pixels);

        // Five gestures, five steps back to the empty sprite.
        for (int step = 0; step < 5; ++step) window->undo();
        QVERIFY(bench.spriteDocument().sprite() == SpriteImage(20, 20, 0));
        QVERIFY(!bench.spriteDocument().canUndo());
        window->close();
    }

    // The grid lies over the blocks on the screen at zoom 4 and above, never in the area that
    // the exports write; switching it off is remembered. The readout of the pixel under the
    // pointer stays in sight while a hint is shown.
    void theGridIsShownAndRememberedAndTheReadoutStaysInSight() {
        std::string ini;
        {
            TestWorkbench bench(whiteBackground());
            SpriteEditorWindow* window = editor(bench);
            openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(8, 8, 10)}));
            QVERIFY(menuItem(bench, "PixelGrid1")->isChecked());
            const auto onScreen = [&](QPoint point) {
                QApplication::processEvents();
                const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
                return QColor(screen.pixel(control(bench, "Image1")->mapTo(window, point)));
            };
            const QColor color = toQColor(bench.palette()[10]);
            window->setZoom(4);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QTRY_COMPARE(onScreen({4, 4}), color);
            QVERIFY(onScreen({7, 5}) != color);  // the last column of the block: the grid
            QVERIFY(window->drawingArea().pixels ==
                    renderDrawingArea(bench.spriteDocument().sprite(), bench.palette(), 4, 0xFFFFFF)
                        .pixels);
            window->setZoom(2);
            QTRY_COMPARE(onScreen({3, 3}), color);  // too small for a grid
            window->setZoom(8);
            menuItem(bench, "PixelGrid1")->trigger();
            QTRY_COMPARE(onScreen({7, 5}), color);
            QVERIFY(QString::fromStdString(bench.vekIniText())
                        .contains(QStringLiteral("[SpriteEditor]\r\nGrid=0")));

            // The readout beside a hint.
            move(control(bench, "Image1"), {20, 12}, Qt::NoButton);
            window->statusBar()->showMessage(hintOf(control(bench, "Image1")));
            auto* readout = control<QLabel>(bench, "PointerReadout");
            QVERIFY(readout->isVisible());
            QCOMPARE(readout->text(), QStringLiteral("2, 1   Index 10 = %1, %2, %3")
                                          .arg(color.red())
                                          .arg(color.green())
                                          .arg(color.blue()));
            QWidget* area = control(bench, "Image1");
            QHelpEvent help(QEvent::ToolTip, {1, 1}, area->mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(area, &help);
            QVERIFY(!QToolTip::isVisible());
            window->close();
            ini = bench.vekIniText();
        }
        TestWorkbench::Options options;
        options.vekIniText = ini;
        TestWorkbench again(options);
        QVERIFY(!menuItem(again, "PixelGrid1")->isChecked());
    }

    // Key S, a drag draws the selection and a drag inside it moves it (index 0 where it left,
    // one undo step); Ctrl+C copies the piece, which Ctrl+V pastes into another sprite where it
    // was, cut off at its edges, as the selection; Edit's Mirror turns it; Esc drops it. The
    // marquee shows on the screen, never in the drawing area's export.
    void theSelectionMovesAndCrossesIntoAnotherSprite() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const SpriteImage first = patterned(8, 8, 100);
        openWithDialog(bench, writeSprites(bench, "a.spr", {first, SpriteImage(6, 6, 50)}));
        constexpr int kZoom = 2;  // no grid over the marquee
        window->setZoom(kZoom);
        showActive(window);
        QWidget* area = control(bench, "Image1");
        const SpriteSelection& selection = window->selection();

        QTest::keyClick(window, Qt::Key_S);
        QCOMPARE(window->tool(), SpriteToolKind::Select);
        QVERIFY(menuItem(bench, "SelectTool1")->isChecked());
        drag(area, kZoom, {{1, 1}, {2, 2}, {3, 2}});
        QVERIFY(selection.area() == (PixelRect{1, 1, 3, 2}));
        QVERIFY(!bench.spriteDocument().canUndo());
        const auto shownAt = [area](int x, int y) {
            return area->grab().toImage().pixelColor(x, y);
        };
        QCOMPARE(shownAt(2, 2), QColor(Qt::black));  // the marquee's first dash
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(first, bench.palette(), kZoom, 0xFFFFFF).pixels);

        drag(area, kZoom, {{2, 1}, {3, 2}, {4, 3}});
        QVERIFY(selection.area() == (PixelRect{3, 3, 3, 2}));
        SpriteImage moved = first;
        for (int y = 1; y < 3; ++y)
            for (int x = 1; x < 4; ++x) moved.at(x, y) = 0;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) moved.at(3 + x, 3 + y) = first.at(1 + x, 1 + y);
        QVERIFY(bench.spriteDocument().sprite() == moved);
        QCOMPARE(bench.spriteDocument().undoStack().undoCount(), std::size_t{1});
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(moved, bench.palette(), kZoom, 0xFFFFFF).pixels);

        QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(bench.spriteDocument().clipboardPlace() == PixelPoint({3, 3}));
        bench.dialogs().messageAnswers = {Answer::No};  // leave the moved sprite unsaved
        control<QListWidget>(bench, "ListBox1")->setCurrentRow(1);
        QVERIFY(bench.spriteDocument().current() == std::size_t{1});
        QVERIFY(!selection.area());
        QTest::keyClick(window, Qt::Key_P);
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->tool(), SpriteToolKind::Select);
        QVERIFY(selection.area() == (PixelRect{3, 3, 3, 2}));
        SpriteImage pasted(6, 6, 50);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) pasted.at(3 + x, 3 + y) = first.at(1 + x, 1 + y);
        QVERIFY(bench.spriteDocument().sprite() == pasted);

        menuItem(bench, "MirrorSelection1")->trigger();
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) pasted.at(3 + x, 3 + y) = first.at(3 - x, 1 + y);
        QVERIFY(bench.spriteDocument().sprite() == pasted);
        QCOMPARE(shownAt(3 * kZoom, 3 * kZoom), QColor(Qt::black));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!selection.area());
        QVERIFY(bench.spriteDocument().sprite() == pasted);
        QCOMPARE(shownAt(3 * kZoom, 3 * kZoom), toQColor(bench.palette()[pasted.at(3, 3)]));
        window->undo();
        window->undo();
        QVERIFY(bench.spriteDocument().sprite() == SpriteImage(6, 6, 50));
        window->close();
    }

    // The selection and the Edit menu's commands for it, in both languages.
    void selectionScreenshots() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        showActive(window);
        bench.spriteDocument().open(bench.demo().gameDirectory() / "Images" / "vekshow.spr");
        window->setZoom(4);
        QTest::keyClick(window, Qt::Key_S);
        drag(control(bench, "Image1"), 4, {{3, 3}, {12, 10}});
        drag(control(bench, "Image1"), 4, {{5, 5}, {9, 8}});
        for (const char* language : {"en", "de"}) {
            if (QLatin1String(language) == QLatin1String("de"))
                bench.windows().main->SpeedButton13Click();
            QApplication::processEvents();
            saveScreenshot(window, QStringLiteral("sprite-rest-selection-%1").arg(language));
            auto* edit = window->findChild<QMenu*>(QStringLiteral("Edit1"));
            edit->popup(window->mapToGlobal(QPoint(40, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(edit));
            saveScreenshot(edit, QStringLiteral("sprite-rest-edit-menu-%1").arg(language));
            edit->hide();
        }
        window->close();
    }

    void screenshot() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        saveScreenshot(window, QStringLiteral("sprite_editor_info"));
        bench.spriteDocument().open(bench.demo().gameDirectory() / "Images" / "vekshow.spr");
        window->setZoom(4);
        QApplication::processEvents();
        saveScreenshot(window, QStringLiteral("sprite_editor"));
        bench.spriteDocument().select(4);
        window->setZoom(2);
        QApplication::processEvents();
        saveScreenshot(window, QStringLiteral("sprite_editor_large"));
        window->close();
    }

    // The palette area tells the index and colour under the pointer and marks colours 1 and 2
    // on the screen, never in its export.
    void thePaletteAreaTellsTheColourUnderThePointerAndMarksTheTwo() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        QWidget* palette = control(bench, "Image2");
        auto* readout = control<QLabel>(bench, "PointerReadout");
        move(palette, {25, 35}, Qt::NoButton);  // column 2, row 3: index 19
        const ScreenColor color = bench.palette()[19];
        QCOMPARE(readout->text(), QStringLiteral("Index 19 = %1, %2, %3")
                                      .arg(redOf(color))
                                      .arg(greenOf(color))
                                      .arg(blueOf(color)));
        press(palette, {25, 35}, Qt::LeftButton);
        const QImage shown = palette->grab().toImage();
        QCOMPARE(QColor(shown.pixel(25, 29)), QColor(Qt::black));  // colour 1: a black frame
        QCOMPARE(QColor(shown.pixel(25, 30)), QColor(Qt::white));
        QCOMPARE(QColor(shown.pixel(5, 10)), QColor(Qt::black));       // colour 2 (index 1) inside
        QCOMPARE(QColor(shown.pixel(15, 10)), QColor(128, 128, 128));  // index 9: unmarked
        QVERIFY(window->paletteArea().pixels == renderPaletteArea(bench.palette()).pixels);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(palette, &leave);
        QVERIFY(readout->text().isEmpty());
    }

    // A file with a palette.dta beside it is shown in that palette, as the palette file gives
    // it to the command line's export; a file without one in the game's; and any palette file
    // can be chosen by hand. The other windows keep the game's table.
    void theEditorShowsAFileInThePaletteBesideIt() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        PaletteTable own;
        for (std::size_t k = 1; k < kPaletteColorCount; ++k) {
            const auto level = static_cast<std::uint8_t>(k % 64);
            own.setColor(k, paletteEntryColor(level, static_cast<std::uint8_t>(63 - level), 20));
        }
        fs::create_directory(bench.scratch() / "own");
        const auto bytes = encodePalette(own);
        writeFileAtomically(bench.scratch() / "own" / "palette.dta",
                            std::span<const std::uint8_t>(bytes));
        const SpriteImage sprite = patterned(16, 16, 0);
        const PaletteTable game = bench.palette();
        openWithDialog(bench, writeSprites(bench, "own/a.spr", {sprite}));
        const PaletteTable expected =
            readPaletteFile(bench.scratch() / "own" / "palette.dta", 0xFFFFFF);
        QVERIFY(window->spritePalette() == expected);
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(sprite, expected, 1, 0xFFFFFF).pixels);
        QVERIFY(window->paletteArea().pixels == renderPaletteArea(expected).pixels);
        QCOMPARE(swatchColor(bench, "Label2"), toQColor(expected[1]));
        QVERIFY(bench.palette() == game);

        openWithDialog(bench, writeSprites(bench, "plain.spr", {sprite}));
        QVERIFY(window->spritePalette() == game);
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(sprite, game, 1, 0xFFFFFF).pixels);

        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "own" / "palette.dta")};
        menuItem(bench, "ChoosePalette1")->trigger();
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Open palette file"));
        QVERIFY(window->spritePalette() == expected);
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(sprite, expected, 1, 0xFFFFFF).pixels);
    }

    // A game whose palette folder holds no palette.dta: the editor shows the demo palette rather
    // than black, and a palette beside a file still comes first.
    void aGameWithoutAPaletteShowsTheDemoPalette() {
        QTemporaryDir folder;
        const fs::path game = toPath(folder.path()) / "Creatures";
        fs::create_directories(game);
        TestWorkbench::Options options = whiteBackground();
        options.gameDirectory = game;
        TestWorkbench bench(options);
        SpriteEditorWindow* window = editor(bench);
        const PaletteTable demo = decodePalette(demoPaletteBytes(), 0xFFFFFF);
        QVERIFY(bench.palette() == demo);
        QVERIFY(window->paletteArea().pixels == renderPaletteArea(demo).pixels);
        QCOMPARE(swatchColor(bench, "Label2"), toQColor(demo[1]));
        const SpriteImage sprite = patterned(16, 16, 0);
        openWithDialog(bench, writeSprites(bench, "plain.spr", {sprite}));
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(sprite, demo, 1, 0xFFFFFF).pixels);

        PaletteTable own;
        for (std::size_t k = 1; k < kPaletteColorCount; ++k)
            own.setColor(k, paletteEntryColor(static_cast<std::uint8_t>(k % 64), 9, 9));
        fs::create_directory(bench.scratch() / "own");
        const auto bytes = encodePalette(own);
        writeFileAtomically(bench.scratch() / "own" / "palette.dta",
                            std::span<const std::uint8_t>(bytes));
        openWithDialog(bench, writeSprites(bench, "own/a.spr", {sprite}));
        QVERIFY(window->spritePalette() == decodePalette(bytes, 0xFFFFFF));
    }

    // The eraser (E) with a brush made larger (]), the eyedropper (I), Alt picking with the
    // pencil and the filled ellipse (Shift+O), by keys and slow drags.
    void eraserEyedropperEllipseAndBrushSizeByKeys() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(24, 20, 5)}));
        constexpr int kZoom = 4;
        window->setZoom(kZoom);
        showActive(window);
        QWidget* area = control(bench, "Image1");
        auto* size = control<QSpinBox>(bench, "BrushSize");

        QTest::keyClick(window, Qt::Key_E);
        QCOMPARE(window->tool(), SpriteToolKind::Eraser);
        QVERIFY(menuItem(bench, "EraserTool1")->isChecked());
        QTest::keyClick(window, Qt::Key_BracketRight);
        QTest::keyClick(window, Qt::Key_BracketRight);
        QCOMPARE(size->value(), 3);
        dragSlowly(area, kZoom, {{2, 2}, {8, 2}, {8, 6}});
        std::vector<PixelPoint> path = linePixels({2, 2}, {8, 2});
        const std::vector<PixelPoint> down = linePixels({8, 2}, {8, 6});
        path.insert(path.end(), down.begin() + 1, down.end());
        QVERIFY(pixelsOf(bench, 0) == brushPixels(path, 3));
        QCOMPARE(bench.spriteDocument().undoStack().undoCount(), std::size_t{1});
        QVERIFY(window->drawingArea().pixels ==
                renderDrawingArea(bench.spriteDocument().sprite(), bench.palette(), kZoom, 0xFFFFFF)
                    .pixels);

        // The eyedropper takes the colour for the button it was pressed with, painting nothing.
        QTest::keyClick(window, Qt::Key_I);
        press(area, QPoint(20, 15) * kZoom, Qt::RightButton);
        release(area, QPoint(20, 15) * kZoom, Qt::RightButton);
        QCOMPARE(window->color2(), std::uint8_t{5});
        QTest::keyClick(window, Qt::Key_P);
        press(area, QPoint(2, 2) * kZoom, Qt::LeftButton, Qt::AltModifier);
        release(area, QPoint(2, 2) * kZoom, Qt::LeftButton);
        QCOMPARE(window->color1(), std::uint8_t{0});
        QCOMPARE(bench.spriteDocument().undoStack().undoCount(), std::size_t{1});

        press(control(bench, "Image2"), {25, 45}, Qt::LeftButton);  // index 20
        QTest::keyClick(window, Qt::Key_O, Qt::ShiftModifier);
        QCOMPARE(window->tool(), SpriteToolKind::FilledEllipse);
        dragSlowly(area, kZoom, {{12, 8}, {22, 19}, {20, 17}});
        QVERIFY(pixelsOf(bench, 20) == ellipsePixels({12, 8}, {20, 17}, true));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(pixelsOf(bench, 20).empty());

        QTest::keyClick(window, Qt::Key_BracketLeft);
        QCOMPARE(size->value(), 2);
        size->setValue(kLargestBrush);
        QCOMPARE(window->editing().brushSize(), kLargestBrush);
        QVERIFY(!menuItem(bench, "BrushLarger1")->isEnabled());
        window->close();
    }

    // The tool strip, the Tools menu and the grid at 800 %, in both languages.
    void toolScreenshots() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        showActive(window);
        bench.spriteDocument().open(bench.demo().gameDirectory() / "Images" / "vekshow.spr");
        window->setZoom(8);
        QTest::keyClick(window, Qt::Key_O);
        drag(control(bench, "Image1"), 8, {{2, 2}, {20, 14}});
        QTest::keyClick(window, Qt::Key_E);
        QTest::keyClick(window, Qt::Key_BracketRight);
        drag(control(bench, "Image1"), 8, {{8, 20}, {16, 20}});
        press(control(bench, "Image2"), {105, 45}, Qt::LeftButton);   // index 84
        press(control(bench, "Image2"), {205, 25}, Qt::RightButton);  // index 162
        for (const char* language : {"en", "de"}) {
            if (QLatin1String(language) == QLatin1String("de"))
                bench.windows().main->SpeedButton13Click();
            move(control(bench, "Image1"), {60, 52}, Qt::NoButton);
            window->statusBar()->showMessage(hintOf(control(bench, "Image1")));
            QApplication::processEvents();
            saveScreenshot(window, QStringLiteral("sprite_editor_tools_%1").arg(language));
            // Wide enough for the whole strip, with the brush size.
            const QSize designed = window->size();
            window->resize(1000, designed.height());
            QApplication::processEvents();
            saveScreenshot(window, QStringLiteral("sprite_editor_tools_wide_%1").arg(language));
            window->resize(designed);
            auto* tools = window->findChild<QMenu*>(QStringLiteral("Tools1"));
            tools->popup(window->mapToGlobal(QPoint(120, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(tools));
            saveScreenshot(tools, QStringLiteral("sprite_editor_tools_menu_%1").arg(language));
            tools->hide();
        }
        window->close();
    }

    // The Edit menu with its shortcuts, the question before a changed sprite is left and the
    // status line, in both languages.
    void editingScreenshots() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        bench.spriteDocument().open(bench.demo().gameDirectory() / "Images" / "vekshow.spr");
        window->setZoom(4);
        const std::uint8_t old = bench.spriteDocument().sprite().at(2, 2);
        bench.spriteDocument().paint(2, 2, static_cast<std::uint8_t>(old + 1));
        for (const char* language : {"en", "de"}) {
            if (QLatin1String(language) == QLatin1String("de"))
                bench.windows().main->SpeedButton13Click();
            move(control(bench, "Image1"), {20, 24}, Qt::NoButton);
            saveScreenshot(window, QStringLiteral("sprite_editor_status_%1").arg(language));
            auto* edit = window->findChild<QMenu*>(QStringLiteral("Edit1"));
            edit->popup(window->mapToGlobal(QPoint(40, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(edit));
            saveScreenshot(edit, QStringLiteral("sprite_editor_edit_menu_%1").arg(language));
            edit->hide();
            QMessageBox question(QMessageBox::NoIcon, QString(), QString(),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window);
            bench.dialogs().messageAnswers = {Answer::Cancel};
            control<QListWidget>(bench, "ListBox1")->setCurrentRow(3);
            QVERIFY(!bench.dialogs().messages().empty());
            question.setText(bench.dialogs().messages().back().text);
            question.setWindowTitle(bench.dialogs().messages().back().caption);
            question.show();
            QVERIFY(QTest::qWaitForWindowExposed(&question));
            saveScreenshot(&question, QStringLiteral("sprite_editor_question_%1").arg(language));
        }
        window->close();
    }
};

VEK_UI_TEST_MAIN(SpriteEditorWindowTest)
#include "sprite_editor_window_test.moc"
