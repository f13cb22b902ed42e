#include "studio/startup.h"

#include <QTimer>
#include <filesystem>
#include <iostream>

#include "app/install_layout.h"
#include "app/program_directory.h"
#include "app/settings.h"
#include "app/startup_options.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/qt_user_dialogs.h"
#include "app/ui/sound_output.h"
#include "app/ui/vek_application.h"
#include "app/user_folders.h"
#include "app/vek_error.h"
#include "app/version.h"
#include "demo/demo_installation.h"
#include "studio/instance_channel.h"
#include "studio/workbench.h"

namespace vek::ui {

namespace {

constexpr const char* kUsage =
    "usage: vekstudio [--demo | --demo-dir DIR] [--game-dir DIR] [--wine-prefix DIR]\n"
    "                 [--floppy DIR] [--ini FILE] [FILE...] [debug]\n"
    "       vekstudio --help | --version\n"
    "  FILE            open it: a sprite file (.spr) in the sprite editor, an object file\n"
    "                  (.cob, .rcb) or source (.cos) in the object compiler, a picture (.bmp,\n"
    "                  .png) in the bitmap converter; where Vekstudio runs already on this\n"
    "                  display, it opens them there\n"
    "  --demo          start on the demo installation (generated when missing)\n"
    "  --demo-dir DIR  the same, with the demo installation in DIR\n"
    "  --game-dir DIR  the game installed in DIR\n"
    "  --wine-prefix DIR  the game's Wine prefix (else $WINEPREFIX, else ~/.wine)\n"
    "  --floppy DIR    the folder that is drive A: for egg disks (else VEK_FLOPPY_DIR)\n"
    "  --ini FILE      keep the settings in FILE instead of the user's VEK.INI\n"
    "  --vivarium      open the Vivarium window: try objects without the game\n"
    "  debug           (last on the line) show the start-up trace\n";

// A start without an installation or settings of its own hands its files to the running
// program, whatever that one was started with; one with its own runs beside it.
bool handsOverItsFiles(const StartupOptions& options) {
    return !options.demo && !options.gameDir && !options.winePrefix && !options.floppy &&
           !options.vekIni;
}

WorkbenchSetup setupFor(const StartupOptions& options) {
    WorkbenchSetup setup;
    setup.debugMode = options.debugMode;
    setup.vekIni = options.vekIni.value_or(defaultVekIniPath());
    setup.gamePathSources = gamePathSourcesFromEnvironment();
    setup.programDirectory = resolveProgramDirectory(installedDataDirectory(executableDirectory()),
                                                     userDataDirectory() / "program");
    if (options.demo) {
        const demo::DemoLayout layout{options.demoRoot.value_or(demo::defaultDemoRoot())};
        demo::ensureDemoInstallation(layout);
        setup.gamePathSources.gameDirOption = layout.gameDirectory();
        setup.gamePathSources.winePrefix = layout.winePrefix();
        setup.programDirectory = layout.programDirectory();
    }
    if (options.gameDir) setup.gamePathSources.gameDirOption = options.gameDir;
    if (options.winePrefix) setup.gamePathSources.winePrefix = options.winePrefix;
    if (options.floppy) setup.gamePathSources.floppyOption = options.floppy;
    return setup;
}

}  // namespace

QStringList filesToOpen(const StartupOptions& options) {
    QStringList files;
    for (const std::filesystem::path& file : options.files) files << fromPath(file);
    return files;
}

void serveFiles(Workbench& workbench, InstanceChannel* channel, const QStringList& files) {
    if (channel) {
        QObject::connect(channel, &InstanceChannel::filesReceived, &workbench,
                         &Workbench::openFiles);
    }
    // Once the message loop runs, so that questions and reports show over the windows.
    if (!files.isEmpty()) {
        QTimer::singleShot(0, &workbench, [&workbench, files] { workbench.openFiles(files); });
    }
}

int runVekstudio(int argc, char* argv[]) {
    const StartupOptions options = parseStartupOptions(std::vector<std::string>(argv, argv + argc));
    if (!options.unknown.empty()) {
        std::cerr << "vekstudio: unknown argument '" << options.unknown.front() << "'\n" << kUsage;
        return 2;
    }
    if (options.help || options.version) {
        std::cout << (options.help ? kUsage : "vekstudio " + std::string(kVersion) + "\n");
        return 0;
    }
    VekApplication application(argc, argv);
    const QStringList files = filesToOpen(options);
    const std::filesystem::path socket = InstanceChannel::currentSocket();
    if (!socket.empty() && handsOverItsFiles(options) && InstanceChannel::handOver(socket, files))
        return 0;
    InstanceChannel channel(socket);
    QtUserDialogs dialogs;
    application.setDialogs(&dialogs);
    const std::unique_ptr<SoundOutput> sound = makeSoundOutput();

    WorkbenchSetup setup;
    try {
        setup = setupFor(options);
    } catch (const std::exception& error) {
        dialogs.errorReport(QString::fromStdString(errorMessage(error, kLanguageEnglish)));
        return 1;
    }
    Workbench workbench(setup, dialogs, *sound);
    workbench.createWindows();
    MainWindow* main = workbench.windows().main;
    QObject::connect(main, &VekWindow::closed, &application, &QApplication::quit);
    if (workbench.context().startup.quitAfterStartup()) return 0;
    // Only once the windows exist: files handed over during start-up's questions would be lost.
    // Any running program serves later starts, unless another one does so already.
    if (!socket.empty()) channel.listen();
    serveFiles(workbench, &channel, files);
    if (options.vivarium) workbench.showVivarium();
    return QApplication::exec();
}

}  // namespace vek::ui
