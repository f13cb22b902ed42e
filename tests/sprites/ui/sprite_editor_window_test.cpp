#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <filesystem>
#include <numeric>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/multi_shape.h"
#include "app/vek_error.h"
#include "gamelink/creatures.h"
#include "sprites/bitmap.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_render.h"
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

const std::string kWhiteBackground =
    "[Color]\r\nSBGC=$FFFFFF\r\n[Language]\r\nLanguage=english\r\n";

TestWorkbench::Options whiteBackground() {
    TestWorkbench::Options options;
    options.vekIniText = kWhiteBackground;
    return options;
}

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
        QCOMPARE(control(bench, "Panel1")->pos(), QPoint(116, 88));
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
                                                      bench.context().spriteBackground);
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
        QVERIFY(!bench.context().pathsRead);
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
                 bench.context().gameDirectory(bench.context().game.paths().CImagePath));
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

        // Choosing a line reads that sprite; unsaved painting on the first is dropped.
        press(control(bench, "Image1"), {0, 0}, Qt::LeftButton);
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

        // Shift, Alt or two buttons do nothing.
        press(area, {1, 1}, Qt::LeftButton, Qt::ShiftModifier);
        press(area, {1, 1}, Qt::LeftButton, Qt::AltModifier);
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

        // Ctrl picks a colour from the sprite without painting.
        press(area, {14, 14}, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(window->color1(), std::uint8_t{10});
        press(area, {6, 6}, Qt::RightButton, Qt::ControlModifier);
        QCOMPARE(window->color2(), std::uint8_t{16});
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
        QCOMPARE(bench.context().spriteBackground, ScreenColor{0x0000FF});
        QVERIFY(QString::fromStdString(bench.vekIniText()).contains(QStringLiteral("SBGC=255")));
        QCOMPARE(bench.palette()[0], ScreenColor{0x0000FF});
        QCOMPARE(window->paletteArea().at(4, 4), ScreenColor{0x0000FF});
        QCOMPARE(swatchColor(bench, "Label1"), QColor(255, 0, 0));

        openWithDialog(bench, writeSprites(bench, "a.spr", {SpriteImage(2, 2, 0)}));
        bench.dialogs().colorAnswers.push_back(QColor(0, 0, 255));
        window->Button1Click();
        QCOMPARE(window->drawingArea().at(1, 1), ScreenColor{0xFF0000});
        window->Button1Click();  // cancelled: nothing changes
        QCOMPARE(bench.context().spriteBackground, ScreenColor{0xFF0000});
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
};

VEK_UI_TEST_MAIN(SpriteEditorWindowTest)
#include "sprite_editor_window_test.moc"
