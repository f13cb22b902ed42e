#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "app/game_paths.h"
#include "app/vek_error.h"

namespace vek {

enum class RegistryRoot { CurrentUser, LocalMachine };

// One registry string value that switches a hidden mode of the game at its next start.
struct GameSetting {
    std::string_view name;  // the command line's word for it
    RegistryRoot root;
    std::string_view key;
    std::string_view valueName;
    std::string_view text;
};

inline constexpr std::string_view kHatcheryRegistryKey =
    "SOFTWARE\\Millennium Interactive\\Creatures\\Hatchery\\0.1";

// The cheat menu's six commands, in the order of the command line's list.
inline constexpr std::array<GameSetting, 6> kGameSettings = {{
    {"pebble", RegistryRoot::CurrentUser, kGameRegistryKey, "Privileges", "pebble"},
    {"marrow", RegistryRoot::CurrentUser, kGameRegistryKey, "Privileges", "Marrow"},
    {"tundra", RegistryRoot::CurrentUser, kGameRegistryKey, "Privileges", "tundra"},
    {"lintel", RegistryRoot::CurrentUser, kGameRegistryKey, "Privileges", "lintel"},
    {"none", RegistryRoot::CurrentUser, kGameRegistryKey, "Privileges", "none"},
    {"more-eggs", RegistryRoot::LocalMachine, kHatcheryRegistryKey, "Eggstra", "kkkkkk"},
}};

// The setting of that command-line word; nothing for another word.
const GameSetting* findGameSetting(std::string_view name);

// Writes string values into an existing key of the game's registry.
class RegistryWriter {
  public:
    virtual ~RegistryWriter() = default;
    // The key is opened without being created; the value is replaced. Throws VekError.
    virtual void writeString(RegistryRoot root, std::string_view key, std::string_view valueName,
                             std::string_view text) = 0;
};

// Each command writes its one value and nothing else.
void writeGameSetting(RegistryWriter& registry, const GameSetting& setting);

// "Konnte Daten für '%s' nicht setzen", the same in both languages.
VekError registryWriteError(std::string_view valueName, ErrorDetail detail = {});

// Whether a Wine server runs for the prefix, and `wine reg add` for one value (true when it
// succeeded); replaceable for tests.
struct WineServerTools {
    std::function<bool(const std::filesystem::path& prefix)> serverRunning;
    std::function<bool(const std::filesystem::path& prefix, const std::string& rootedKey,
                       std::string_view valueName, std::string_view text)>
        regAdd;  // empty where Wine is not installed
};
WineServerTools systemWineServerTools();

// The backup of a registry file, written before the first change of a session: user.reg.vekbak.
inline constexpr std::string_view kRegistryBackupSuffix = ".vekbak";

// The registry of a Wine prefix: user.reg for the current user, system.reg for the machine,
// edited as text and written whole, each file backed up before this writer first changes it. While
// a Wine server keeps the prefix open, the value goes through `wine reg add` instead, or is refused
// when Wine is not installed.
class WinePrefixRegistry final : public RegistryWriter {
  public:
    explicit WinePrefixRegistry(std::filesystem::path prefix,
                                WineServerTools tools = systemWineServerTools());
    void writeString(RegistryRoot root, std::string_view key, std::string_view valueName,
                     std::string_view text) override;

  private:
    void backUpOnce(const std::filesystem::path& file, std::string_view contents);

    std::filesystem::path m_prefix;
    WineServerTools m_tools;
    std::set<std::filesystem::path> m_backedUp;  // files whose backup this session wrote
};

// The platform's registry: the system's own on Windows, the game's Wine prefix elsewhere.
std::unique_ptr<RegistryWriter> platformRegistryWriter(const GamePathSources& sources);

}  // namespace vek
