// The sprite editor's view (centred canvas, zoom to fit, each file's view kept), its strip of
// frames (thumbnails, drag to reorder, the preview's frame marked) and the resize dialog, driven
// as a user would.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <filesystem>
#include <functional>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/animation_preview.h"
#include "objects/ui/animation_preview_window.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_frames.h"
#include "sprites/sprite_resize.h"
#include "sprites/ui/sprite_editor_window.h"
#include "support/ui/workbench_fixture.h"
#include "tests/sprites/sprite_test_support.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

SpriteEditorWindow* editor(TestWorkbench& bench) { return bench.windows().spriteEditor; }

void openFile(TestWorkbench& bench, const fs::path& file) {
    bench.dialogs().fileAnswers.push_back(fromPath(file));
    editor(bench)->OpenSpriteFile1Click();
}

fs::path writeSprites(TestWorkbench& bench, const char* name,
                      const std::vector<SpriteImage>& sprites) {
    const fs::path file = bench.scratch() / name;
    writeSpriteFile(file, sprites);
    return file;
}

void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QPoint lineCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

// A drag of one line of the list onto another, as a hand makes it: pauses between the events.
void dragLine(QListWidget* list, int from, int to) {
    QWidget* viewport = list->viewport();
    const QPoint start = lineCentre(list, from);
    const QPoint end = lineCentre(list, to);
    mouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& at : {start + QPoint(0, 3), (start + end) / 2, end}) {
        QTest::qWait(20);
        mouse(viewport, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    }
    QTest::qWait(20);
    mouse(viewport, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
}

void ctrlWheel(QWidget* viewport, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at), QPointF(viewport->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

// Fills the resize dialog in as a user does once it shows, then presses OK (or Cancel).
void whenResizeDialogShows(std::function<void(QDialog*)> fill, bool accept = true) {
    QTimer::singleShot(50, [fill, accept] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) qFatal("no resize dialog");
        fill(dialog);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
}

void typeNumber(QDialog* dialog, const char* name, int value) {
    auto* box = control<QSpinBox>(dialog, name);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::number(value));
}

// The colour in the middle of a line's thumbnail.
QColor thumbnailColour(QListWidget* list, int row) {
    const QImage picture = list->item(row)->icon().pixmap(list->iconSize()).toImage();
    return picture.pixelColor(picture.width() / 2, picture.height() / 2);
}

}  // namespace

class SpriteFramesViewTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The sprite sits in the middle of its view; Ctrl+0 takes the largest zoom that fits; each
    // file comes back with the zoom and scroll it was left with.
    void theViewIsCentredFitsAndIsKeptPerFile() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const fs::path small = writeSprites(bench, "small.spr", {SpriteImage(20, 10, 7)});
        const fs::path big = writeSprites(bench, "big.spr", {vek::testing::patterned(400, 300, 1)});
        auto* scroll = control<QScrollArea>(window, "ScrollBox");
        QWidget* viewport = scroll->viewport();
        QWidget* panel = control(window, "Panel1");

        openFile(bench, small);
        const QSize room = viewport->size();
        QTest::keyClick(window, Qt::Key_0, Qt::ControlModifier);
        const int fit = window->zoom();
        QVERIFY(fit > 1);
        QVERIFY(panel->width() <= room.width() && panel->height() <= room.height());
        const int larger = std::min(fit * 2, 16);
        QVERIFY(larger == fit || 20 * larger + 9 > room.width() || 10 * larger + 9 > room.height());
        const QPoint middle = panel->geometry().center();
        QVERIFY(std::abs(middle.x() - room.width() / 2) <= 1);
        QVERIFY(std::abs(middle.y() - room.height() / 2) <= 1);

        openFile(bench, big);
        QCOMPARE(window->zoom(), fit);  // a file not shown before keeps the zoom in force
        ctrlWheel(viewport, {80, 60}, -120, Qt::ControlModifier);
        ctrlWheel(viewport, {80, 60}, -120, Qt::NoModifier);  // scrolls down
        const int bigZoom = window->zoom();
        const QPoint bigScroll(scroll->horizontalScrollBar()->value(),
                               scroll->verticalScrollBar()->value());
        QVERIFY(bigZoom < fit);
        QVERIFY(bigScroll.y() > 0);

        openFile(bench, small);
        QCOMPARE(window->zoom(), fit);
        openFile(bench, big);
        QCOMPARE(window->zoom(), bigZoom);
        QCOMPARE(scroll->horizontalScrollBar()->value(), bigScroll.x());
        QCOMPARE(scroll->verticalScrollBar()->value(), bigScroll.y());
        window->close();
    }

    // Each line shows its sprite; a click selects, a drag moves the sprite in one undo step,
    // Delete takes it out without a question; the preview's frame is marked as it plays.
    void theStripShowsSelectsReordersAndMarksThePreviewsFrame() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const std::vector<SpriteImage> three{SpriteImage(8, 8, 30), SpriteImage(6, 9, 80),
                                             SpriteImage(9, 4, 140)};
        const fs::path file = writeSprites(bench, "three.spr", three);
        openFile(bench, file);
        auto* list = control<QListWidget>(window, "ListBox1");
        for (int row = 0; row < 3; ++row) {
            const std::uint8_t index = three[static_cast<std::size_t>(row)].at(0, 0);
            QCOMPARE(thumbnailColour(list, row), toQColor(window->spritePalette()[index]));
        }

        mouse(list->viewport(), QEvent::MouseButtonPress, lineCentre(list, 1), Qt::LeftButton,
              Qt::LeftButton);
        mouse(list->viewport(), QEvent::MouseButtonRelease, lineCentre(list, 1), Qt::LeftButton,
              Qt::NoButton);
        QCOMPARE(bench.spriteDocument().current(), std::optional<std::size_t>(1));

        dragLine(list, 0, 2);
        QCOMPARE(readAllSprites(file), (SpriteList{three[1], three[2], three[0]}));
        QCOMPARE(bench.spriteDocument().current(), std::optional<std::size_t>(2));
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(thumbnailColour(list, 2), toQColor(window->spritePalette()[30]));
        control<QAction>(window, "Undo1")->trigger();
        QCOMPARE(readAllSprites(file), three);
        QVERIFY(!control<QAction>(window, "Undo1")->isEnabled());

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(readAllSprites(file).size(), std::size_t{2});
        QVERIFY(bench.dialogs().messages().empty());
        control<QAction>(window, "Undo1")->trigger();
        QCOMPARE(readAllSprites(file), three);

        control<QListWidget>(window, "ListBox1")->setCurrentRow(0);
        control<QAction>(window, "AnimationPreview1")->trigger();
        AnimationPreviewWindow* preview = bench.windows().objectCompiler->animationPreview();
        QVERIFY(preview);
        const auto marked = [list] {
            QList<int> rows;
            for (int row = 0; row < list->count(); ++row)
                if (list->item(row)->font().bold()) rows << row;
            return rows;
        };
        QCOMPARE(window->previewFrame(), std::optional<std::size_t>(0));
        QCOMPARE(marked(), QList<int>{0});
        preview->preview().stop();
        preview->preview().advance();
        QCOMPARE(marked(), QList<int>{1});
        QVERIFY(!list->item(1)->toolTip().isEmpty());
        // Another file has no mark until its preview plays.
        openFile(bench, writeSprites(bench, "other.spr", three));
        QCOMPARE(marked(), QList<int>{});
        preview->close();
        window->close();
    }

    // The dialog offers scale or canvas, an anchor (top left first) and a range; the whole
    // range is one step.
    void theResizeDialogChangesARangeInOneStep() {
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        const std::vector<SpriteImage> three{vek::testing::patterned(4, 3, 1),
                                             vek::testing::patterned(2, 2, 40),
                                             SpriteImage(3, 1, 60)};
        const fs::path file = writeSprites(bench, "three.spr", three);
        openFile(bench, file);
        control<QListWidget>(window, "ListBox1")->setCurrentRow(1);
        QAction* resize = control<QAction>(window, "ResizeSprite1");

        whenResizeDialogShows([](QDialog* dialog) {
            QCOMPARE(control<QSpinBox>(dialog, "ResizeWidth")->value(), 2);
            QCOMPARE(control<QComboBox>(dialog, "ResizeAnchor")->currentIndex(), 0);
            QVERIFY(control<QRadioButton>(dialog, "ResizeCanvas")->isChecked());
            QVERIFY(!control<QSpinBox>(dialog, "ResizeFirst")->isEnabled());
            typeNumber(dialog, "ResizeWidth", 5);
            typeNumber(dialog, "ResizeHeight", 4);
            QTest::keyClick(control<QComboBox>(dialog, "ResizeAnchor"), Qt::Key_End);
            QTest::mouseClick(control<QRadioButton>(dialog, "ResizeRange"), Qt::LeftButton);
            QVERIFY(control<QSpinBox>(dialog, "ResizeFirst")->isEnabled());
            typeNumber(dialog, "ResizeFirst", 0);
            typeNumber(dialog, "ResizeLast", 1);
        });
        resize->trigger();
        const auto canvas = [](const SpriteImage& sprite) {
            return resizeCanvas(sprite, 5, 4, ResizeAnchor::BottomRight);
        };
        QCOMPARE(readAllSprites(file), (SpriteList{canvas(three[0]), canvas(three[1]), three[2]}));
        QCOMPARE(bench.spriteDocument().current(), std::optional<std::size_t>(1));
        control<QAction>(window, "Undo1")->trigger();
        QCOMPARE(readAllSprites(file), three);

        // Scaled, this sprite only; a cancelled dialog changes nothing.
        whenResizeDialogShows([](QDialog* dialog) {
            typeNumber(dialog, "ResizeWidth", 6);
            QTest::mouseClick(control<QRadioButton>(dialog, "ResizeScale"), Qt::LeftButton);
            QVERIFY(!control<QComboBox>(dialog, "ResizeAnchor")->isEnabled());
        });
        resize->trigger();
        QCOMPARE(readAllSprites(file),
                 (SpriteList{three[0], scaleSprite(three[1], 6, 2), three[2]}));
        const auto before = readFileBytes(file);
        whenResizeDialogShows([](QDialog* dialog) { typeNumber(dialog, "ResizeWidth", 9); }, false);
        resize->trigger();
        QCOMPARE(readFileBytes(file), before);
    }

    void screenshots() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench(whiteBackground());
        SpriteEditorWindow* window = editor(bench);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        openFile(bench, bench.demo().gameDirectory() / "Images" / "vekshow.spr");
        window->zoomToFit();
        control<QAction>(window, "AnimationPreview1")->trigger();
        AnimationPreviewWindow* preview = bench.windows().objectCompiler->animationPreview();
        preview->preview().stop();
        preview->preview().advance();
        preview->hide();
        for (const char* language : {"en", "de"}) {
            if (QLatin1String(language) == QLatin1String("de"))
                bench.windows().main->SpeedButton13Click();
            QApplication::processEvents();
            saveScreenshot(window, QStringLiteral("sprite-frames-%1").arg(language));
            auto* zoom = window->findChild<QMenu*>(QStringLiteral("Zoom1"));
            zoom->popup(window->mapToGlobal(QPoint(90, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(zoom));
            saveScreenshot(zoom, QStringLiteral("sprite-zoom-menu-%1").arg(language));
            zoom->hide();
            const QString name = QStringLiteral("sprite-resize-%1").arg(language);
            whenResizeDialogShows(
                [name](QDialog* dialog) {
                    QTest::mouseClick(control<QRadioButton>(dialog, "ResizeRange"), Qt::LeftButton);
                    saveScreenshot(dialog, name);
                },
                false);
            control<QAction>(window, "ResizeSprite1")->trigger();
        }
        window->close();
    }
};

VEK_UI_TEST_MAIN(SpriteFramesViewTest)
#include "sprite_frames_view_test.moc"
