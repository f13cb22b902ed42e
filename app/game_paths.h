#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vek {

// The game's nine directories, each ending in the platform's separator so that a file name is
// appended directly. An unreadable one is empty.
struct GamePaths {
    std::string CMainPath;
    std::string CBodyDataPath;
    std::string CGeneticsPath;
    std::string CImagePath;
    std::string CIntroPath;
    std::string CMacroPath;
    std::string CPalettePath;
    std::string CProgramsPath;
    std::string CSoundPath;

    bool operator==(const GamePaths&) const = default;
};

// The registry value names of the game's key, in the order the paths are read.
inline constexpr std::array<std::string_view, 9> kGamePathValueNames = {
    "Main Directory",  "Body Data",         "Genetics Directory", "Image Directory", "IntroPath",
    "Macro Directory", "Palette Directory", "Programs",           "Sound Directory"};

inline constexpr std::string_view kMainDirectoryValue = kGamePathValueNames[0];
inline constexpr std::string_view kGeneticsDirectoryValue = kGamePathValueNames[2];

inline constexpr std::string_view kGameRegistryKey =
    "Software\\Millennium Interactive\\Creatures\\1.0";

// The installed game as the program sees it: its nine directories, read again on request, and
// its sounds.
class GameInstallation {
  public:
    virtual ~GameInstallation() = default;

    virtual const GamePaths& paths() const = 0;
    // Reads the nine paths again from the platform's sources.
    virtual void ReadPaths() = 0;
    // Plays the sound directory's wave file of that name (gameSoundFile) without waiting.
    virtual void PlayGameSound(const std::string& name) const = 0;
};

// The wave file of a game sound in the sound directory, whatever the letter case of its name;
// a name without the ".wav" extension ("MU02") gets it.
std::filesystem::path gameSoundFile(const GamePaths& paths, std::string_view name);

// The path field that belongs to a registry value name (index into kGamePathValueNames).
std::string& gamePathField(GamePaths& paths, std::size_t index);

// The nine paths of the game's standard layout under one directory.
GamePaths gamePathsUnder(const std::filesystem::path& gameDirectory);

// The folder of one of the game's paths for a command that works in it. An unknown folder
// (empty, relative or not there) throws naming the registry value that should give it, so that
// no command ever falls back to the working directory.
std::filesystem::path knownGameFolder(const std::string& path, std::string_view valueName);

// Where the nine paths come from on this platform. Each source answers nothing when it does not
// know the game; the first that answers wins. The game's drive A: is found the same way.
struct GamePathSources {
    std::optional<std::filesystem::path> gameDirOption;  // --game-dir DIR
    std::optional<std::string> gameDirEnvironment;       // VEK_GAME_DIR
    std::optional<std::filesystem::path> winePrefix;     // --wine-prefix, $WINEPREFIX or ~/.wine
    bool winePrefixNamed = false;                        // by --wine-prefix or $WINEPREFIX
    std::optional<std::string> link;                     // --link, else $VEK_LINK
    std::optional<std::filesystem::path> floppyOption;   // --floppy DIR
    std::optional<std::string> floppyEnvironment;        // VEK_FLOPPY_DIR
};

// Whether ReadPaths takes the paths from the Wine prefix (no directory given instead).
bool gamePathsFromWinePrefix(const GamePathSources& sources);

// Whether the game's installation was named for this run: by a game directory, VEK_GAME_DIR, or
// a Wine prefix named by --wine-prefix or $WINEPREFIX.
bool gameNamed(const GamePathSources& sources);

// The sources as the process environment gives them (the option is added by the caller).
GamePathSources gamePathSourcesFromEnvironment();

// ReadPaths: the paths from the first source that knows the game; all empty when none does.
// A --game-dir that does not exist throws with a clear message.
GamePaths readGamePaths(const GamePathSources& sources);
// The source readGamePaths takes the paths from, named for a report: "--game-dir",
// "VEK_GAME_DIR", "the game's key in the Wine prefix DIR" or "the game's registry key". Meant
// for paths it found; the platform's own source where none is given.
std::string gamePathsSourceName(const GamePathSources& sources);

// The game's key read from a Wine prefix's system.reg, with Windows paths mapped to host
// paths through the prefix's dosdevices links. Nothing when the key is absent.
std::optional<GamePaths> readWineGamePaths(const std::filesystem::path& winePrefix);

// The values of one key of a Wine registry file's text (keys compared without case).
std::optional<std::array<std::optional<std::string>, 9>> parseWineRegistryKey(
    std::string_view registryText, std::string_view keyPath);

}  // namespace vek
