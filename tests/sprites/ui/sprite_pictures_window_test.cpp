// The sprite editor's PNG and GIF commands of the File menu, driven as a user would.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QtTest/QtTest>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/qt_convert.h"
#include "sprites/gif.h"
#include "sprites/png.h"
#include "sprites/sprite_frames.h"
#include "sprites/sprite_pictures.h"
#include "sprites/ui/sprite_editor_window.h"
#include "support/ui/workbench_fixture.h"
#include "tests/sprites/sprite_test_support.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

TestWorkbench::Options white(const char* language) {
    TestWorkbench::Options options;
    options.vekIniText =
        std::string("[Color]\r\nSBGC=$FFFFFF\r\n[Language]\r\nLanguage=") + language + "\r\n";
    return options;
}

SpriteEditorWindow* editor(TestWorkbench& bench) { return bench.windows().spriteEditor; }

QAction* item(TestWorkbench& bench, const char* name) {
    auto* found = editor(bench)->findChild<QAction*>(QLatin1String(name));
    if (!found) qFatal("no menu item %s", name);
    return found;
}

QStringList fileMenuTexts(TestWorkbench& bench) {
    QStringList texts;
    for (QAction* action : editor(bench)->findChild<QMenu*>(QStringLiteral("File1"))->actions())
        if (action->isVisible() && !action->isSeparator()) texts << action->objectName();
    return texts;
}

// Three sprites of two sizes, the middle one using index 0.
std::vector<SpriteImage> threeSprites() {
    SpriteImage middle = vek::testing::patterned(6, 4, 30);
    middle.at(0, 0) = 0;
    return {vek::testing::patterned(4, 4, 11), middle, vek::testing::patterned(4, 2, 90)};
}

// The three sprites written to "three.spr" and opened in the editor; the file.
fs::path openThreeSprites(TestWorkbench& bench) {
    const fs::path file = bench.scratch() / "three.spr";
    writeSpriteFile(file, threeSprites());
    bench.spriteDocument().open(file);
    return file;
}

}  // namespace

class SpritePicturesWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void fileMenuHasThePictureCommandsBesideTheirKin() {
        TestWorkbench bench(white("english"));
        const QStringList names = fileMenuTexts(bench);
        QCOMPARE(names.indexOf(QStringLiteral("ImportGif1")),
                 names.indexOf(QStringLiteral("ImportPicture1")) + 1);
        QCOMPARE(names.indexOf(QStringLiteral("ExportSpritePng1")),
                 names.indexOf(QStringLiteral("SavePaletteAreatoBMP1")) + 1);
        const qsizetype png = names.indexOf(QStringLiteral("ExportSpritePng1"));
        QCOMPARE(names.indexOf(QStringLiteral("ExportSpritePngs1")), png + 1);
        QCOMPARE(names.indexOf(QStringLiteral("ExportSpriteSheet1")), png + 2);
        QCOMPARE(names.indexOf(QStringLiteral("ExportGif1")), png + 3);
        QCOMPARE(item(bench, "ExportSpritePngs1")->text(),
                 QStringLiteral("Export Sprites as PNG Files…"));
        QCOMPARE(item(bench, "ExportSpritePng1")->text(), QStringLiteral("Export Sprite as PNG…"));
        QCOMPARE(item(bench, "ExportGif1")->text(), QStringLiteral("Export as GIF…"));
        QCOMPARE(item(bench, "ImportGif1")->text(), QStringLiteral("Import GIF frames…"));
        TestWorkbench german(white("deutsch"));
        QCOMPARE(item(german, "ExportSpritePng1")->text(),
                 QStringLiteral("Sprite als PNG exportieren…"));
        QCOMPARE(item(german, "ImportGif1")->text(), QStringLiteral("GIF-Bilder importieren…"));
        QCOMPARE(item(german, "ExportSpriteSheet1")->text(),
                 QStringLiteral("Sprites als PNG-Bogen exportieren…"));
    }

    void pngExportIsTheSpriteAsItIsAndImportsBackIntoIt() {
        if (!pngBuiltIn()) QSKIP("built without libpng");
        TestWorkbench bench(white("english"));
        const fs::path file = openThreeSprites(bench);
        editor(bench)->findChild<QListWidget*>(QStringLiteral("ListBox1"))->setCurrentRow(1);
        editor(bench)->setZoom(4);  // the export does not follow the zoom
        const fs::path png = bench.scratch() / "middle";
        bench.dialogs().fileAnswers = {fromPath(png)};
        item(bench, "ExportSpritePng1")->trigger();
        QCOMPARE(bench.dialogs().asked.back().text, QStringLiteral("Export sprite as PNG"));
        const auto indexed =
            decodeIndexedPng(readFileBytes(bench.scratch() / "middle.PNG"), kMaxSpritePixels);
        QVERIFY(indexed);
        QCOMPARE(indexed->width, 6);
        QVERIFY(indexed->indices == threeSprites()[1].pixels);
        QVERIFY(!indexed->table[0].opaque);
        QVERIFY(indexed->table[30].color == editor(bench)->spritePalette().color(30));

        bench.spriteDocument().clear();
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "middle.PNG")};
        item(bench, "ImportPicture1")->trigger();
        QVERIFY(bench.dialogs().errors().empty());
        QVERIFY(bench.spriteDocument().sprite() == threeSprites()[1]);
    }

    void gifExportTakesEverySpriteAsShownAndImportInsertsItsFrames() {
        if (!gifBuiltIn()) QSKIP("built without giflib");
        TestWorkbench bench(white("english"));
        const fs::path file = openThreeSprites(bench);
        bench.spriteDocument().paint(1, 1, 77);  // unsaved, but shown
        // No animation string: a range, here every sprite.
        bench.dialogs().textAnswers = {QString()};
        bench.dialogs().numberAnswers = {0, 2};
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "all.gif")};
        item(bench, "ExportGif1")->trigger();
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("text")).size(), std::size_t{1});
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("number")).size(), std::size_t{2});
        QCOMPARE(bench.dialogs().asked.back().text,
                 QStringLiteral("Export sprites as animated GIF"));
        const PaletteTable& palette = editor(bench)->spritePalette();
        const SpriteList frames =
            decodeSpriteGif(readFileBytes(bench.scratch() / "all.gif"), palette);
        QCOMPARE(frames.size(), std::size_t{3});
        QCOMPARE(frames[0].at(1, 1), std::uint8_t{77});
        QCOMPARE(frames[2].at(3, 1), threeSprites()[2].at(3, 1));

        QVERIFY(readFileText(bench.scratch() / "all.gif").find("NETSCAPE2.0") != std::string::npos);

        bench.spriteDocument().saveInPlace();
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "all.gif")};
        item(bench, "ImportGif1")->trigger();
        QVERIFY(bench.dialogs().errors().empty());
        const SpriteList sprites = readAllSprites(file);
        QCOMPARE(sprites.size(), std::size_t{6});
        QCOMPARE(sprites[1].width, std::uint16_t{6});  // the GIF's screen
        QCOMPARE(sprites[1].at(1, 1), std::uint8_t{77});
        QVERIFY(sprites[2] == threeSprites()[1]);
        QCOMPARE(bench.spriteDocument().current(), std::optional<std::size_t>(1));
        bench.spriteDocument().undo();
        QCOMPARE(readAllSprites(file).size(), std::size_t{3});
    }

    // An animation string counted from a first sprite: its frames in its order, played once
    // without R; a string that is not one is reported and nothing is written; cancelled, nothing.
    void gifExportPlaysAnAnimationStringFromAFirstSprite() {
        if (!gifBuiltIn()) QSKIP("built without giflib");
        TestWorkbench bench(white("english"));
        const fs::path file = openThreeSprites(bench);
        const fs::path gif = bench.scratch() / "anim.gif";
        bench.dialogs().textAnswers = {QStringLiteral("[100]")};
        bench.dialogs().numberAnswers = {1};
        bench.dialogs().fileAnswers = {fromPath(gif)};
        item(bench, "ExportGif1")->trigger();
        QVERIFY(bench.dialogs().errors().empty());
        const PaletteTable& palette = editor(bench)->spritePalette();
        const SpriteList frames = decodeSpriteGif(readFileBytes(gif), palette);
        QCOMPARE(frames.size(), std::size_t{3});
        QCOMPARE(frames[0].at(3, 1), threeSprites()[2].at(3, 1));
        QCOMPARE(frames[1].at(1, 1), threeSprites()[1].at(1, 1));
        QVERIFY(readFileText(gif).find("NETSCAPE2.0") == std::string::npos);

        fs::remove(gif);
        bench.dialogs().textAnswers = {QStringLiteral("[1R2]")};
        bench.dialogs().numberAnswers = {0};
        bench.dialogs().fileAnswers = {fromPath(gif)};
        item(bench, "ExportGif1")->trigger();
        QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(!fs::exists(gif));
        bench.dialogs().textAnswers = {std::nullopt};
        item(bench, "ExportGif1")->trigger();
        QVERIFY(!fs::exists(gif));
    }

    // A range as PNG files, NAME-K.png for sprite K, or as one sheet; each reads back as the
    // sprites as shown.
    void pngExportOfARangeWritesOneFileEachOrASheet() {
        if (!pngBuiltIn()) QSKIP("built without libpng");
        TestWorkbench bench(white("english"));
        const fs::path file = openThreeSprites(bench);
        editor(bench)->findChild<QListWidget*>(QStringLiteral("ListBox1"))->setCurrentRow(1);
        bench.spriteDocument().paint(2, 2, 77);  // unsaved, but shown
        SpriteList shown = threeSprites();
        shown[1].at(2, 2) = 77;
        const PaletteTable& palette = editor(bench)->spritePalette();
        const auto readBack = [&palette](const fs::path& png) {
            return readSpritePictures(png, palette).front();
        };

        bench.dialogs().numberAnswers = {1, 2};
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "pose.png")};
        item(bench, "ExportSpritePngs1")->trigger();
        QVERIFY(bench.dialogs().errors().empty());
        QCOMPARE(bench.dialogs().ofKind(QStringLiteral("number")).front().caption,
                 QStringLiteral("1"));  // the current sprite to start with
        QVERIFY(!fs::exists(bench.scratch() / "pose-0.png"));
        QVERIFY(readBack(bench.scratch() / "pose-1.png") == shown[1]);
        QVERIFY(readBack(bench.scratch() / "pose-2.png") == shown[2]);
        QVERIFY(!fs::exists(bench.scratch() / "pose.png"));

        bench.dialogs().numberAnswers = {0, 2};
        bench.dialogs().fileAnswers = {fromPath(bench.scratch() / "sheet.png")};
        item(bench, "ExportSpriteSheet1")->trigger();
        QVERIFY(bench.dialogs().errors().empty());
        QVERIFY(readBack(bench.scratch() / "sheet.png") == spriteSheet(shown));
        QCOMPARE(readBack(bench.scratch() / "sheet.png").width, std::uint16_t{12});
    }

    // The File menu in both languages.
    void fileMenuScreenshots() {
        if (screenshotFolder().isEmpty()) QSKIP("set VEK_SCREENSHOT_DIR to look at the window");
        for (const char* language : {"english", "deutsch"}) {
            TestWorkbench bench(white(language));
            SpriteEditorWindow* window = editor(bench);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            bench.spriteDocument().open(bench.demo().gameDirectory() / "Images" / "vekshow.spr");
            auto* file = window->findChild<QMenu*>(QStringLiteral("File1"));
            file->popup(window->mapToGlobal(QPoint(10, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(file));
            saveScreenshot(file, QStringLiteral("spriteio-file-menu-%1").arg(language));
            file->hide();
            window->close();
        }
    }
};

VEK_UI_TEST_MAIN(SpritePicturesWindowTest)
#include "sprite_pictures_window_test.moc"
