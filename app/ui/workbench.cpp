#include "app/ui/workbench.h"

#include "app/settings.h"
#include "app/text_table.h"
#include "app/ui/language.h"
#include "app/ui/main_window.h"
#include "app/ui/sound_output.h"
#include "app/ui/vek_application.h"
#include "gamelink/creatures.h"
#include "gamelink/ui/command_interface_window.h"
#include "generators/ui/add_class_window.h"
#include "generators/ui/new_object_source_window.h"
#include "generators/ui/object_assistant_window.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/ui/bitmap_converter_window.h"
#include "sprites/ui/sprite_editor_window.h"
#include "sprites/ui/sprite_file_creator_window.h"
#include "utilities/ui/about_window.h"
#include "utilities/ui/sound_player_window.h"
#include "world/ui/map_window.h"

namespace vek::ui {

namespace {

// The game paths may name a --game-dir that does not exist; the program then starts as if the
// game were not installed, after saying why.
std::unique_ptr<TCreatures> makeCreatures(const GamePathSources& sources, UserDialogs& dialogs) {
    try {
        return std::make_unique<TCreatures>(sources);
    } catch (const std::exception& error) {
        dialogs.errorReport(QString::fromUtf8(error.what()));
        return std::make_unique<TCreatures>(GamePathSources{});
    }
}

}  // namespace

Workbench::Workbench(const WorkbenchSetup& setup, UserDialogs& dialogs, SoundOutput& sound)
    : m_debugMode(setup.debugMode),
      m_settings(std::make_unique<VekIni>(setup.vekIni)),
      m_creatures(makeCreatures(setup.gamePathSources, dialogs)) {
    m_creatures->setSoundSink([&sound](const std::filesystem::path& file) { sound.play(file); });
    m_context = std::make_unique<AppContext>(dialogs, *m_creatures, *m_settings, sound,
                                             setup.programDirectory);
}

Workbench::~Workbench() {
    // Windows go before the context they refer to, the main window last.
    while (!m_windows.empty()) m_windows.pop_back();
}

template <typename Window>
Window* Workbench::create(Window*& slot) {
    auto window = std::make_unique<Window>(*m_context);
    slot = window.get();
    m_windows.push_back(std::move(window));
    return slot;
}

void Workbench::createWindows() {
    Windows& w = m_context->windows;
    create(w.main)->FormCreate(m_debugMode);
    create(w.newObjectSource)->FormCreate();
    create(w.spriteEditor)->FormCreate();
    create(w.objectCompiler)->FormCreate();
    create(w.soundPlayer)->FormCreate();
    create(w.spriteFileCreator)->FormCreate();
    create(w.bitmapConverter)->FormCreate();
    create(w.map)->FormCreate();
    create(w.objectAssistant)->FormCreate();
    create(w.about)->FormCreate();
    create(w.commandInterface)->FormCreate();
    create(w.addClass)->FormCreate();

    w.main->attachToolWindows();
    if (auto* application = qobject_cast<VekApplication*>(QCoreApplication::instance())) {
        application->showHintsIn(w.main->statusBar1());
    }
    connect(w.main, &MainWindow::languageChosen, this, &Workbench::changeLanguage);
    applyStoredLanguage();
}

std::vector<VekWindow*> Workbench::windows() const {
    std::vector<VekWindow*> result;
    for (const auto& window : m_windows) result.push_back(window.get());
    return result;
}

void Workbench::changeLanguage(int languageOffset) {
    const auto all = windows();
    ChangeLanguage(std::vector<QWidget*>(all.begin(), all.end()), languageOffset,
                   TextTable::builtIn());
}

void Workbench::applyStoredLanguage() {
    if (m_context->language == kLanguageEnglish) {
        changeLanguage(0);
    } else if (m_context->language == kLanguageGerman) {
        changeLanguage(TextTable::kGermanOffset);
        m_context->windows.main->showLanguageButton(true);
    }
}

}  // namespace vek::ui
