// The sprite editor's list of sprites, onion skin and animation preview, driven as a user would.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/animation_preview.h"
#include "objects/ui/animation_preview_window.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_render.h"
#include "sprites/ui/sprite_editor_window.h"
#include "support/ui/workbench_fixture.h"
#include "tests/sprites/sprite_test_support.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

SpriteEditorWindow* editor(TestWorkbench& bench) { return bench.windows().spriteEditor; }

QAction* menuItem(TestWorkbench& bench, const char* name) {
    return control<QAction>(editor(bench), name);
}

// Opens sprites written to a file of the test through the editor's open dialog.
fs::path openSprites(TestWorkbench& bench, const std::vector<SpriteImage>& sprites) {
    const fs::path file = bench.scratch() / "frames.spr";
    writeSpriteFile(file, sprites);
    bench.dialogs().fileAnswers.push_back(fromPath(file));
    editor(bench)->OpenSpriteFile1Click();
    return file;
}

// The bytes a file of these sprites has, written by the file format's own writer.
std::vector<std::uint8_t> fileOf(TestWorkbench& bench, const std::vector<SpriteImage>& sprites) {
    const fs::path file = bench.scratch() / "expected.spr";
    writeSpriteFile(file, sprites);
    return readFileBytes(file);
}

QStringList listLines(TestWorkbench& bench) {
    QStringList lines;
    auto* list = control<QListWidget>(editor(bench), "ListBox1");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

// The colour the drawing area shows on the screen at a point, grid and onion skin included.
QColor shownAt(TestWorkbench& bench, QPoint point) {
    return control(editor(bench), "Image1")->grab().toImage().pixelColor(point);
}

// `over` laid on white at `percent`, as the painter blends it (within one step of rounding).
bool blendsOnWhite(const QColor& shown, const QColor& over, int percent) {
    const auto near = [percent](int value, int top) {
        const int expected = 255 + (top - 255) * percent / 100;
        return std::abs(value - expected) <= 2;
    };
    return near(shown.red(), over.red()) && near(shown.green(), over.green()) &&
           near(shown.blue(), over.blue());
}

}  // namespace

class SpriteAnimationTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void spritesAreInsertedMovedAndDeletedEachAsOneUndoStep() {
        TestWorkbench bench(whiteBackground());
        const std::vector<SpriteImage> three{SpriteImage(2, 3, 1), SpriteImage(4, 1, 2),
                                             SpriteImage(1, 1, 3)};
        const fs::path file = openSprites(bench, three);
        SpriteDocument& document = bench.spriteDocument();
        QVERIFY(!menuItem(bench, "MoveSpriteUp1")->isEnabled());
        control<QListWidget>(editor(bench), "ListBox1")->setCurrentRow(1);

        bench.dialogs().sizeAnswers = {QSize(5, 4)};
        menuItem(bench, "InsertSprite1")->trigger();
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("size")).back().caption,
                 QStringLiteral("4x1"));  // the current sprite's size to start with
        const std::vector<SpriteImage> inserted{three[0], three[1], SpriteImage(5, 4), three[2]};
        QCOMPARE(readFileBytes(file), fileOf(bench, inserted));
        QCOMPARE(listLines(bench), (QStringList{"0   2X3", "1   4X1", "2   5X4", "3   1X1"}));
        QCOMPARE(document.current(), std::optional<std::size_t>(2));

        menuItem(bench, "MoveSpriteUp1")->trigger();
        menuItem(bench, "DuplicateSprite1")->trigger();
        const std::vector<SpriteImage> duplicated{three[0], SpriteImage(5, 4), SpriteImage(5, 4),
                                                  three[1], three[2]};
        QCOMPARE(readFileBytes(file), fileOf(bench, duplicated));
        menuItem(bench, "MoveSpriteDown1")->trigger();
        menuItem(bench, "MoveSpriteDown1")->trigger();
        QVERIFY(!menuItem(bench, "MoveSpriteDown1")->isEnabled());  // now the last
        menuItem(bench, "DeleteSprite1")->trigger();
        QCOMPARE(readFileBytes(file),
                 fileOf(bench, {three[0], SpriteImage(5, 4), three[1], three[2]}));

        // Undo takes back one command at a time, the latest first; redo makes them again.
        QAction* undo = menuItem(bench, "Undo1");
        for (int step = 0; step < 3; ++step) undo->trigger();  // delete and the two moves down
        QCOMPARE(readFileBytes(file), fileOf(bench, duplicated));
        undo->trigger();  // the duplicate
        undo->trigger();  // the move up
        QCOMPARE(readFileBytes(file), fileOf(bench, inserted));
        undo->trigger();  // the insert
        QCOMPARE(readFileBytes(file), fileOf(bench, three));
        QVERIFY(!undo->isEnabled());
        QAction* redo = menuItem(bench, "Redo1");
        for (int step = 0; step < 6; ++step) redo->trigger();
        QCOMPARE(readFileBytes(file),
                 fileOf(bench, {three[0], SpriteImage(5, 4), three[1], three[2]}));
        QVERIFY(!redo->isEnabled());
        QVERIFY(bench.dialogs().errors().empty());

        // Cancelling the size question inserts nothing.
        const auto before = readFileBytes(file);
        menuItem(bench, "InsertSprite1")->trigger();
        QCOMPARE(readFileBytes(file), before);
    }

    void aFullFileIsRefusedWithAClearMessage() {
        TestWorkbench bench(whiteBackground());
        const fs::path file =
            openSprites(bench, std::vector<SpriteImage>(kSpriteTableCapacity, SpriteImage(1, 1)));
        const auto before = readFileBytes(file);
        menuItem(bench, "InsertSprite1")->trigger();
        menuItem(bench, "DuplicateSprite1")->trigger();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{2});
        QVERIFY(bench.dialogs().errors().front().text.contains(
            QStringLiteral("already holds 1000 sprites")));
        QVERIFY(bench.dialogs().ofKind(QStringLiteral("size")).empty());
        QCOMPARE(readFileBytes(file), before);
    }

    // The neighbours show faintly where the sprite is transparent, on the screen only.
    void theOnionSkinShowsOnTheCanvasButNeverInTheExport() {
        std::string ini;
        {
            TestWorkbench bench(whiteBackground());
            SpriteEditorWindow* window = editor(bench);
            // The previous sprite is transparent at (3, 3), where the next one shows.
            SpriteImage first(4, 4, 10);
            first.at(3, 3) = 0;
            openSprites(bench, {first, SpriteImage(4, 4, 0), SpriteImage(4, 4, 20)});
            window->showGrid(false);
            window->setZoom(4);
            control<QListWidget>(window, "ListBox1")->setCurrentRow(1);
            const QColor previous = toQColor(bench.palette()[10]);
            const QColor next = toQColor(bench.palette()[20]);
            QCOMPARE(shownAt(bench, {5, 5}), QColor(Qt::white));

            menuItem(bench, "OnionSkin1")->trigger();
            QVERIFY2(blendsOnWhite(shownAt(bench, {5, 5}), previous, 30),
                     qPrintable(shownAt(bench, {5, 5}).name()));
            QCOMPARE(shownAt(bench, {13, 13}), QColor(Qt::white));  // no next one yet
            // The export stays the sprite itself.
            const RgbImage plain = renderDrawingArea(bench.spriteDocument().sprite(),
                                                     window->spritePalette(), 4, 0xFFFFFF);
            QVERIFY(window->drawingArea().pixels == plain.pixels);
            const fs::path exported = bench.scratch() / "shown.bmp";
            bench.dialogs().fileAnswers.push_back(fromPath(exported));
            window->SaveSpritetoBMP1Click();
            QVERIFY(readPicture(exported, 0xFFFFFF).pixels == plain.pixels);

            bench.dialogs().numberAnswers = {100};
            menuItem(bench, "OnionSkinOpacity1")->trigger();
            QCOMPARE(bench.dialogs().ofKind(QStringLiteral("number")).back().caption,
                     QStringLiteral("30"));
            QCOMPARE(shownAt(bench, {5, 5}), previous);
            // With the next one too, the previous lies on top; where it is transparent, the next
            // shows.
            menuItem(bench, "OnionSkinNext1")->trigger();
            QCOMPARE(shownAt(bench, {5, 5}), previous);
            QCOMPARE(shownAt(bench, {13, 13}), next);
            // A painted pixel covers the skin, and shows it again when taken back.
            bench.spriteDocument().paint(1, 1, 30);
            QCOMPARE(shownAt(bench, {5, 5}), toQColor(bench.palette()[30]));
            QCOMPARE(shownAt(bench, {9, 9}), previous);
            menuItem(bench, "Undo1")->trigger();
            QCOMPARE(shownAt(bench, {5, 5}), previous);
            // The first sprite has no previous one; the next one shows under its hole.
            control<QListWidget>(window, "ListBox1")->setCurrentRow(0);
            QCOMPARE(shownAt(bench, {13, 13}), QColor(Qt::white));  // the next one is empty
            QCOMPARE(shownAt(bench, {5, 5}), previous);
            menuItem(bench, "OnionSkin1")->trigger();
            control<QListWidget>(window, "ListBox1")->setCurrentRow(1);
            QCOMPARE(shownAt(bench, {9, 9}), QColor(Qt::white));
            menuItem(bench, "OnionSkin1")->trigger();
            QCOMPARE(shownAt(bench, {9, 9}), previous);
            ini = bench.vekIniText();
        }
        QVERIFY(QString::fromStdString(ini).contains(
            QStringLiteral("OnionSkin=1\r\nOnionSkinNext=1\r\nOnionSkinOpacity=100")));
        TestWorkbench again(whiteBackground(ini.substr(ini.find("[SpriteEditor]"))));
        QVERIFY(menuItem(again, "OnionSkin1")->isChecked());
        QVERIFY(menuItem(again, "OnionSkinNext1")->isChecked());
    }

    void thePreviewPlaysARangeOrAnAnimationString() {
        TestWorkbench bench(whiteBackground());
        const std::uint8_t colours[] = {10, 20, 30, 40};
        std::vector<SpriteImage> sprites;
        for (const std::uint8_t colour : colours) sprites.push_back(SpriteImage(6, 6, colour));
        openSprites(bench, sprites);
        control<QListWidget>(editor(bench), "ListBox1")->setCurrentRow(1);
        menuItem(bench, "AnimationPreview1")->trigger();
        AnimationPreviewWindow* window = bench.windows().objectCompiler->animationPreview();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->plan(), (AnimationPlan{{1, 2, 3}, true}));
        AnimationPreview& preview = window->preview();
        QVERIFY(preview.playing());
        QCOMPARE(preview.rate(), 10.0);
        // At ten frames a second the sprites follow one another and start again.
        QSet<int> seen;
        QTRY_VERIFY_WITH_TIMEOUT((seen.insert(preview.step()), seen.size() == 3), 2000);

        control<QLineEdit>(window, "AnimationString")->setText(QStringLiteral("[0210R]"));
        QCOMPARE(window->plan(), (AnimationPlan{{1, 3, 2, 1}, true}));
        preview.stop();
        const auto shownColour = [&] {
            const QImage picture = preview.grab().toImage();
            return picture.pixelColor(picture.width() / 2, picture.height() / 2);
        };
        for (int step = 0; step < 5; ++step) {
            const std::size_t sprite =
                window->plan().sprites[static_cast<std::size_t>(preview.step())];
            QCOMPARE(shownColour(), toQColor(bench.palette()[colours[sprite]]));
            QCOMPARE(
                window->stateText(),
                QStringLiteral("Frame %1 of 4: sprite %2").arg(preview.step() + 1).arg(sprite));
            preview.advance();
        }
        QCOMPARE(preview.step(), 1);  // round again

        control<QPushButton>(window, "FasterButton")->click();
        QCOMPARE(preview.rate(), 20.0);
        control<QPushButton>(window, "SlowerButton")->click();
        control<QPushButton>(window, "SlowerButton")->click();
        QCOMPARE(preview.rate(), 5.0);
        QCOMPARE(control<QLabel>(window, "RateLabel")->text(), QStringLiteral("5 frames a second"));

        // A string that is not one, or that needs a sprite the file lacks, says so.
        control<QLineEdit>(window, "AnimationString")->setText(QStringLiteral("[1R2]"));
        QVERIFY(window->stateText().contains(QStringLiteral("[1R2]")));
        QCOMPARE(preview.frameShown(), -1);
        control<QLineEdit>(window, "AnimationString")->setText(QStringLiteral("[9]"));
        QCOMPARE(window->stateText(),
                 QStringLiteral("The animation needs sprite 10; the file holds 4."));
        // Played once, the animation stops on its last frame.
        control<QLineEdit>(window, "AnimationString")->setText(QStringLiteral("[01]"));
        preview.setRate(AnimationPreview::kFastest);
        preview.play();
        QTRY_VERIFY(!preview.playing());
        QCOMPARE(preview.step(), 1);
        window->close();
    }

    // Painting that is not saved shows in the preview: it takes the sprite open in the editor as
    // it is drawn, and the others from the file.
    void thePreviewShowsTheEditorsUnsavedPixels() {
        TestWorkbench bench(whiteBackground());
        const fs::path file = openSprites(bench, {SpriteImage(6, 6, 10), SpriteImage(6, 6, 20)});
        SpriteEditorWindow* window = editor(bench);
        control<QListWidget>(window, "ListBox1")->setCurrentRow(1);
        window->chooseTool(SpriteToolKind::Fill);
        QTest::mouseClick(control(window, "Image2"), Qt::LeftButton, {}, QPoint(35, 65));  // 30
        QCOMPARE(window->color1(), std::uint8_t{30});
        QTest::mouseClick(control(window, "Image1"), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(bench.spriteDocument().changed());
        menuItem(bench, "AnimationPreview1")->trigger();
        AnimationPreviewWindow* preview = bench.windows().objectCompiler->animationPreview();
        QVERIFY(preview && preview->isVisible());
        control<QSpinBox>(preview, "FirstSprite")->setValue(0);
        QCOMPARE(preview->plan(), (AnimationPlan{{0, 1}, true}));
        preview->preview().stop();
        const auto shownColour = [preview] {
            const QImage picture = preview->preview().grab().toImage();
            return picture.pixelColor(picture.width() / 2, picture.height() / 2);
        };
        while (preview->preview().step() != 0) preview->preview().advance();
        QCOMPARE(shownColour(), toQColor(bench.palette()[10]));
        preview->preview().advance();
        QCOMPARE(shownColour(), toQColor(bench.palette()[30]));
        // The file itself still holds the saved pixels.
        QCOMPARE(readSprite(file, readSpriteTable(file).entries[1]).pixels.front(), 20);
        preview->close();
    }

    void theSourcePagePreviewsTheAnimStringUnderTheCaret() {
        TestWorkbench bench(whiteBackground());
        ObjectCompilerWindow* compiler = bench.windows().objectCompiler;
        QPlainTextEdit* text = compiler->sourceText();
        text->setPlainText(
            QStringLiteral("inst\n  new: simp vtop 4 0 2000 0\n  anim [0123R]\n"
                           "  setv actv 0\nendm\n"));
        QTextCursor caret = text->textCursor();
        caret.setPosition(static_cast<int>(text->toPlainText().indexOf(QStringLiteral("[01"))));
        text->setTextCursor(caret);
        control<QAction>(compiler, "PreviewAnimation1")->trigger();
        AnimationPreviewWindow* window = compiler->animationPreview();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->windowTitle().endsWith(QStringLiteral("vtop.spr")));
        QCOMPARE(window->plan(), (AnimationPlan{{0, 1, 2, 3}, true}));
        window->close();

        caret.setPosition(static_cast<int>(text->toPlainText().indexOf(QStringLiteral("setv"))));
        text->setTextCursor(caret);
        control<QAction>(compiler, "PreviewAnimation1")->trigger();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(bench.dialogs().errors().back().text.contains(QStringLiteral("no anim string")));
        QVERIFY(!window->isVisible());
    }

    void screenshots() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The spinning top's first pose, and an empty sprite to draw the next one in.
        const fs::path top = bench.demo().gameDirectory() / "Images" / "vtop.spr";
        const SpriteImage first = readSprite(top, readSpriteTable(top).entries.front());
        const fs::path file = bench.scratch() / "poses.spr";
        writeSpriteFile(file,
                        std::vector<SpriteImage>{first, SpriteImage(first.width, first.height)});
        bench.spriteDocument().open(file);
        bench.spriteDocument().select(1);
        window->setZoom(4);
        menuItem(bench, "OnionSkin1")->trigger();
        bench.dialogs().numberAnswers = {45};
        menuItem(bench, "OnionSkinOpacity1")->trigger();
        for (const char* language : {"en", "de"}) {
            if (QLatin1String(language) == QLatin1String("de"))
                bench.windows().main->SpeedButton13Click();
            saveScreenshot(window, QStringLiteral("spriteanim-onion-%1").arg(language));
            auto* zoom = window->findChild<QMenu*>(QStringLiteral("Zoom1"));
            zoom->popup(window->mapToGlobal(QPoint(60, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(zoom));
            saveScreenshot(zoom, QStringLiteral("spriteanim-zoom-menu-%1").arg(language));
            zoom->hide();
            auto* edit = window->findChild<QMenu*>(QStringLiteral("Edit1"));
            edit->popup(window->mapToGlobal(QPoint(30, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(edit));
            saveScreenshot(edit, QStringLiteral("spriteanim-edit-menu-%1").arg(language));
            edit->hide();
            bench.windows().objectCompiler->showAnimationPreview(top, 0, "[0123R]");
            AnimationPreviewWindow* preview = bench.windows().objectCompiler->animationPreview();
            QVERIFY(QTest::qWaitForWindowExposed(preview));
            QTest::qWait(250);
            saveScreenshot(preview, QStringLiteral("spriteanim-preview-%1").arg(language));
            preview->close();
        }
        window->close();
    }
};

VEK_UI_TEST_MAIN(SpriteAnimationTest)
#include "sprite_animation_test.moc"
