#include <QListWidget>
#include <QPlainTextEdit>

#include "app/file_io.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "support/ui/workbench_fixture.h"
#include "utilities/ui/about_window.h"
#include "utilities/ui/sound_player_window.h"

using namespace vek;
using namespace vek::ui;
using namespace vek::ui::testing;

namespace fs = std::filesystem;

namespace {

TestWorkbench::Options options(bool debugMode) {
    TestWorkbench::Options made;
    made.privateDemo = true;
    made.debugMode = debugMode;
    return made;
}

QStringList listed(const QListWidget* list) {
    QStringList names;
    for (int row = 0; row < list->count(); ++row) names << list->item(row)->text();
    return names;
}

fs::path soundDirectory(TestWorkbench& bench) {
    return pathFromUtf8(bench.context().game.paths().CSoundPath);
}

}  // namespace

class UtilitiesWindowsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void theSoundPlayerReadsTheSoundDirectoryOnEveryActivation() {
        TestWorkbench bench(options(false));
        SoundPlayerWindow* player = bench.windows().soundPlayer;
        QListWidget* files = player->fileListBox1();
        QCOMPARE(files->objectName(), QStringLiteral("FileListBox1"));
        QCOMPARE(tagOf(files), 104);
        QCOMPARE(hintOf(files), QStringLiteral("Click to play the sound"));
        player->FormActivate();
        QVERIFY(listed(files).contains(QStringLiteral("MU02.wav")));
        QVERIFY(!listed(files).contains(QStringLiteral("ab.wav")));
        writeFileAtomically(soundDirectory(bench) / "ab.wav", std::string_view("RIFF"));
        player->FormActivate();
        QVERIFY(listed(files).contains(QStringLiteral("ab.wav")));
        bench.workbench().changeLanguage(1000);
        QCOMPARE(hintOf(files), QStringLiteral("Klicken um das Geraeusch abzuspielen"));
    }

    void aClickPlaysTheSoundOfTheFirstFourCharacters() {
        TestWorkbench bench(options(false));
        SoundPlayerWindow* player = bench.windows().soundPlayer;
        writeFileAtomically(soundDirectory(bench) / "ab.wav", std::string_view("RIFF"));
        player->FormActivate();
        const struct {
            const char* file;
            fs::path played;
        } clicks[] = {{"MU02.wav", soundDirectory(bench) / "MU02.wav"},
                      {"sw04.WAV", soundDirectory(bench) / "sw04.WAV"},
                      {"ab.wav", soundDirectory(bench) / "ab.w.wav"}};
        for (const auto& click : clicks) {
            player->fileListBox1()->setCurrentItem(
                player->fileListBox1()->findItems(QLatin1String(click.file), Qt::MatchExactly)[0]);
            bench.sound().played.clear();
            player->FileListBox1Click();
            QCOMPARE(bench.sound().played, std::vector<fs::path>{click.played});
        }
    }

    void theAboutWindowShowsTheReportInDebugModeOnly() {
        for (const bool debugMode : {false, true}) {
            TestWorkbench bench(options(debugMode));
            AboutWindow* about = bench.windows().about;
            // The designed sizes are the least: the credits take what their font needs.
            about->show();
            QVERIFY(QTest::qWaitForWindowExposed(about));
            QCOMPARE(about->size().expandedTo({330, 301}), about->size());
            const auto* name = about->findChild<QPlainTextEdit*>(QStringLiteral("memo1"));
            QVERIFY(name->toPlainText().startsWith(QStringLiteral("Vekstudio\n")));
            QTRY_COMPARE(name->width(), 167);
            QVERIFY(name->height() >= 103);
            about->close();
            const QString report = about->memo2()->toPlainText();
            QCOMPARE(report.isEmpty(), !debugMode);
            if (debugMode) {
                const QStringList lines = report.split(QLatin1Char('\n'));
                QCOMPARE(lines.first(), QStringLiteral("VEK Report"));
                QVERIFY(lines.contains(QStringLiteral("---DRIVES---")));
                QCOMPARE(lines.last(), QStringLiteral("CSoundPath: \t") +
                                           toQString(bench.context().game.paths().CSoundPath));
            }
            QCOMPARE(bench.windows().main->windowTitle(), QStringLiteral("Vekstudio V1.5"));
        }
    }

    void bothWaysToTheAboutWindowPlayMu02() {
        TestWorkbench bench(options(false));
        const fs::path mu02 = soundDirectory(bench) / "MU02.wav";
        bench.sound().played.clear();
        bench.windows().main->SpeedButton8Click();
        QCOMPARE(bench.sound().played, std::vector<fs::path>{mu02});
        QVERIFY(bench.windows().about->isVisible());
        bench.windows().about->close();
        bench.context().commands.showAbout();
        QCOMPARE(bench.sound().played, (std::vector<fs::path>{mu02, mu02}));
        bench.windows().about->close();
    }
};

VEK_UI_TEST_MAIN(UtilitiesWindowsTest)
#include "utilities_windows_test.moc"
