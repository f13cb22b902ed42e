#include <QAction>
#include <QMenu>
#include <filesystem>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "gamelink/sim_harness.h"
#include "support/temp_dir.h"
#include "support/ui/workbench_fixture.h"
#include "world/egg_disk.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

// A demo of its own: these commands change its files.
struct Bench {
    TestWorkbench bench{options()};

    static TestWorkbench::Options options() {
        TestWorkbench::Options made;
        made.privateDemo = true;
        return made;
    }
    void choose(const char* item) {
        bench.windows().main->findChild<QAction*>(QLatin1String(item))->trigger();
    }
    fs::path game(const char* name) { return bench.demo().gameDirectory() / name; }
    std::string text(const fs::path& file) { return fs::exists(file) ? readFileText(file) : ""; }
    void german() {
        bench.context().look.setLanguage(kLanguageGerman);
        bench.workbench().changeLanguage(1000);
    }
};

}  // namespace

class GameDataMenusTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void resetWorldAsksFirstAndCancelChangesNothing() {
        Bench b;
        const std::string world = b.text(b.game("world.sfc"));
        b.bench.dialogs().messageAnswers = {Answer::Cancel};
        b.choose("ResetWorld1");
        QCOMPARE(b.text(b.game("world.sfc")), world);
        QVERIFY(!fs::exists(b.game("OldWorld.sfc")));
        const auto asked = b.bench.dialogs().messages();
        QCOMPARE(asked.size(), std::size_t{1});
        QCOMPARE(asked[0].caption, QStringLiteral("Reset World?"));
        QVERIFY(asked[0].text.contains(QStringLiteral("\"OldWorld.SFC\"")));
        QCOMPARE(asked[0].buttons, Buttons::OkCancel);

        b.german();
        b.choose("ResetWorld1");  // OK
        QCOMPARE(b.bench.dialogs().messages().back().caption, QStringLiteral("Welt zurücksetzen?"));
        QCOMPARE(b.text(b.game("OldWorld.sfc")), world);
        QCOMPARE(b.text(b.game("world.sfc")), b.text(b.game("eden.sfc")));
        QVERIFY(b.bench.dialogs().errors().empty());
    }

    void whileTheGameAnswersResetWorldWarnsFirst() {
        vek::testing::TempDir dir;
        vek::testing::SimProcess sim(dir / "game");
        Bench b;
        b.bench.linkTo(dir / "game");
        const std::string world = b.text(b.game("world.sfc"));
        b.bench.dialogs().messageAnswers = {Answer::Cancel};
        b.choose("ResetWorld1");
        QCOMPARE(b.bench.dialogs().messages().size(), std::size_t{1});
        QVERIFY(b.bench.dialogs().messages()[0].text.contains(QStringLiteral("is running")));
        QCOMPARE(b.text(b.game("world.sfc")), world);
        b.choose("ResetWorld1");  // OK, OK
        QCOMPARE(b.bench.dialogs().messages().size(), std::size_t{3});
        QCOMPARE(b.text(b.game("world.sfc")), b.text(b.game("eden.sfc")));
    }

    void createNewWorldCopiesEdenToTheChosenFile() {
        Bench b;
        b.choose("CreatenewWorld1");  // cancelled
        const auto dialog = b.bench.dialogs().ofKind(QStringLiteral("save"));
        QCOMPARE(dialog.size(), std::size_t{1});
        QCOMPARE(dialog[0].text, QStringLiteral("Create new .SFC world file"));
        QCOMPARE(dialog[0].caption, toQString(b.bench.context().game.paths().CMainPath));
        const fs::path chosen = b.bench.scratch() / "mine";
        b.bench.dialogs().fileAnswers = {fromPath(chosen)};
        b.german();
        b.choose("CreatenewWorld1");
        QCOMPARE(b.bench.dialogs().ofKind(QStringLiteral("save")).back().text,
                 QStringLiteral("Neue Welt .SFC Datei erzeugen"));
        QCOMPARE(b.text(b.bench.scratch() / "mine.SFC"), b.text(b.game("eden.sfc")));
    }

    void eggDisksAskWithTheirKindsTitleAndWriteToDriveA() {
        Bench b;
        const fs::path floppy = b.bench.demo().floppy();
        const struct {
            const char* item;
            EggDiskKind kind;
        } items[] = {{"NewEggs1", EggDiskKind::Game},
                     {"grenorneggs1", EggDiskKind::Grendel},
                     {"norneleggs1", EggDiskKind::NornEl},
                     {"nornel1", EggDiskKind::GreNorn}};
        for (const auto& item : items) {
            b.bench.dialogs().messageAnswers = {Answer::Cancel};
            b.choose(item.item);
            QVERIFY(fs::is_empty(floppy));
            QCOMPARE(b.bench.dialogs().messages().back().caption,
                     toQString(eggDiskKindInfo(item.kind).question.caption.english));
        }
        // Genetics of the test's own, one mother missing.
        const fs::path genetics = toPath(toQString(b.bench.context().game.paths().CGeneticsPath));
        for (const char* name :
             {"mum1.gen", "mum2.gen", "mum3.gen", "mum4.gen", "mum5.gen", "gren.gen"})
            writeFileAtomically(genetics / name, std::string_view(name));
        fs::remove(genetics / "mum6.gen");
        b.german();
        b.choose("norneleggs1");
        const auto asked = b.bench.dialogs().messages().back();
        QCOMPARE(asked.caption, QStringLiteral("Erstellen einer NornEl Eier-Diskette"));
        QCOMPARE(asked.text, QStringLiteral("Bitte geben Sie eine leere Diskette in Laufwerk A: "
                                            "und klicken Sie Ja"));
        // Nothing is written; one report names the genetics file missing.
        QVERIFY(fs::is_empty(floppy));
        QCOMPARE(b.bench.dialogs().errors().size(), std::size_t{1});
        QVERIFY(b.bench.dialogs().errors()[0].text.contains(QStringLiteral("mum6.gen")));
        QVERIFY(!b.bench.dialogs().errors()[0].text.contains(QStringLiteral("mum5.gen")));
        writeFileAtomically(genetics / "mum6.gen", std::string_view("mum6.gen"));
        b.choose("norneleggs1");
        QCOMPARE(b.text(floppy / "header.dat"), eggDiskHeader());
        QCOMPARE(b.text(floppy / "egg5" / "dad5.gen"), std::string("gren.gen"));
        QCOMPARE(b.text(floppy / "egg6" / "mum6.gen"), std::string("mum6.gen"));
    }

    void withoutTheGamesFoldersNothingIsAskedAndNothingWrittenHere() {
        vek::testing::TempDir cwd;
        writeFileAtomically(cwd / "world.sfc", std::string_view("mine"));
        writeFileAtomically(cwd / "eden.sfc", std::string_view("pristine"));
        const fs::path before = fs::current_path();
        fs::current_path(cwd.path());
        TestWorkbench::Options options;
        options.gameInstalled = false;
        options.startupAnswers = {Answer::Cancel};
        TestWorkbench bench(options);
        const std::size_t asked = bench.dialogs().messages().size();
        for (const char* item : {"ResetWorld1", "CreatenewWorld1", "NewEggs1"})
            bench.windows().main->findChild<QAction*>(QLatin1String(item))->trigger();
        fs::current_path(before);
        QCOMPARE(bench.dialogs().messages().size(), asked);
        QVERIFY(bench.dialogs().ofKind(QStringLiteral("save")).empty());
        const auto errors = bench.dialogs().errors();
        QCOMPARE(errors.size(), std::size_t{3});
        QVERIFY(errors[0].text.contains(QStringLiteral("\"Main Directory\" is not known")));
        QVERIFY(errors[2].text.contains(QStringLiteral("\"Genetics Directory\" is not known")));
        QCOMPARE(readFileText(cwd / "world.sfc"), std::string("mine"));
        QVERIFY(!fs::exists(cwd / "OldWorld.sfc"));
    }

    void theCheatMenuWritesTheGamesRegistryValues() {
        Bench b;
        const fs::path userReg = b.bench.demo().winePrefix() / "user.reg";
        const struct {
            const char* item;
            const char* line;
        } items[] = {{"PebbleCheat1", "\"Privileges\"=\"pebble\""},
                     {"MarrowCheat1", "\"Privileges\"=\"Marrow\""},
                     {"PebbleCheatNewVersion1", "\"Privileges\"=\"tundra\""},
                     {"MarrowCheatNewVersion1", "\"Privileges\"=\"lintel\""},
                     {"NoCheat1", "\"Privileges\"=\"none\""}};
        for (const auto& item : items) {
            b.choose(item.item);
            QVERIFY2(b.text(userReg).find(item.line) != std::string::npos, item.item);
        }
        b.choose("EnableMoreEggsfunktion1");
        QVERIFY(b.text(b.bench.demo().winePrefix() / "system.reg").find("\"Eggstra\"=\"kkkkkk\"") !=
                std::string::npos);
        QVERIFY(b.bench.dialogs().asked.empty());
    }

    void menusInBothLanguages() {
        Bench b;
        for (const bool inGerman : {false, true}) {
            if (inGerman) b.german();
            for (const char* menu : {"PopupMenu1", "PopupMenu2", "PopupMenu3"}) {
                QMenu* popup = b.bench.windows().main->findChild<QMenu*>(QLatin1String(menu));
                popup->popup(QPoint(0, 48));
                saveScreenshot(popup, QLatin1String(menu) + (inGerman ? QStringLiteral("-de")
                                                                      : QStringLiteral("-en")));
                popup->hide();
            }
        }
        QCOMPARE(b.bench.windows().main->findChild<QAction*>(QStringLiteral("nornel1"))->text(),
                 QStringLiteral("GreNorn Ei-Disk (Grendel &Mütter)"));
    }
};

VEK_UI_TEST_MAIN(GameDataMenusTest)
#include "game_data_menus_test.moc"
