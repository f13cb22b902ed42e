#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ui/sound_output.h"
#include "app/ui/user_dialogs.h"
#include "app/ui/vek_application.h"
#include "demo/demo_installation.h"
#include "studio/workbench.h"
#include "support/ui/ui_test_main.h"

namespace vek::ui::testing {

// Dialogs that answer as a test scripted them and remember everything that was asked.
class ScriptedDialogs final : public UserDialogs {
  public:
    struct Asked {
        QString kind;     // "message", "error", "open", "openMany", "save", "directory", "color",
                          // "number", "size", "text" (then `caption` is the initial value;
                          // a size as "WxH")
        QString text;     // message text, or the dialog's title
        QString caption;  // message caption, or the dialog's directory
        Buttons buttons = Buttons::Ok;
    };

    // Answers used in order; when a queue is empty, messages get the button Return presses
    // (Ok or Yes; No for YesNoDefaultNo) and file, directory and colour dialogs are cancelled.
    std::deque<Answer> messageAnswers;
    std::deque<std::optional<QString>> fileAnswers;  // openFile, saveFile and chooseDirectory
    std::deque<std::optional<QStringList>> fileListAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    // Numbers and sizes typed into askNumber and askSize, kept within their bounds as the spin
    // boxes do.
    std::deque<std::optional<int>> numberAnswers;
    std::deque<std::optional<QSize>> sizeAnswers;
    std::deque<std::optional<QString>> textAnswers;  // askText

    std::vector<Asked> asked;
    // When set, messages and reports are also shown by these dialogs (real boxes with their own
    // event loop), whose answers then count instead of the scripted ones.
    UserDialogs* shownBy = nullptr;

    std::vector<Asked> messages() const { return ofKind(QStringLiteral("message")); }
    std::vector<Asked> errors() const { return ofKind(QStringLiteral("error")); }
    std::vector<Asked> ofKind(const QString& kind) const;

    Answer message(const QString& text, const QString& caption, Buttons buttons) override;
    void errorReport(const QString& text) override;
    std::optional<QString> openFile(const QString& title, const QString& directory,
                                    const QString& filter) override;
    std::optional<QStringList> openFiles(const QString& title, const QString& directory,
                                         const QString& filter) override;
    // Like the real dialog, gives a name without extension the default one.
    std::optional<QString> saveFile(const QString& title, const QString& directory,
                                    const QString& filter, const QString& defaultExtension,
                                    const QString& suggestedName) override;
    std::optional<QString> chooseDirectory(const QString& title, const QString& directory) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<int> askNumber(const QString& title, const QString& label, int initial,
                                 int minimum, int maximum) override;
    std::optional<QSize> askSize(const QString& title, const QString& label, const QSize& initial,
                                 const QSize& maximum) override;
    std::optional<QString> askText(const QString& title, const QString& label,
                                   const QString& initial) override;

  private:
    std::optional<QString> nextFile(const QString& kind, const QString& title,
                                    const QString& directory);
};

// The demo installation generated once per test process (tests that change its files should
// work on a copy: see TestWorkbench::Options::privateDemo).
const demo::DemoLayout& sharedDemo();

// All twelve windows on a demo installation, offscreen, with scripted dialogs, silent sound
// and a VEK.INI of their own in a temporary folder.
class TestWorkbench {
  public:
    struct Options {
        std::optional<std::string> vekIniText;        // written before start-up; none = first start
        std::optional<std::string> windowPlacesText;  // WINDOWS.INI, written before start-up
        bool gameInstalled = true;                    // false: no game paths at all
        std::optional<std::filesystem::path> gameDirectory;  // instead of the demo's game
        bool privateDemo = false;  // a fresh demo installation for this workbench only
        bool debugMode = false;
        std::deque<Answer> startupAnswers;  // answers to questions asked during start-up
    };

    TestWorkbench();
    explicit TestWorkbench(Options options);
    ~TestWorkbench();

    Workbench& workbench() { return *m_workbench; }
    // The program ends as it does after its event loop; the folder stays for the test to read.
    void endProgram() { m_workbench.reset(); }
    AppContext& context() { return m_workbench->context(); }
    const Windows& windows() { return m_workbench->windows(); }
    SpriteDocument& spriteDocument() { return m_workbench->spriteDocument(); }
    ObjectDocument& objectDocument() { return m_workbench->objectDocument(); }
    const PaletteTable& palette() const { return m_workbench->palette(); }
    ScriptedDialogs& dialogs() { return m_dialogs; }
    SilentSoundOutput& sound() { return m_sound; }

    const demo::DemoLayout& demo() const { return m_demo; }
    std::filesystem::path vekIniPath() const;
    std::string vekIniText() const;
    // A scratch folder for the test's own files.
    std::filesystem::path scratch() const;
#ifndef _WIN32
    // Points the game link at a socket of the test's own; the game is never started.
    void linkTo(const std::filesystem::path& socket);
#endif

  private:
    QTemporaryDir m_folder;
    demo::DemoLayout m_demo;
    ScriptedDialogs m_dialogs;
    SilentSoundOutput m_sound;
    std::unique_ptr<Workbench> m_workbench;
};

// The fonts a test that measures texts ran with, for its failure messages: the font set
// (FONTCONFIG_FILE) and the fonts that draw Times New Roman and the interface.
QString fontSetName();

// Screenshots for a person to look at: VEK_SCREENSHOT_DIR names the folder; empty when unset.
QString screenshotFolder();
// Saves a widget's picture as `name`.png in the screenshot folder, when one is set.
void saveScreenshot(QWidget* widget, const QString& name);

// The control of that object name in a window; a test without it cannot go on.
template <typename Control = QWidget>
Control* control(QWidget* window, const char* name) {
    auto* found = window->findChild<Control*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

// A workbench in English whose sprite editor paints on white, with more of VEK.INI after it.
inline TestWorkbench::Options whiteBackground(const std::string& more = {}) {
    TestWorkbench::Options options;
    options.vekIniText = "[Color]\r\nSBGC=$FFFFFF\r\n[Language]\r\nLanguage=english\r\n" + more;
    return options;
}

}  // namespace vek::ui::testing
