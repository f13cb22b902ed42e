#include <unistd.h>

#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/startup_options.h"
#include "app/text_table.h"
#include "app/ui/qt_convert.h"
#include "demo/demo_installation.h"
#include "objects/object_document.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/picture_file.h"
#include "sprites/ui/bitmap_converter_window.h"
#include "sprites/ui/sprite_editor_window.h"
#include "studio/instance_channel.h"
#include "studio/startup.h"
#include "support/ui/workbench_fixture.h"

namespace fs = std::filesystem;

namespace vek::ui {

using testing::TestWorkbench;

class OpenFilesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void aFirstStartOpensItsFilesAndALaterOneHandsItsOwnOver();
    void everyKindOpensInItsWindow();
    void handOverMessagesCarryTheFilesWhole();
};

namespace {

// A demo file copied under a name of the test's choosing.
// Pictures of a window in both languages, for a person to look at (VEK_SCREENSHOT_DIR).
void shootInBothLanguages(TestWorkbench& bench, QWidget* window, const QString& name) {
    for (const int offset : {TextTable::kGermanOffset, 0}) {
        bench.workbench().changeLanguage(offset);
        testing::saveScreenshot(window,
                                name + (offset ? QStringLiteral("-de") : QStringLiteral("-en")));
    }
}

QString copyOfDemoFile(TestWorkbench& bench, const fs::path& demoFile, const char* name) {
    const fs::path copy = bench.scratch() / name;
    fs::copy_file(demoFile, copy, fs::copy_options::overwrite_existing);
    return fromPath(copy);
}

fs::path demoImage(TestWorkbench& bench, const char* name) {
    return pathFromUtf8(gamePathsUnder(bench.demo().gameDirectory()).CImagePath) / name;
}

}  // namespace

void OpenFilesTest::aFirstStartOpensItsFilesAndALaterOneHandsItsOwnOver() {
    TestWorkbench bench;
    const QString ball = copyOfDemoFile(bench, demoImage(bench, "vbal.spr"), "ball.spr");
    const QString toy = copyOfDemoFile(bench, bench.demo().gameDirectory() / "BALL.COB", "toy.cob");

    // A display of this test's own, so that no running program takes the files.
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", QStringLiteral(":vektest%1").arg(::getpid()).toUtf8());
    InstanceChannel channel(InstanceChannel::currentServerName());
    QVERIFY(channel.listen());
    serveFiles(bench.workbench(), &channel,
               filesToOpen(parseStartupOptions({"vekstudio", toStdString(ball)})));
    QTRY_COMPARE(fromPath(bench.spriteDocument().table().file), ball);
    QVERIFY(bench.windows().spriteEditor->isVisible());
    QCOMPARE(bench.spriteDocument().table().count(), std::size_t{2});
    shootInBothLanguages(bench, bench.windows().spriteEditor, QStringLiteral("opened-ball-spr"));

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), fromPath(bench.scratch()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), fromPath(bench.scratch() / "config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), fromPath(bench.scratch() / "data"));
    second.setProcessEnvironment(environment);
    second.setWorkingDirectory(fromPath(bench.scratch()));
    // A relative name: the running program must get it as the second start meant it.
    second.start(qEnvironmentVariable("VEK_BINARY_DIR") + QStringLiteral("/vekstudio"),
                 {QStringLiteral("toy.cob")});
    QVERIFY(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_COMPARE(bench.objectDocument().objectFileName(), std::string("toy.cob"));
    QVERIFY(bench.windows().objectCompiler->isVisible());
    QVERIFY(!bench.windows().spriteEditor->isVisible());
    shootInBothLanguages(bench, bench.windows().objectCompiler,
                         QStringLiteral("handed-over-toy-cob"));
    QVERIFY(bench.dialogs().errors().empty());
}

void OpenFilesTest::everyKindOpensInItsWindow() {
    TestWorkbench bench;
    const QString source =
        copyOfDemoFile(bench, bench.demo().gameDirectory() / "BALL.COS", "ball.cos");
    const QString picture = fromPath(bench.scratch() / "dot.png");
    writePicture(toPath(picture), RgbImage(3, 2, 0x00FF00));
    const QString unknown = fromPath(bench.scratch() / "notes.txt");

    // A changed source: the question comes first; Cancel lets it go unsaved.
    bench.windows().objectCompiler->sourceText()->setPlainText(QStringLiteral("* changed"));
    bench.dialogs().messageAnswers.push_back(Answer::Cancel);
    bench.workbench().openFiles({source, picture, unknown});

    QCOMPARE(bench.dialogs().messages().size(), std::size_t{1});
    QVERIFY(bench.windows().objectCompiler->sourceText()->toPlainText().contains(
        QStringLiteral("Bouncing ball")));
    QCOMPARE(bench.windows().bitmapConverter->picture().width, 3);
    QCOMPARE(bench.windows().bitmapConverter->picture().height, 2);
    QVERIFY(bench.windows().bitmapConverter->isVisible());
    QCOMPARE(bench.dialogs().errors().size(), std::size_t{1});
    QVERIFY(bench.dialogs().errors().front().text.contains(unknown));
}

void OpenFilesTest::handOverMessagesCarryTheFilesWhole() {
    const QStringList files = {QStringLiteral("/a/b.spr"), QStringLiteral("/Ä ö/ß.cob")};
    const QByteArray message = encodeHandOver(files);
    QCOMPARE(decodeHandOver(message), std::optional<QStringList>(files));
    QCOMPARE(decodeHandOver(encodeHandOver({})), std::optional<QStringList>(QStringList{}));
    // Not yet complete: nothing is opened from half a message.
    QCOMPARE(decodeHandOver(message.left(message.size() - 1)), std::nullopt);
    QCOMPARE(decodeHandOver(QByteArray()), std::nullopt);
    // A name with a line break cannot be told apart from two names: it stays behind.
    QCOMPARE(decodeHandOver(encodeHandOver({QStringLiteral("/x\ny.spr")})),
             std::optional<QStringList>(QStringList{}));

    // One server per user and display; a display's name never leaves the socket's folder.
    const QString first =
        InstanceChannel::serverNameFor(QStringLiteral("1000"), QStringLiteral(":0"));
    QVERIFY(first != InstanceChannel::serverNameFor(QStringLiteral("1001"), QStringLiteral(":0")));
    QVERIFY(first != InstanceChannel::serverNameFor(QStringLiteral("1000"), QStringLiteral(":1")));
    QVERIFY(!InstanceChannel::serverNameFor(QStringLiteral("1000"), QStringLiteral("../x/y"))
                 .contains(QLatin1Char('/')));
}

}  // namespace vek::ui

VEK_UI_TEST_MAIN(vek::ui::OpenFilesTest)
#include "open_files_test.moc"
