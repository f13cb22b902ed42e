#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "gamelink/creatures.h"
#include "sprites/bitmap.h"
#include "sprites/color_match.h"
#include "sprites/sprite_file.h"
#include "sprites/ui/bitmap_converter_window.h"
#include "sprites/ui/sprite_editor_window.h"
#include "support/ui/workbench_fixture.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

BitmapConverterWindow* converter(TestWorkbench& bench) { return bench.windows().bitmapConverter; }

template <typename Control>
Control* control(TestWorkbench& bench, const char* name) {
    return converter(bench)->findChild<Control*>(QLatin1String(name));
}

const PaletteTable& palette(TestWorkbench& bench) { return bench.palette(); }

// A picture of many colours (none of them the background).
RgbImage gradient(int width, int height) {
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.at(x, y) = makeScreenColor(static_cast<std::uint8_t>(x * 255 / width),
                                               static_cast<std::uint8_t>(y * 255 / height),
                                               static_cast<std::uint8_t>((x + y) % 200));
        }
    }
    return picture;
}

// The indices the core gives a picture at a level.
std::vector<std::uint8_t> expectedIndices(TestWorkbench& bench, const RgbImage& picture,
                                          ColorMatchLevel level) {
    ColorMatcher matcher(palette(bench).colors(), level);
    std::vector<std::uint8_t> indices;
    for (ScreenColor pixel : picture.pixels) indices.push_back(matcher.match(pixel));
    return indices;
}

std::vector<std::uint8_t> spritePixels(const fs::path& file) {
    const SpriteTable table = readSpriteTable(file);
    return readSprite(file, table.entries.at(0)).pixels;
}

QString scratchFile(TestWorkbench& bench, const char* name) {
    return fromPath(bench.scratch() / name);
}

}  // namespace

class BitmapConverterWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void isBuiltAsDesigned() {
        TestWorkbench bench;
        BitmapConverterWindow* window = converter(bench);
        QCOMPARE(window->objectName(), QStringLiteral("TForm5"));
        QCOMPARE(window->windowTitle(), QStringLiteral("BMP to Sprite converter"));
        QCOMPARE(window->size(), QSize(287, 373));
        QCOMPARE(control<QProgressBar>(bench, "ProgressBar1")->height(), 21);
        auto* pages = control<QTabWidget>(bench, "PageControl1");
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral("Picture"));
        QCOMPARE(tagOf(pages->widget(0)), 107);
        QCOMPARE(tagOf(pages->widget(1)), 108);
        QCOMPARE(pages->currentIndex(), 1);  // Options first
        QCOMPARE(tagOf(control<QGroupBox>(bench, "GroupBox1")), 110);
        const std::pair<const char*, int> radios[] = {{"RadioButton1", 109},
                                                      {"RadioButton2", 111},
                                                      {"RadioButton3", 112},
                                                      {"RadioButton4", 114}};
        for (auto [name, tag] : radios) QCOMPARE(tagOf(control<QRadioButton>(bench, name)), tag);
        QVERIFY(control<QRadioButton>(bench, "RadioButton1")->isChecked());
        QCOMPARE(window->matchLevel(), ColorMatchLevel::Best);
        QCOMPARE(tagOf(control<QAction>(bench, "LoadBMP1")), 39);
        QCOMPARE(tagOf(control<QAction>(bench, "SaveasSPRFile1")), 40);
        QCOMPARE(tagOf(control<QAction>(bench, "CompileseveralBMPstoSPR1")), 105);
        // The black start picture.
        QCOMPARE(window->picture().width, 263);
        QCOMPARE(window->picture().height, 275);
        QVERIFY(std::all_of(window->picture().pixels.begin(), window->picture().pixels.end(),
                            [](ScreenColor c) { return c == 0; }));
    }

    void theLanguageSwitchReachesEveryTaggedControl() {
        TestWorkbench bench;
        // The picture's hint exists in German only.
        QCOMPARE(hintOf(control<QWidget>(bench, "Image1")), QString());
        bench.workbench().changeLanguage(1000);
        QCOMPARE(hintOf(control<QWidget>(bench, "Image1")),
                 QStringLiteral(".BMP Anzeige (.SPR Anzeige nach der Konvertierung)"));
        auto* pages = control<QTabWidget>(bench, "PageControl1");
        QCOMPARE(pages->tabText(0), QStringLiteral("Bild"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Einstellungen"));
        QCOMPARE(control<QGroupBox>(bench, "GroupBox1")->title(), QStringLiteral("Farbanpassung:"));
        QCOMPARE(control<QRadioButton>(bench, "RadioButton1")->text(),
                 QStringLiteral("Super (sehr langsam)"));
        QCOMPARE(control<QRadioButton>(bench, "RadioButton4")->text(),
                 QStringLiteral("Mies (am schnellsten)"));
        QCOMPARE(control<QAction>(bench, "LoadBMP1")->text(),
                 QStringLiteral(".BMP Datei &laden..."));
        QCOMPARE(control<QAction>(bench, "CompileseveralBMPstoSPR1")->text(),
                 QStringLiteral("Mehrere .BMP Dateien zu .SPR Dateien konvertieren"));
        QCOMPARE(hintOf(control<QRadioButton>(bench, "RadioButton3")),
                 QStringLiteral("Fuer Bilder mit sehr wenig Farben"));
    }

    void savingWithoutABitmapConvertsTheStartPicture() {
        TestWorkbench bench;
        const QString target = scratchFile(bench, "start");  // typed without an extension
        bench.dialogs().fileAnswers = {target};
        converter(bench)->SaveasSPRFile1Click();
        QVERIFY(bench.dialogs().errors().empty());
        const auto saves = bench.dialogs().ofKind(QStringLiteral("save"));
        QCOMPARE(saves.size(), std::size_t{1});
        QCOMPARE(saves[0].text, QStringLiteral("Save as .SPR file"));
        QCOMPARE(saves[0].caption, toQString(bench.context().game.paths().CImagePath));
        const fs::path written = bench.scratch() / "start.SPR";
        QCOMPARE(fs::file_size(written), std::uintmax_t{10 + 263 * 275});
        const std::uint8_t black =
            expectedIndices(bench, RgbImage(1, 1, 0), ColorMatchLevel::Best)[0];
        const auto pixels = spritePixels(written);
        QVERIFY(
            std::all_of(pixels.begin(), pixels.end(), [&](std::uint8_t i) { return i == black; }));
        // The picture shows the palette colour of the index; the bar is back at 0.
        QCOMPARE(converter(bench)->picture().at(100, 100), palette(bench)[black]);
        QCOMPARE(control<QProgressBar>(bench, "ProgressBar1")->value(), 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void loadAsksInTheImageDirectoryAndKeepsThePictureOnCancelOrError() {
        TestWorkbench bench;
        bench.context().look.setLanguage("deutsch");
        converter(bench)->LoadBMP1Click();  // cancelled
        auto opens = bench.dialogs().ofKind(QStringLiteral("open"));
        QCOMPARE(opens.size(), std::size_t{1});
        QCOMPARE(opens[0].text, QStringLiteral(".BMP Datei oeffnen"));
        QCOMPARE(opens[0].caption, toQString(bench.context().game.paths().CImagePath));
        QCOMPARE(converter(bench)->picture().width, 263);

        writeFileAtomically(bench.scratch() / "broken.bmp",
                            std::string_view("BM\x10\0\0\0 garbage", 14));
        bench.dialogs().fileAnswers = {scratchFile(bench, "broken.bmp")};
        converter(bench)->LoadBMP1Click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(bench.dialogs().errors()[0].text.startsWith(QStringLiteral("Bitmap ist ungültig")));
        QCOMPARE(converter(bench)->picture().width, 263);

        const RgbImage picture = gradient(40, 30);
        writeBitmap(bench.scratch() / "gradient.bmp", picture);
        bench.dialogs().fileAnswers = {scratchFile(bench, "gradient.bmp")};
        converter(bench)->LoadBMP1Click();
        QCOMPARE(converter(bench)->picture().pixels, picture.pixels);
        QCOMPARE(converter(bench)->findChild<QWidget*>(QStringLiteral("Image1"))->size(),
                 QSize(40, 30));
    }

    void aOnePixelWhiteBitmapOnTheWhiteBackgroundIsIndexZeroInElevenBytes() {
        TestWorkbench bench;
        QCOMPARE(palette(bench).background(), 0xFFFFFFu);
        writeBitmap(bench.scratch() / "dot.bmp", RgbImage(1, 1, 0xFFFFFF));
        bench.dialogs().fileAnswers = {scratchFile(bench, "dot.bmp"),
                                       scratchFile(bench, "dot.spr")};
        converter(bench)->LoadBMP1Click();
        converter(bench)->SaveasSPRFile1Click();
        const std::vector<std::uint8_t> expected = {1, 0, 10, 0, 0, 0, 1, 0, 1, 0, 0};
        QCOMPARE(readFileBytes(bench.scratch() / "dot.spr"), expected);
    }

    void theSelectedLevelIsUsedAndConvertingAgainAtBestChangesNothing() {
        TestWorkbench bench;
        const RgbImage picture = gradient(64, 48);
        writeBitmap(bench.scratch() / "g.bmp", picture);
        control<QRadioButton>(bench, "RadioButton4")->setChecked(true);
        QCOMPARE(converter(bench)->matchLevel(), ColorMatchLevel::VeryPoor);
        bench.dialogs().fileAnswers = {scratchFile(bench, "g.bmp"), scratchFile(bench, "poor.spr")};
        converter(bench)->LoadBMP1Click();
        converter(bench)->SaveasSPRFile1Click();
        QCOMPARE(spritePixels(bench.scratch() / "poor.spr"),
                 expectedIndices(bench, picture, ColorMatchLevel::VeryPoor));

        control<QRadioButton>(bench, "RadioButton1")->setChecked(true);
        bench.dialogs().fileAnswers = {scratchFile(bench, "g.bmp"), scratchFile(bench, "best1.spr"),
                                       scratchFile(bench, "best2.spr")};
        converter(bench)->LoadBMP1Click();
        converter(bench)->SaveasSPRFile1Click();
        converter(bench)->SaveasSPRFile1Click();  // the picture now holds the converted colours
        QCOMPARE(spritePixels(bench.scratch() / "best1.spr"),
                 expectedIndices(bench, picture, ColorMatchLevel::Best));
        QCOMPARE(readFileBytes(bench.scratch() / "best1.spr"),
                 readFileBytes(bench.scratch() / "best2.spr"));
    }

    void theBatchConvertsEveryFileBesideItInOrderWithoutDialogs() {
        TestWorkbench bench;
        QStringList files;
        std::vector<RgbImage> pictures;
        for (const char* name : {"A.BMP", "B.BMP", "c.bmp"}) {
            pictures.push_back(gradient(20 + static_cast<int>(pictures.size()) * 5, 10));
            writeBitmap(bench.scratch() / name, pictures.back());
            files << scratchFile(bench, name);
        }
        bench.dialogs().fileListAnswers = {files};
        converter(bench)->CompileseveralBMPstoSPR1Click();
        QVERIFY(bench.dialogs().errors().empty());
        const auto asked = bench.dialogs().asked;
        QCOMPARE(asked.size(), std::size_t{1});
        QCOMPARE(asked[0].kind, QStringLiteral("openMany"));
        QCOMPARE(asked[0].text, QStringLiteral("Open several .BMP files"));
        const fs::path sprites[] = {bench.scratch() / "A.SPR", bench.scratch() / "B.SPR",
                                    bench.scratch() / "c.SPR"};
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(spritePixels(sprites[i]),
                     expectedIndices(bench, pictures[i], ColorMatchLevel::Best));
        }
        QVERIFY(fs::last_write_time(sprites[0]) <= fs::last_write_time(sprites[1]));
        QVERIFY(fs::last_write_time(sprites[1]) <= fs::last_write_time(sprites[2]));
        // The picture shows the last file, converted.
        QCOMPARE(converter(bench)->picture().width, 30);
        QCOMPARE(
            converter(bench)->picture().at(3, 3),
            palette(bench)[expectedIndices(bench, pictures[2], ColorMatchLevel::Best)[3 * 30 + 3]]);
    }

    void theBatchStopsAtTheFirstFailingFileAndTheNextCommandAsksAgain() {
        TestWorkbench bench;
        writeBitmap(bench.scratch() / "A.BMP", gradient(8, 8));
        writeFileAtomically(bench.scratch() / "B.BMP", std::string_view("not a bitmap"));
        writeBitmap(bench.scratch() / "C.BMP", gradient(9, 9));
        bench.dialogs().fileListAnswers = {QStringList{
            scratchFile(bench, "A.BMP"), scratchFile(bench, "B.BMP"), scratchFile(bench, "C.BMP")}};
        converter(bench)->CompileseveralBMPstoSPR1Click();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(fs::exists(bench.scratch() / "A.SPR"));
        QVERIFY(!fs::exists(bench.scratch() / "B.SPR"));
        QVERIFY(!fs::exists(bench.scratch() / "C.SPR"));
        QCOMPARE(converter(bench)->picture().width, 8);
        converter(bench)->LoadBMP1Click();
        converter(bench)->SaveasSPRFile1Click();
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("open")).size(), std::size_t{1});
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("save")).size(), std::size_t{1});
    }

    // While a picture converts, paint events and timers run, the wait cursor shows, the bar
    // moves, and no other command can start.
    void theWindowStaysAliveButTakesNoCommandsWhileConverting() {
        TestWorkbench bench;
        writeBitmap(bench.scratch() / "big.bmp", gradient(900, 700));
        bench.dialogs().fileAnswers = {scratchFile(bench, "big.bmp"),
                                       scratchFile(bench, "big.spr")};
        converter(bench)->LoadBMP1Click();
        auto* bar = control<QProgressBar>(bench, "ProgressBar1");
        bool firedWhileConverting = false;
        int barMoved = 0;  // the largest bar value seen short of the end while converting
        bool waitCursor = false;
        QTimer::singleShot(0, converter(bench), [&] {
            firedWhileConverting = converter(bench)->converting();
            waitCursor = QApplication::overrideCursor() &&
                         QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            converter(bench)->LoadBMP1Click();  // refused: no dialog
            converter(bench)->CompileseveralBMPstoSPR1Click();
        });
        // The first chance for events may come at row 0 on a slow machine: watch every one.
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (converter(bench)->converting() && bar->value() < 699)
                barMoved = std::max(barMoved, bar->value());
        });
        watcher.start(0);
        converter(bench)->SaveasSPRFile1Click();
        watcher.stop();
        QVERIFY(firedWhileConverting);
        QVERIFY(barMoved > 0);
        QCOMPARE(bar->maximum(), 699);
        QVERIFY(waitCursor);
        QCOMPARE(bench.dialogs().asked.size(), std::size_t{2});  // the open and the save
        QVERIFY(!converter(bench)->converting());
        QCOMPARE(bar->value(), 0);
        QVERIFY(fs::exists(bench.scratch() / "big.spr"));
    }

    void screenshot() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        TestWorkbench bench;
        const fs::path sunset =
            pathFromUtf8(bench.context().game.paths().CImagePath) / "sunset.bmp";
        bench.dialogs().fileAnswers = {fromPath(sunset), scratchFile(bench, "s.spr")};
        converter(bench)->LoadBMP1Click();
        converter(bench)->show();
        saveScreenshot(converter(bench), QStringLiteral("converter_options"));
        converter(bench)
            ->findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentIndex(0);
        converter(bench)->SaveasSPRFile1Click();
        saveScreenshot(converter(bench), QStringLiteral("converter_picture"));
    }
};

VEK_UI_TEST_MAIN(BitmapConverterWindowTest)
#include "bitmap_converter_window_test.moc"
