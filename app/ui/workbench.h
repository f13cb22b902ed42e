#pragma once

#include <QObject>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/game_paths.h"
#include "app/ui/app_context.h"

namespace vek {
class TCreatures;
class VekIni;
}  // namespace vek

namespace vek::ui {

class VekWindow;

// What a run of the program is started with.
struct WorkbenchSetup {
    std::filesystem::path vekIni;
    GamePathSources gamePathSources;
    std::filesystem::path programDirectory;
    bool debugMode = false;
};

// The program's composition root: the shared context and the twelve windows, created once in
// the designed order and living until the program ends.
class Workbench : public QObject {
    Q_OBJECT
  public:
    Workbench(const WorkbenchSetup& setup, UserDialogs& dialogs, SoundOutput& sound);
    ~Workbench() override;

    // Creates every window in order, runs each creation step, then applies the stored language.
    void createWindows();

    AppContext& context() { return *m_context; }
    // All twelve windows in creation order.
    std::vector<VekWindow*> windows() const;
    // Re-captions every window (ChangeLanguage).
    void changeLanguage(int languageOffset);

  private:
    template <typename Window>
    Window* create(Window*& slot);
    void applyStoredLanguage();

    bool m_debugMode;
    std::unique_ptr<VekIni> m_settings;
    std::unique_ptr<TCreatures> m_creatures;
    std::unique_ptr<AppContext> m_context;
    std::vector<std::unique_ptr<VekWindow>> m_windows;
};

}  // namespace vek::ui
