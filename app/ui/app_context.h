#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "app/messages.h"
#include "app/rgb_image.h"
#include "app/ui/user_dialogs.h"

namespace vek {
class TCreatures;
class VekIni;
}  // namespace vek

namespace vek::ui {

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
class SoundOutput;

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

// What the whole program shares for the run: the dialogs, the game component, the settings,
// the start-up state and the windows. Owned by the workbench; every window holds a reference.
struct AppContext {
    AppContext(UserDialogs& userDialogs, TCreatures& game, VekIni& vekIni, SoundOutput& soundOutput,
               std::filesystem::path programDir)
        : dialogs(userDialogs),
          creatures(game),
          settings(vekIni),
          sound(soundOutput),
          programDirectory(std::move(programDir)) {}

    UserDialogs& dialogs;
    TCreatures& creatures;
    VekIni& settings;
    SoundOutput& sound;
    std::filesystem::path programDirectory;  // vek.wav, rpsw.kev, classes.vek, mac/, help/ ...

    std::string language{kLanguageEnglish};  // "english" or "deutsch"
    ScreenColor spriteBackground = 0xFFFFFF;
    bool debugMode = false;
    bool pathsRead = false;         // false when the game is not installed and the user went on
    bool quitAfterStartup = false;  // the user chose to quit at the installed-game check
    Windows windows;

    // Where start-up trace texts go; installed by the main window.
    std::function<void(const QString&)> traceSink;

    // Shows a start-up trace text; only debug mode shows them.
    void trace(const QString& text) const {
        if (debugMode && traceSink) traceSink(text);
    }

    // The text of a bilingual message in the current language.
    QString text(const Bilingual& message) const;
    // A message box in the current language.
    Answer ask(const BilingualBox& box, Buttons buttons) const;
    // The directory of a game path as the file dialogs want it.
    QString gameDirectory(const std::string& gamePath) const;
    // The program directory's file or folder of that name.
    std::filesystem::path programFile(std::string_view name) const {
        return programDirectory / name;
    }
};

}  // namespace vek::ui
