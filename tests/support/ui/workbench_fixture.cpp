#include "support/ui/workbench_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QWidget>
#include <algorithm>
#include <fstream>

#include "app/file_io.h"
#include "app/ui/qt_convert.h"
#include "app/window_places.h"
#include "gamelink/creatures.h"
#ifndef _WIN32
#include "gamelink/local_socket.h"
#endif

namespace vek::ui::testing {

namespace fs = std::filesystem;

namespace {

// The next scripted answer; a cancelled dialog when none is left.
template <typename T>
std::optional<T> takeFirst(std::deque<std::optional<T>>& answers) {
    std::optional<T> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

}  // namespace

std::vector<ScriptedDialogs::Asked> ScriptedDialogs::ofKind(const QString& kind) const {
    std::vector<Asked> result;
    for (const Asked& entry : asked) {
        if (entry.kind == kind) result.push_back(entry);
    }
    return result;
}

Answer ScriptedDialogs::message(const QString& text, const QString& caption, Buttons buttons) {
    asked.push_back({QStringLiteral("message"), text, caption, buttons});
    if (shownBy) return shownBy->message(text, caption, buttons);
    if (!messageAnswers.empty()) {
        const Answer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    // What Return would press.
    if (buttons == Buttons::YesNoDefaultNo) return Answer::No;
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

void ScriptedDialogs::errorReport(const QString& text) {
    asked.push_back({QStringLiteral("error"), text, {}});
    if (shownBy) shownBy->errorReport(text);
}

std::optional<QString> ScriptedDialogs::nextFile(const QString& kind, const QString& title,
                                                 const QString& directory) {
    asked.push_back({kind, title, directory});
    return takeFirst(fileAnswers);
}

std::optional<QString> ScriptedDialogs::openFile(const QString& title, const QString& directory,
                                                 const QString&) {
    return nextFile(QStringLiteral("open"), title, directory);
}

std::optional<QStringList> ScriptedDialogs::openFiles(const QString& title,
                                                      const QString& directory, const QString&) {
    asked.push_back({QStringLiteral("openMany"), title, directory});
    return takeFirst(fileListAnswers);
}

std::optional<QString> ScriptedDialogs::saveFile(const QString& title, const QString& directory,
                                                 const QString&, const QString& defaultExtension,
                                                 const QString&) {
    std::optional<QString> file = nextFile(QStringLiteral("save"), title, directory);
    if (file && QFileInfo(*file).suffix().isEmpty()) *file += QLatin1Char('.') + defaultExtension;
    return file;
}

std::optional<QString> ScriptedDialogs::chooseDirectory(const QString& title,
                                                        const QString& directory) {
    return nextFile(QStringLiteral("directory"), title, directory);
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor&) {
    asked.push_back({QStringLiteral("color"), {}, {}});
    if (colorAnswers.empty()) return std::nullopt;
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

std::optional<int> ScriptedDialogs::askNumber(const QString& title, const QString&, int initial,
                                              int minimum, int maximum) {
    asked.push_back({QStringLiteral("number"), title, QString::number(initial)});
    if (numberAnswers.empty()) return std::nullopt;
    auto answer = numberAnswers.front();
    numberAnswers.pop_front();
    if (answer) answer = std::clamp(*answer, minimum, maximum);
    return answer;
}

std::optional<QString> ScriptedDialogs::askText(const QString& title, const QString&,
                                                const QString& initial) {
    asked.push_back({QStringLiteral("text"), title, initial});
    return takeFirst(textAnswers);
}

std::optional<QSize> ScriptedDialogs::askSize(const QString& title, const QString&,
                                              const QSize& initial, const QSize& maximum) {
    asked.push_back({QStringLiteral("size"), title,
                     QStringLiteral("%1x%2").arg(initial.width()).arg(initial.height())});
    if (sizeAnswers.empty()) return std::nullopt;
    auto answer = sizeAnswers.front();
    sizeAnswers.pop_front();
    if (answer) {
        answer->setWidth(std::clamp(answer->width(), 1, maximum.width()));
        answer->setHeight(std::clamp(answer->height(), 1, maximum.height()));
    }
    return answer;
}

const demo::DemoLayout& sharedDemo() {
    static QTemporaryDir folder;
    static const demo::DemoLayout layout = [] {
        demo::DemoLayout made{toPath(folder.path()) / "demo"};
        demo::generateDemoInstallation(made);
        return made;
    }();
    return layout;
}

TestWorkbench::TestWorkbench() : TestWorkbench(Options{}) {}

TestWorkbench::TestWorkbench(Options options)
    : m_demo(options.privateDemo ? demo::DemoLayout{toPath(m_folder.path()) / "demo"}
                                 : sharedDemo()) {
    if (options.privateDemo) demo::generateDemoInstallation(m_demo);
    fs::create_directories(scratch());
    if (options.vekIniText) writeFileAtomically(vekIniPath(), *options.vekIniText);
    if (options.windowPlacesText)
        writeFileAtomically(windowPlacesBeside(vekIniPath()), *options.windowPlacesText);

    WorkbenchSetup setup;
    setup.vekIni = vekIniPath();
    setup.debugMode = options.debugMode;
    setup.programDirectory = m_demo.programDirectory();
    if (options.gameInstalled)
        setup.gamePathSources.gameDirOption =
            options.gameDirectory.value_or(m_demo.gameDirectory());
    // The demo's registry and drive A:, as --demo gives them (its registry names the game).
    if (options.gameInstalled) setup.gamePathSources.winePrefix = m_demo.winePrefix();
    m_dialogs.messageAnswers = std::move(options.startupAnswers);
    m_workbench = std::make_unique<Workbench>(setup, m_dialogs, m_sound);
    m_workbench->createWindows();
#ifndef _WIN32
    // No test reaches a game by chance: the link speaks to a socket nobody serves.
    linkTo(scratch() / "no-game");
#endif
}

TestWorkbench::~TestWorkbench() = default;

fs::path TestWorkbench::vekIniPath() const { return toPath(m_folder.path()) / "VEK.INI"; }

std::string TestWorkbench::vekIniText() const {
    try {
        return readFileText(vekIniPath());
    } catch (const std::exception&) {
        return {};
    }
}

fs::path TestWorkbench::scratch() const { return toPath(m_folder.path()) / "scratch"; }

#ifndef _WIN32
void TestWorkbench::linkTo(const fs::path& socket) {
    m_workbench->creatures().setLinkTransport(std::make_shared<LocalSocketTransport>(socket));
    m_workbench->creatures().setGameStarter([](const GamePaths&) { return ProcessProbe(); });
}
#endif

QString fontSetName() {
    const QString config = QString::fromLocal8Bit(qgetenv("FONTCONFIG_FILE"));
    return QStringLiteral("font set %1: Times New Roman drawn as %2, the interface as %3")
        .arg(config.isEmpty() ? QStringLiteral("of this machine") : QFileInfo(config).fileName(),
             QFontInfo(QFont(QStringLiteral("Times New Roman"))).family(),
             QFontInfo(QApplication::font()).family());
}

QString screenshotFolder() { return QString::fromLocal8Bit(qgetenv("VEK_SCREENSHOT_DIR")); }

void saveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = screenshotFolder();
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace vek::ui::testing
