#include "app/game_paths.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/text_names.h"
#include "app/vek_error.h"
#include "app/wine_registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vek {

namespace fs = std::filesystem;

namespace {

// The game's standard layout: each registry value's folder under the game directory
// (empty for the main directory itself).
constexpr std::array<std::string_view, 9> kStandardFolders = {
    "", "Body data", "Genetics", "Images", "", "Macros", "Palettes", "Programs", "Sounds"};

std::string withSeparator(const fs::path& directory) {
    std::string text = pathToUtf8(directory);
    if (text.empty() || text.back() != fs::path::preferred_separator)
        text += fs::path::preferred_separator;
    return text;
}

std::optional<std::size_t> valueIndex(std::string_view name) {
    for (std::size_t i = 0; i < kGamePathValueNames.size(); ++i) {
        if (equalsIgnoringCase(kGamePathValueNames[i], name)) return i;
    }
    return std::nullopt;
}

// "C:\Creatures\" in the prefix's drive C:.
std::string hostPathOfWindowsPath(const fs::path& winePrefix, const std::string& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
    const std::string drive(
        1, static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0]))));
    std::error_code error;
    fs::path host = fs::canonical(winePrefix / "dosdevices" / (drive + ":"), error);
    if (error) return {};
    // Wine's file names are case-insensitive, the host's are not.
    return withSeparator(findIgnoringCase(host, std::string_view(windowsPath).substr(2)));
}

#ifdef _WIN32
// The game's own key: HKEY_LOCAL_MACHINE, opened for reading only, never created. The game is a
// 32-bit program, so a 64-bit build looks where it wrote: the 32-bit view (Wow6432Node).
std::optional<GamePaths> readRegistryGamePaths() {
    HKEY key = nullptr;
    const std::string keyPath(kGameRegistryKey);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    GamePaths paths;
    for (std::size_t i = 0; i < kGamePathValueNames.size(); ++i) {
        char value[MAX_PATH + 1] = {};
        DWORD size = MAX_PATH;
        DWORD type = 0;
        const std::string name(kGamePathValueNames[i]);
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ) {
            gamePathField(paths, i) = value;
        }
    }
    RegCloseKey(key);
    return paths;
}
#endif

}  // namespace

std::string& gamePathField(GamePaths& paths, std::size_t index) {
    std::array<std::string*, 9> fields = {
        &paths.CMainPath,    &paths.CBodyDataPath, &paths.CGeneticsPath,
        &paths.CImagePath,   &paths.CIntroPath,    &paths.CMacroPath,
        &paths.CPalettePath, &paths.CProgramsPath, &paths.CSoundPath};
    return *fields.at(index);
}

fs::path gameSoundFile(const GamePaths& paths, std::string_view name) {
    std::string file(name);
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos || !equalsIgnoringCase(file.substr(dot), ".wav")) file += ".wav";
    return findIgnoringCase(pathFromUtf8(paths.CSoundPath), file);
}

GamePaths gamePathsUnder(const fs::path& gameDirectory) {
    GamePaths paths;
    for (std::size_t i = 0; i < kStandardFolders.size(); ++i) {
        const std::string_view folder = kStandardFolders[i];
        gamePathField(paths, i) =
            withSeparator(folder.empty() ? gameDirectory : gameDirectory / folder);
    }
    return paths;
}

fs::path knownGameFolder(const std::string& path, std::string_view valueName) {
    const fs::path folder = pathFromUtf8(path);
    std::error_code error;
    if (!path.empty() && folder.is_absolute() && fs::is_directory(folder, error)) return folder;
    throw VekError(fill(Msg::GameFolderUnknown, {valueName}),
                   path.empty() ? ErrorDetail{} : ErrorDetail::ofFile(folder));
}

GamePathSources gamePathSourcesFromEnvironment() {
    GamePathSources sources;
    if (const char* dir = std::getenv("VEK_GAME_DIR"); dir && *dir)
        sources.gameDirEnvironment = dir;
    if (const char* link = std::getenv("VEK_LINK"); link && *link) sources.link = link;
    if (const char* floppy = std::getenv("VEK_FLOPPY_DIR"); floppy && *floppy)
        sources.floppyEnvironment = floppy;
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) {
        sources.winePrefix = prefix;
        sources.winePrefixNamed = true;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        sources.winePrefix = fs::path(home) / ".wine";
    }
    return sources;
}

bool gameNamed(const GamePathSources& sources) {
    return sources.gameDirOption || sources.gameDirEnvironment || sources.winePrefixNamed;
}

bool gamePathsFromWinePrefix(const GamePathSources& sources) {
    return !sources.gameDirOption && !sources.gameDirEnvironment && sources.winePrefix &&
           readWineGamePaths(*sources.winePrefix).has_value();
}

GamePaths readGamePaths(const GamePathSources& sources) {
    if (sources.gameDirOption) {
        std::error_code error;
        if (!fs::is_directory(*sources.gameDirOption, error)) {
            throw VekError(Msg::GameDirectoryNotFound, ErrorDetail::ofFile(*sources.gameDirOption));
        }
        return gamePathsUnder(fs::absolute(*sources.gameDirOption));
    }
    if (sources.gameDirEnvironment)
        return gamePathsUnder(fs::absolute(pathFromUtf8(*sources.gameDirEnvironment)));
#ifdef _WIN32
    if (auto paths = readRegistryGamePaths()) return *paths;
#else
    if (sources.winePrefix) {
        if (auto paths = readWineGamePaths(*sources.winePrefix)) return *paths;
    }
#endif
    return {};
}

std::string gamePathsSourceName(const GamePathSources& sources) {
    if (sources.gameDirOption) return "--game-dir";
    if (sources.gameDirEnvironment) return "VEK_GAME_DIR";
#ifdef _WIN32
    return "the game's registry key";
#else
    return "the game's key in the Wine prefix " +
           pathToUtf8(sources.winePrefix.value_or(fs::path()));
#endif
}

std::optional<std::array<std::optional<std::string>, 9>> parseWineRegistryKey(
    std::string_view registryText, std::string_view keyPath) {
    const WineRegistryText registry = parseWineRegistry(registryText);
    const WineRegistrySection* section = findWineRegistrySection(registry, keyPath);
    if (!section) return std::nullopt;
    std::array<std::optional<std::string>, 9> values;
    for (const WineRegistryValue& value : section->values) {
        const auto index = valueIndex(value.name);
        if (index && value.text) values[*index] = value.text;
    }
    return values;
}

std::optional<GamePaths> readWineGamePaths(const fs::path& winePrefix) {
    std::string registry;
    try {
        registry = readFileText(winePrefix / "system.reg");
    } catch (const VekError&) {
        return std::nullopt;
    }
    // system.reg holds HKEY_LOCAL_MACHINE without its root; 32-bit programs on a 64-bit
    // prefix find their key under Wow6432Node.
    auto values = parseWineRegistryKey(registry, kGameRegistryKey);
    if (!values)
        values = parseWineRegistryKey(
            registry, "Software\\Wow6432Node\\Millennium Interactive\\Creatures\\1.0");
    if (!values) return std::nullopt;
    GamePaths paths;
    for (std::size_t i = 0; i < values->size(); ++i) {
        if ((*values)[i])
            gamePathField(paths, i) = hostPathOfWindowsPath(winePrefix, *(*values)[i]);
    }
    return paths;
}

}  // namespace vek
