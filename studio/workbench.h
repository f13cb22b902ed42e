#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/game_paths.h"
#include "app/ui/app_context.h"
#include "app/ui/tool_windows.h"
#include "generators/class_catalogue_document.h"
#include "objects/object_document.h"
#include "objects/sprite_file_pictures.h"
#include "sprites/palette.h"
#include "sprites/sprite_document.h"

namespace vek {
class RegistryWriter;
class SystemFacts;
class LinkTransport;
class TCreatures;
class TSysInfo;
class VekIni;
}  // namespace vek

namespace vek::ui {

class VekWindow;
class MainWindow;
class NewObjectSourceWindow;
class SpriteEditorWindow;
class ObjectCompilerWindow;
class SoundPlayerWindow;
class SpriteFileCreatorWindow;
class BitmapConverterWindow;
class MapWindow;
class ObjectAssistantWindow;
class AboutWindow;
class CommandInterfaceWindow;
class AddClassWindow;
class VivariumWindow;

// What a run of the program is started with.
struct WorkbenchSetup {
    std::filesystem::path vekIni;
    GamePathSources gamePathSources;
    std::filesystem::path programDirectory;
    bool debugMode = false;
};

// The twelve windows, filled in as start-up creates them (in this order).
struct Windows {
    MainWindow* main = nullptr;                            // TForm8
    NewObjectSourceWindow* newObjectSource = nullptr;      // TForm11
    SpriteEditorWindow* spriteEditor = nullptr;            // TForm1
    ObjectCompilerWindow* objectCompiler = nullptr;        // TForm2
    SoundPlayerWindow* soundPlayer = nullptr;              // TForm3
    SpriteFileCreatorWindow* spriteFileCreator = nullptr;  // TForm4
    BitmapConverterWindow* bitmapConverter = nullptr;      // TForm5
    MapWindow* map = nullptr;                              // TForm6
    ObjectAssistantWindow* objectAssistant = nullptr;      // TForm7
    AboutWindow* about = nullptr;                          // TForm9
    CommandInterfaceWindow* commandInterface = nullptr;    // TForm10
    AddClassWindow* addClass = nullptr;                    // TForm12
};

// The program's composition root: the settings, the game component, the shared context, the
// documents and the palette table, and the twelve windows, created once in the designed order and
// living until the program ends. It binds the commands by which the windows reach each other; it is
// the one place that knows every window.
class Workbench : public QObject {
    Q_OBJECT
  public:
    Workbench(const WorkbenchSetup& setup, UserDialogs& dialogs, SoundOutput& sound);
    ~Workbench() override;

    // Creates every window in order, runs each creation step, then applies the stored language.
    void createWindows();

    AppContext& context() { return *m_context; }
    TCreatures& creatures() { return *m_creatures; }
    const PaletteTable& palette() const { return m_palette; }
    SpriteDocument& spriteDocument() { return m_spriteDocument; }
    ObjectDocument& objectDocument() { return m_objectDocument; }
    ClassCatalogueDocument& classCatalogue() { return m_classCatalogue; }
    const Windows& windows() const { return m_windows; }
    // All twelve windows in creation order.
    std::vector<VekWindow*> allWindows() const;
    // Re-captions every window (ChangeLanguage).
    void changeLanguage(int languageOffset);
    // Opens files from the command line or a later start, each in the window of its kind: a
    // sprite file in the sprite editor, an object or its source in the object compiler, a
    // picture in the bitmap converter. The window of the last file comes to the front.
    void openFiles(const QStringList& files);
    // The Vivarium window, made when first asked for; it stays open beside the tool windows.
    VivariumWindow* vivarium();
    void showVivarium();

  private:
    template <typename Window, typename... Args>
    Window* create(Window*& slot, Args&&... args);
    void bindCommands();
    // Ties the five tool windows to the main window's buttons, once all windows exist.
    void attachToolWindows();
    void bindGameDataCommands();
    void bindClassChecks();
    // The game's palette, which every window that shows sprites shares; the demo palette where
    // the game has none.
    void loadGamePalette();
    std::vector<std::string> systemReportLines();
    void applyStoredLanguage();

    bool m_debugMode;
    GamePathSources m_sources;  // also the Wine prefix and drive A:
    std::unique_ptr<RegistryWriter> m_registry;
    std::unique_ptr<SystemFacts> m_systemFacts;
    std::unique_ptr<TSysInfo> m_sysInfo;
    std::unique_ptr<VekIni> m_settings;
    std::unique_ptr<TCreatures> m_creatures;
    std::unique_ptr<AppContext> m_context;
    PaletteTable m_palette;
    SpriteDocument m_spriteDocument;
    SpriteFilePictures m_pictures{m_spriteDocument};
    ObjectDocument m_objectDocument;
    ClassCatalogueDocument m_classCatalogue;
    Windows m_windows;
    std::vector<std::unique_ptr<VekWindow>> m_ownedWindows;
    std::unique_ptr<VivariumWindow> m_vivarium;  // not one of the twelve: made on demand
    // The link's own transport (maybe none) while the Vivarium window holds the link.
    std::optional<std::shared_ptr<LinkTransport>> m_linkBeforeVivarium;
    std::unique_ptr<ToolWindowGroup> m_toolWindows;  // goes first: it refers to the windows
    Subscription m_catalogueWatch;                   // the source checks hear of the catalogue
};

}  // namespace vek::ui
