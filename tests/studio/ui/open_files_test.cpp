#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <future>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/hand_over.h"
#include "app/startup_options.h"
#include "app/text_table.h"
#include "app/ui/qt_convert.h"
#include "app/ui/qt_user_dialogs.h"
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
using namespace std::chrono_literals;

namespace vek::ui {

using testing::TestWorkbench;

class OpenFilesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void aFirstStartOpensItsFilesAndALaterOneHandsItsOwnOver();
    void everyKindOpensInItsWindow();
    void boxesOfHandedOverFilesLeaveTheProgramAndItsWorkStanding();
    void theChannelIsBoundedAndTakesEveryName();
    void aStartWithoutOptionsReachesAProgramStartedWithItsOwn();
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

// A display and a runtime folder of the test's own, so that no running program takes the files;
// the later starts the test runs inherit them.
void useOwnDisplay(TestWorkbench& bench) {
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", QStringLiteral(":vektest%1").arg(::getpid()).toUtf8());
    const fs::path runtime = bench.scratch() / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", runtime.c_str());
}

QProcessEnvironment laterStartEnvironment(TestWorkbench& bench) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), fromPath(bench.scratch()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), fromPath(bench.scratch() / "config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), fromPath(bench.scratch() / "data"));
    return environment;
}

void startVekstudio(QProcess& process, TestWorkbench& bench, const QStringList& arguments) {
    process.setProcessEnvironment(laterStartEnvironment(bench));
    process.setWorkingDirectory(fromPath(bench.scratch()));
    process.start(qEnvironmentVariable("VEK_BINARY_DIR") + QStringLiteral("/vekstudio"), arguments);
}

// Runs `vekstudio` with `arguments` as a later start would, in the scratch folder, to its end.
void runSecondStart(TestWorkbench& bench, const QStringList& arguments) {
    QProcess second;
    startVekstudio(second, bench, arguments);
    QVERIFY(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
}

// Clicks every message box away once `mayClick` allows, a question's with Cancel, and keeps
// its text.
class BoxClicker {
  public:
    BoxClicker() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { clickShownBoxes(); });
        m_timer.start(20);
    }
    const QStringList& texts() const { return m_texts; }
    std::function<bool()> mayClick = [] { return true; };

  private:
    void clickShownBoxes() {
        if (!mayClick()) return;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible()) continue;
            m_texts << box->text();
            QAbstractButton* cancel = box->button(QMessageBox::Cancel);
            (cancel ? cancel : box->button(QMessageBox::Ok))->click();
        }
    }

    QTimer m_timer;
    QStringList m_texts;
};

}  // namespace

void OpenFilesTest::aFirstStartOpensItsFilesAndALaterOneHandsItsOwnOver() {
    TestWorkbench bench;
    const QString ball = copyOfDemoFile(bench, demoImage(bench, "vbal.spr"), "ball.spr");
    const QString toy = copyOfDemoFile(bench, bench.demo().gameDirectory() / "BALL.COB", "toy.cob");

    useOwnDisplay(bench);
    InstanceChannel channel(InstanceChannel::currentSocket());
    QVERIFY(channel.listen());
    serveFiles(bench.workbench(), &channel,
               filesToOpen(parseStartupOptions({"vekstudio", toStdString(ball)})));
    QTRY_COMPARE(fromPath(bench.spriteDocument().table().file), ball);
    QVERIFY(bench.windows().spriteEditor->isVisible());
    QCOMPARE(bench.spriteDocument().table().count(), std::size_t{2});
    shootInBothLanguages(bench, bench.windows().spriteEditor, QStringLiteral("opened-ball-spr"));

    // A relative name: the running program must get it as the second start meant it.
    runSecondStart(bench, {QStringLiteral("toy.cob")});
    if (QTest::currentTestFailed()) return;
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

    // A changed source: the question comes first; No lets the changes go.
    bench.windows().objectCompiler->sourceText()->setPlainText(QStringLiteral("* changed"));
    bench.dialogs().messageAnswers.push_back(Answer::No);
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

// The program shows what it refuses of a later start's files in real boxes, after the later
// start has gone; clicking them away leaves it running with the work it holds.
void OpenFilesTest::boxesOfHandedOverFilesLeaveTheProgramAndItsWorkStanding() {
    TestWorkbench bench;
    useOwnDisplay(bench);
    InstanceChannel channel(InstanceChannel::currentSocket());
    QVERIFY(channel.listen());
    serveFiles(bench.workbench(), &channel, {});
    // The files are opened only once the later start's connection is done.
    std::vector<std::size_t> sessionsWhenOpened;
    connect(&channel, &InstanceChannel::filesReceived, this,
            [&] { sessionsWhenOpened.push_back(channel.sessionsOpen()); });
    QtUserDialogs realBoxes;
    bench.dialogs().shownBy = &realBoxes;
    BoxClicker clicker;

    const QString notes = fromPath(bench.scratch() / "notes.txt");
    std::ofstream(toPath(notes)) << "notes";
    const QString pipe = fromPath(bench.scratch() / "pipe.spr");
    QCOMPARE(::mkfifo(toPath(pipe).c_str(), 0600), 0);
    // A header announcing 65,535 sprites, and nothing behind it.
    const QString crowded = fromPath(bench.scratch() / "crowded.spr");
    std::ofstream(toPath(crowded), std::ios::binary) << "\xff\xff";
    const QString ball = copyOfDemoFile(bench, demoImage(bench, "vbal.spr"), "ball.spr");

    struct Round {
        bool unsavedSprite;
        QStringList files;
        std::size_t errors;  // the sprite files are not read while the question is cancelled
    };
    const Round rounds[] = {{false, {notes, pipe, crowded}, 3}, {true, {notes, pipe}, 1}};
    for (const Round& round : rounds) {
        SpriteDocument& sprites = bench.spriteDocument();
        if (round.unsavedSprite) {
            bench.windows().spriteEditor->openHandedSpriteFile(toPath(ball));
            sprites.beginStroke();
            QVERIFY(sprites.paint(0, 0, 7));
            sprites.endStroke();
            QVERIFY(sprites.changed());
        }
        bench.dialogs().asked.clear();
        const qsizetype clickedBefore = clicker.texts().size();
        // The boxes stay until the later start has gone, as when a person reads them.
        QProcess second;
        clicker.mayClick = [&second] { return second.state() == QProcess::NotRunning; };
        startVekstudio(second, bench, round.files);
        QVERIFY(second.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(bench.dialogs().errors().size(), round.errors, 30000);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(clicker.texts().size() - clickedBefore,
                     qsizetype(bench.dialogs().asked.size()));
        QTest::qWait(100);
        QVERIFY(bench.dialogs().errors().front().text.contains(notes));
        QCOMPARE(sprites.changed(), round.unsavedSprite);
        QCOMPARE(sessionsWhenOpened, std::vector<std::size_t>{0});
        sessionsWhenOpened.clear();
        if (round.unsavedSprite) QCOMPARE(fromPath(sprites.table().file), ball);
    }
}

namespace {

// A local connection to `socket`, which may send `bytes` and then waits.
UniqueFd connectedTo(const fs::path& socket, std::string_view bytes) {
    UniqueFd connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address;
    fillUnixAddress(socket, address);
    if (::connect(connection.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return UniqueFd();
    if (!bytes.empty()) ::send(connection.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return connection;
}

// Whether the running program has closed the connection.
bool closedByProgram(const UniqueFd& connection) {
    pollfd ready{connection.get(), POLLIN, 0};
    char byte;
    return ::poll(&ready, 1, 0) == 1 && ::recv(connection.get(), &byte, 1, MSG_DONTWAIT) <= 0;
}

}  // namespace

// Later starts that never finish their message, or send far more than one, are served eight
// at a time and dropped after five seconds or at a mebibyte; those that wait behind them are
// served then, and the socket stays all the while. A name with a line break arrives whole.
void OpenFilesTest::theChannelIsBoundedAndTakesEveryName() {
    TestWorkbench bench;
    useOwnDisplay(bench);
    const fs::path socket = InstanceChannel::currentSocket();
    InstanceChannel channel(socket);
    QVERIFY(channel.listen());
    serveFiles(bench.workbench(), &channel, {});
    const QString ball =
        copyOfDemoFile(bench, demoImage(bench, "vbal.spr"), "ball\nof the day.spr");

    std::vector<UniqueFd> halves;
    for (int i = 0; i < 12; ++i) halves.push_back(connectedTo(socket, "/half"));
    QTRY_COMPARE(channel.sessionsOpen(), kMaxHandOverConnections);
    QTest::qWait(200);
    QCOMPARE(channel.sessionsOpen(), kMaxHandOverConnections);
    // Sends until the program closes the connection on it.
    auto flood = std::async(std::launch::async, [&socket] {
        const UniqueFd connection = connectedTo(socket, {});
        const std::string block(1 << 16, 'a');
        for (std::size_t sent = 0; sent < 4 * kMaxHandOverMessage; sent += block.size()) {
            if (::send(connection.get(), block.data(), block.size(), MSG_NOSIGNAL) < 0) return true;
        }
        return false;
    });
    auto handedOver = std::async(
        std::launch::async, [&socket, &ball] { return InstanceChannel::handOver(socket, {ball}); });
    QTRY_VERIFY_WITH_TIMEOUT(closedByProgram(halves.front()), 7000);
    QTRY_COMPARE_WITH_TIMEOUT(fromPath(bench.spriteDocument().table().file), ball, 5000);
    // The program's loop runs while the later starts end.
    QTRY_VERIFY(handedOver.wait_for(0s) == std::future_status::ready);
    QVERIFY(handedOver.get());
    QTRY_VERIFY(flood.wait_for(0s) == std::future_status::ready);
    QVERIFY(flood.get());
    QVERIFY(!closedByProgram(halves.back()));
    QTRY_VERIFY_WITH_TIMEOUT(closedByProgram(halves.back()), 7000);
    QCOMPARE(channel.sessionsOpen(), std::size_t{0});
    QVERIFY(fs::is_socket(socket));
    QVERIFY(bench.dialogs().errors().empty());
}

// However the running program was started, a later start without options of its own reaches it.
void OpenFilesTest::aStartWithoutOptionsReachesAProgramStartedWithItsOwn() {
    TestWorkbench bench;
    useOwnDisplay(bench);
    const fs::path socket = InstanceChannel::currentSocket();
    QProcess first;
    startVekstudio(first, bench, {QStringLiteral("--demo-dir"), fromPath(bench.demo().root)});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(fs::is_socket(socket), 60000);
    const QString ball = copyOfDemoFile(bench, demoImage(bench, "vbal.spr"), "ball.spr");
    runSecondStart(bench, {ball});
    first.terminate();
    QVERIFY(first.waitForFinished(10000));
}

}  // namespace vek::ui

VEK_UI_TEST_MAIN(vek::ui::OpenFilesTest)
#include "open_files_test.moc"
