#include "studio/workbench.h"

#include <QFileInfo>
#include <QToolButton>

#include "app/file_lookup.h"
#include "app/settings.h"
#include "app/text_names.h"
#include "app/text_table.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_convert.h"
#include "app/ui/sound_output.h"
#include "app/ui/vek_application.h"
#include "app/vek_error.h"
#include "gamelink/creatures.h"
#include "gamelink/in_process_link.h"
#include "gamelink/ui/command_interface_window.h"
#include "gamelink/ui/game_link_commands.h"
#include "generators/object_assistant.h"
#include "generators/ui/add_class_window.h"
#include "generators/ui/new_object_source_window.h"
#include "generators/ui/object_assistant_window.h"
#include "language/ui/editor_status_line.h"
#include "language/ui/find_bar.h"
#include "language/ui/findings_list.h"
#include "language/ui/outline_view.h"
#include "objects/animation_plan.h"
#include "objects/cob_data.h"
#include "objects/injection.h"
#include "objects/object_check.h"
#include "objects/script_events.h"
#include "objects/ui/cob_injector_page.h"
#include "objects/ui/object_compiler_window.h"
#include "sprites/ui/bitmap_converter_window.h"
#include "sprites/ui/sprite_editor_window.h"
#include "sprites/ui/sprite_file_creator_window.h"
#include "utilities/sys_info.h"
#include "utilities/ui/about_window.h"
#include "utilities/ui/sound_player_window.h"
#include "vivarium/session.h"
#include "vivarium/try_run.h"
#include "vivarium/ui/vivarium_window.h"
#include "world/game_settings.h"
#include "world/map_raster.h"
#include "world/ui/game_data_commands.h"
#include "world/ui/map_window.h"

namespace vek::ui {

namespace {

// The game paths may name a --game-dir that does not exist; the program then starts as if the
// game were not installed, after saying why.
std::unique_ptr<TCreatures> makeCreatures(const GamePathSources& sources, UserDialogs& dialogs) {
    try {
        return std::make_unique<TCreatures>(sources);
    } catch (const std::exception& error) {
        dialogs.errorReport(QString::fromStdString(errorMessage(error, kLanguageEnglish)));
        return std::make_unique<TCreatures>(GamePathSources{});
    }
}

}  // namespace

Workbench::Workbench(const WorkbenchSetup& setup, UserDialogs& dialogs, SoundOutput& sound)
    : m_debugMode(setup.debugMode),
      m_sources(setup.gamePathSources),
      m_registry(platformRegistryWriter(m_sources)),
      m_settings(std::make_unique<VekIni>(setup.vekIni)),
      m_creatures(makeCreatures(setup.gamePathSources, dialogs)),
      m_classCatalogue(setup.programDirectory) {
    m_creatures->setSoundSink([&sound](const std::filesystem::path& file) { sound.play(file); });
    m_context = std::make_unique<AppContext>(dialogs, *m_creatures, *m_settings, sound,
                                             setup.programDirectory);
}

Workbench::~Workbench() {
    uninstallWriteNotices();
    // The link must not go on into a window that is gone.
    if (m_linkBeforeVivarium) m_creatures->setLinkTransport(*m_linkBeforeVivarium);
    // The windows still open at the end keep their places for the next start.
    if (m_vivarium && m_vivarium->isVisible()) m_vivarium->rememberPlace();
    for (const auto& window : m_ownedWindows) {
        if (window->isVisible()) window->rememberPlace();
    }
    m_vivarium.reset();
    // Windows go before the context they refer to, the main window last.
    while (!m_ownedWindows.empty()) m_ownedWindows.pop_back();
}

template <typename Window, typename... Args>
Window* Workbench::create(Window*& slot, Args&&... args) {
    auto window = std::make_unique<Window>(*m_context, std::forward<Args>(args)...);
    slot = window.get();
    m_ownedWindows.push_back(std::move(window));
    return slot;
}

// The source page checks scripts' classes against the catalogue as it is at each check; an
// empty catalogue (no classes.vek) knows nothing, so nothing is reported missing from it.
void Workbench::bindClassChecks() {
    ObjectCompilerWindow* compiler = m_windows.objectCompiler;
    compiler->setClassLookup([this](int family, int genus, int species) {
        const ClassCatalogue& catalogue = m_classCatalogue.catalogue();
        return catalogue.empty() || catalogue.findClass({family, genus, species}).has_value();
    });
    m_catalogueWatch = m_classCatalogue.observe([compiler](const ClassCatalogueEvent& event) {
        if (event.change != ClassCatalogueEvent::SelectionChanged) compiler->checkSourceAgain();
    });
}

void Workbench::loadGamePalette() {
    AppContext& ctx = *m_context;
    const std::string paletteDirectory = ctx.game.paths().CPalettePath;
    ctx.startup.trace(QStringLiteral("Read palette... from ") + toQString(paletteDirectory) +
                      toQString(kPaletteFileName));
    m_palette.setBackground(ctx.look.spriteBackground());
    runGuarded(ctx, [this, &paletteDirectory, &ctx] {
        m_palette = readGamePaletteOrDemo(paletteDirectory, ctx.look.spriteBackground());
    });
}

void Workbench::createWindows() {
    Windows& w = m_windows;
    bindCommands();
    create(w.main)->FormCreate(m_debugMode);
    create(w.newObjectSource, m_classCatalogue)->FormCreate();
    if (create(w.spriteEditor, m_spriteDocument, m_palette)->FormCreate()) {
        loadGamePalette();
        w.spriteEditor->showGamePalette();
    }
    TCreatures& creatures = *m_creatures;
    create(w.objectCompiler, m_objectDocument,
           MacroSender([&creatures](std::string_view macro) { return creatures.SendMacro(macro); }),
           m_palette, m_pictures)
        ->FormCreate();
    // An injection goes where the link goes: into the Vivarium window while it is open.
    w.objectCompiler->injectorPage()->setInjectionTarget([this] {
        if (m_linkBeforeVivarium) return InjectionTarget::Vivarium;
        if (m_creatures->reachesStandIn()) return InjectionTarget::StandInGame;
        return m_creatures->reachesGameUnderWine() ? InjectionTarget::GameUnderWine
                                                   : InjectionTarget::Game;
    });
    bindClassChecks();
    create(w.soundPlayer)->FormCreate();
    create(w.spriteFileCreator)->FormCreate();
    create(w.bitmapConverter, m_palette)->FormCreate();
    create(w.map, m_palette)->FormCreate();
    create(w.objectAssistant)->FormCreate();
    create(w.about, [this] { return systemReportLines(); })->FormCreate();
    create(w.commandInterface, *m_creatures, objectCheckOptions())->FormCreate();
    create(w.addClass, m_classCatalogue)->FormCreate();

    attachToolWindows();
    if (auto* application = qobject_cast<VekApplication*>(QCoreApplication::instance())) {
        application->showHintsIn(w.main->statusBar1());
        application->reportErrorsIn(m_context->look);
    }
    connect(w.main, &MainWindow::languageChosen, this, &Workbench::changeLanguage);
    applyStoredLanguage();
}

void Workbench::attachToolWindows() {
    const Windows& w = m_windows;
    MainWindow* main = w.main;
    m_toolWindows =
        std::make_unique<ToolWindowGroup>([main] { return main->frameGeometry().height(); });
    using Tool = ToolWindowGroup::Tool;
    const std::pair<Tool, VekWindow*> tools[] = {{Tool::Map, w.map},
                                                 {Tool::SoundPlayer, w.soundPlayer},
                                                 {Tool::ObjectCompiler, w.objectCompiler},
                                                 {Tool::SpriteEditor, w.spriteEditor},
                                                 {Tool::CommandInterface, w.commandInterface}};
    // The sound player keeps its own place; the others open under the main window.
    for (const auto& [tool, window] : tools)
        m_toolWindows->attach(tool, main->toolButton(tool), window, tool != Tool::SoundPlayer);
    m_toolWindows->setAbout(w.about);
}

// Commands that run before a window exists reach it through the window table, which start-up
// fills in order.
void Workbench::bindCommands() {
    AppContext& ctx = *m_context;
    Commands& commands = ctx.commands;
    const Windows& w = m_windows;
    commands.createScriptList.bind([] { scriptEventList(); });
    commands.showSpriteFileCreator.bind([&w] { w.spriteFileCreator->show(); });
    commands.showBitmapConverter.bind([&w] { w.bitmapConverter->show(); });
    commands.showNewObjectSource.bind([&w] { w.newObjectSource->show(); });
    commands.showObjectAssistant.bind([&w] { w.objectAssistant->show(); });
    commands.showHelp.bind([&w] { w.main->SpeedButton6Click(); });
    commands.showAbout.bind([&w] { w.main->SpeedButton8Click(); });
    commands.openAboutWindow.bind([&w] {
        w.about->setWindowModality(Qt::ApplicationModal);
        w.about->show();
    });
    commands.toggleToolWindow.bind([this](int tool) {
        if (m_toolWindows) m_toolWindows->toggle(static_cast<ToolWindowGroup::Tool>(tool));
    });
    commands.showAddClass.bind([&w] { w.addClass->showForSelection(); });
    commands.showVivarium.bind([this] { showVivarium(); });
    commands.showObjectSource.bind([this, &w](std::vector<std::string> lines, bool* shown) {
        const bool replaced = w.objectCompiler->showGeneratedSource(lines);
        if (shown) *shown = replaced;
        if (replaced && m_toolWindows) m_toolWindows->show(ToolWindowGroup::ObjectCompiler);
    });
    commands.compileAndOfferToSave.bind(
        [&w](std::vector<std::string> lines, std::function<void()> whenCompiled) {
            if (!w.objectCompiler->compileNewObject(lines)) return;
            w.objectCompiler->SaveCOB1Click();
            if (whenCompiled) whenCompiled();
        });
    commands.offerToSaveChangedSource.bind(
        [&w] { w.objectCompiler->offerToSaveChangedSource(Buttons::YesNo); });
    commands.openSpriteFile.bind([this, &w](const std::filesystem::path& file) {
        w.spriteEditor->show();
        w.spriteEditor->openSpriteFile(file);
    });
    commands.showAnimationPreview.bind(
        [&w](const std::filesystem::path& file, std::size_t first, const std::string& text) {
            w.objectCompiler->showAnimationPreview(file, first, text);
        });
    commands.previewFrameShown.bind([&w](const std::filesystem::path& file, std::size_t sprite) {
        w.spriteEditor->markPreviewFrame(file, sprite);
    });
    commands.planAnimationFrames.bind([](const std::string& text, std::size_t first,
                                         std::size_t count, std::vector<std::size_t>* frames,
                                         bool* repeats) {
        const AnimationPlan plan = planAnimation(text, first, count);
        *frames = plan.sprites;
        *repeats = plan.repeats;
    });
    commands.offerToSaveChangedSprite.bind(
        [this](bool* stay) { *stay = !m_spriteDocument.mayLeaveSprite(); });

    TCreatures& creatures = *m_creatures;
    commands.putLauncherObject.bind([&ctx, &creatures] { putLauncherObject(ctx, creatures); });
    commands.testConnection.bind([&ctx, &creatures] { testConnectionToCreatures(ctx, creatures); });
    commands.probeConnection.bind([&creatures] { creatures.testConnection(); });
    commands.launchCreatures.bind([&ctx, &creatures] { launchCreatures(ctx, creatures); });
    // The link's messages ("Creatures not found! ...") are boxes of this program.
    installGameLinkNotices(ctx, creatures);
    installWriteNotices(ctx);
    bindGameDataCommands();
}

void Workbench::bindGameDataCommands() {
    AppContext& ctx = *m_context;
    GameDataCommands& game = ctx.commands.gameData;
    TCreatures& creatures = *m_creatures;
    game.resetWorld.bind(
        [&ctx, &creatures] { resetWorldCommand(ctx, creatures.testConnection()); });
    game.createNewWorld.bind([&ctx] { createNewWorldCommand(ctx); });

    auto eggDisk = [this, &ctx](EggDiskKind kind) {
        return [this, &ctx, kind] { writeEggDiskCommand(ctx, kind, m_sources); };
    };
    game.moreEggs.bind(eggDisk(EggDiskKind::Game));
    game.grendelEggDisk.bind(eggDisk(EggDiskKind::Grendel));
    game.nornelEggDisk.bind(eggDisk(EggDiskKind::NornEl));
    game.grenornEggDisk.bind(eggDisk(EggDiskKind::GreNorn));

    auto setting = [this, &ctx](std::string_view name) {
        const GameSetting* chosen = findGameSetting(name);
        return [this, &ctx, chosen] { writeGameSettingCommand(ctx, *m_registry, *chosen); };
    };
    game.pebbleCheat.bind(setting("pebble"));
    game.marrowCheat.bind(setting("marrow"));
    game.pebbleCheatNewVersion.bind(setting("tundra"));
    game.marrowCheatNewVersion.bind(setting("lintel"));
    game.disableCheats.bind(setting("none"));
    game.enableMoreEggs.bind(setting("more-eggs"));
}

std::vector<std::string> Workbench::systemReportLines() {
    // The machine facts are taken once, when first shown: by then start-up has read the game's
    // paths, whichever window read them.
    if (!m_systemFacts) {
        m_systemFacts = platformSystemFacts(m_sources.winePrefix, m_creatures->paths().CMainPath);
        m_sysInfo = std::make_unique<TSysInfo>(*m_systemFacts);
    }
    return systemReport(*m_sysInfo, m_systemFacts->memory(), m_systemFacts->drives(),
                        m_creatures->paths());
}

std::vector<VekWindow*> Workbench::allWindows() const {
    std::vector<VekWindow*> result;
    for (const auto& window : m_ownedWindows) result.push_back(window.get());
    return result;
}

void Workbench::changeLanguage(int languageOffset) {
    const auto all = allWindows();
    const std::vector<QWidget*> windows(all.begin(), all.end());
    translateQtTexts(languageOffset);
    ChangeLanguage(windows, languageOffset, TextTable::builtIn());
    applyBilingualCaptions(windows, languageOffset);
    for (QWidget* window : windows) {
        for (FindingsList* findings : window->findChildren<FindingsList*>())
            findings->retranslate();
        for (EditorStatusLine* status : window->findChildren<EditorStatusLine*>())
            status->retranslate();
        for (OutlineView* outline : window->findChildren<OutlineView*>()) outline->retranslate();
        for (FindBar* bar : window->findChildren<FindBar*>()) bar->retranslate();
    }
    if (m_vivarium) m_vivarium->retranslate();
}

VivariumWindow* Workbench::vivarium() {
    if (!m_vivarium) {
        // The background as the map reads it, at full size; none where the installation lacks it.
        auto background = [this]() -> std::optional<RgbImage> {
            try {
                return drawBackground(backSpritePath(m_creatures->paths().CImagePath), m_palette);
            } catch (const std::exception&) {
                return std::nullopt;
            }
        };
        m_vivarium = std::make_unique<VivariumWindow>(*m_context, m_palette, background);
        m_vivarium->setClassNames([this](int family, int genus, int species) {
            return catalogueName(m_classCatalogue.catalogue(), {family, genus, species});
        });
        // What reaches the creature is logged with the chemicals' names of the program's list,
        // where it has a readable one.
        const auto chemicals = findIgnoringCase(m_context->files.directory(), "chemicals.txt");
        if (std::filesystem::exists(chemicals)) {
            try {
                m_vivarium->setChemicalNames(readChemicalNameList(chemicals));
            } catch (const VekError&) {
            }
        }
        m_vivarium->setSourcePlaceShower([this](int line, int column) {
            ObjectCompilerWindow* compiler = m_windows.objectCompiler;
            if (m_toolWindows) m_toolWindows->show(ToolWindowGroup::ObjectCompiler);
            compiler->showSourcePlace(line, column);
            compiler->raise();
            compiler->activateWindow();
        });
        connect(m_vivarium.get(), &VekWindow::closed, this, [this] {
            if (!m_linkBeforeVivarium) return;
            m_creatures->setLinkTransport(*m_linkBeforeVivarium);
            m_linkBeforeVivarium.reset();
        });
    }
    return m_vivarium.get();
}

void Workbench::showVivarium() {
    VivariumWindow* window = vivarium();
    // While the window is open the link goes into the world it shows: Inject and Send reach it
    // instead of a game. Closing it gives the link back.
    if (!m_linkBeforeVivarium) {
        m_linkBeforeVivarium = m_creatures->linkTransport();
        // A macro of the object compiler's injection keeps where it was written, so that the
        // world's log can lead back there.
        m_creatures->setLinkTransport(
            std::make_shared<InProcessLink>([this, window](std::string_view macro) {
                const vivarium::SentMacro sent = vivarium::placedMacro(m_objectDocument, macro);
                return window->session().runMacro(sent.macro, sent.origin);
            }));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void Workbench::applyStoredLanguage() {
    if (m_context->look.language() == kLanguageEnglish) {
        changeLanguage(0);
    } else if (m_context->look.language() == kLanguageGerman) {
        changeLanguage(TextTable::kGermanOffset);
        m_windows.main->showLanguageButton(true);
    }
}

}  // namespace vek::ui

namespace vek::ui {

void Workbench::openFiles(const QStringList& files) {
    const Windows& w = m_windows;
    QWidget* shown = w.main;
    for (const QString& file : files) {
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix == QStringLiteral("spr")) {
            m_toolWindows->show(ToolWindowGroup::SpriteEditor);
            w.spriteEditor->openHandedSpriteFile(toPath(file));
            shown = w.spriteEditor;
        } else if (isObjectFileName(toPath(file)) || suffix == QStringLiteral("cos")) {
            m_toolWindows->show(ToolWindowGroup::ObjectCompiler);
            w.objectCompiler->openObjectFile(file);
            shown = w.objectCompiler;
        } else if (suffix == QStringLiteral("bmp") || suffix == QStringLiteral("png")) {
            w.bitmapConverter->show();
            w.bitmapConverter->openPicture(file);
            shown = w.bitmapConverter;
        } else {
            m_context->dialogs.errorReport(m_context->text(Msg::UnknownFileKind).arg(file));
        }
    }
    shown->raise();
    shown->activateWindow();
}

}  // namespace vek::ui
