#include "world/game_settings.h"

#include <cerrno>
#include <system_error>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/process.h"
#include "app/text_names.h"
#include "app/wine_registry.h"

#ifdef _WIN32
#include "app/windows_api.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace vek {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSoftware = "Software\\";
constexpr std::string_view kWow64Software = "Software\\Wow6432Node\\";

// 32-bit programs on a 64-bit system find machine keys under Wow6432Node.
std::string wow64Key(std::string_view key) {
    if (key.size() < kSoftware.size() ||
        !equalsIgnoringCase(key.substr(0, kSoftware.size()), kSoftware))
        return std::string(key);
    return std::string(kWow64Software) + std::string(key.substr(kSoftware.size()));
}

std::string_view rootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

bool hasWriteBit(const fs::path& file) {
    std::error_code error;
    const auto permissions = fs::status(file, error).permissions();
    return !error && (permissions & fs::perms::owner_write) != fs::perms::none;
}

#ifdef _WIN32
class WindowsRegistry final : public RegistryWriter {
  public:
    void writeString(RegistryRoot root, std::string_view key, std::string_view valueName,
                     std::string_view text) override {
        HKEY opened = nullptr;
        const std::string keyText(key);
        const std::string name(valueName);
        const HKEY rootKey =
            root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        // The 32-bit game reads its keys through the 32-bit view, whatever this build is.
        if (RegOpenKeyExA(rootKey, keyText.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &opened) !=
            ERROR_SUCCESS)
            throw registryWriteError(valueName);
        // The data are the text's characters without a terminating zero. Wine takes a zero
        // that follows a string in memory into its length (Windows does not), so what follows
        // here is no zero.
        const std::string data = std::string(text) + '.';
        const LONG written = RegSetValueExA(opened, name.c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(data.data()),
                                            static_cast<DWORD>(text.size()));
        RegCloseKey(opened);
        if (written != ERROR_SUCCESS) throw registryWriteError(valueName);
    }
};
#else
// A Wine server holds an fcntl lock on the lock file of its prefix's server folder.
bool wineServerRunning(const fs::path& prefix) {
    struct stat info {};
    if (::stat(prefix.c_str(), &info) != 0) return false;
    char folder[128];
    std::snprintf(folder, sizeof folder, "/tmp/.wine-%u/server-%llx-%llx/lock",
                  static_cast<unsigned>(::getuid()), static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    const int fd = ::open(folder, O_RDONLY);
    if (fd < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

bool runWineRegAdd(const fs::path& prefix, const std::string& rootedKey, std::string_view valueName,
                   std::string_view text) {
    const ProcessLaunch launch{.exeName = "wine",
                               .params = {"reg", "add", rootedKey, "/v", std::string(valueName),
                                          "/t", "REG_SZ", "/d", std::string(text), "/f"},
                               .environment = wineEnvironment(prefix),
                               .streams = ProcessStreams::Null,
                               .searchPath = true,
                               .detach = false};
    Process wine;
    return launchProcess(launch, wine) == 0 && wine.wait() == 0;
}
#endif

}  // namespace

const GameSetting* findGameSetting(std::string_view name) {
    for (const GameSetting& setting : kGameSettings) {
        if (setting.name == name) return &setting;
    }
    return nullptr;
}

void writeGameSetting(RegistryWriter& registry, const GameSetting& setting) {
    registry.writeString(setting.root, setting.key, setting.valueName, setting.text);
}

namespace {

// The registry file with the reason a read or write of it failed.
ErrorDetail fileAndReason(const fs::path& file, const VekError& error) {
    ErrorDetail detail = reasonOf(error);
    detail.file = pathToUtf8(file);
    return detail;
}

}  // namespace

VekError registryWriteError(std::string_view valueName, ErrorDetail detail) {
    return VekError::runtime("Konnte Daten für '" + std::string(valueName) + "' nicht setzen",
                             std::move(detail));
}

WineServerTools systemWineServerTools() {
    WineServerTools tools;
#ifndef _WIN32
    tools.serverRunning = wineServerRunning;
    if (findProgramOnPath("wine")) tools.regAdd = runWineRegAdd;
#endif
    return tools;
}

WinePrefixRegistry::WinePrefixRegistry(fs::path prefix, WineServerTools tools)
    : m_prefix(std::move(prefix)), m_tools(std::move(tools)) {}

void WinePrefixRegistry::writeString(RegistryRoot root, std::string_view key,
                                     std::string_view valueName, std::string_view text) {
    const fs::path file =
        m_prefix / (root == RegistryRoot::CurrentUser ? "user.reg" : "system.reg");
    std::string registry;
    try {
        registry = readFileText(file);
    } catch (const VekError& error) {
        throw registryWriteError(valueName, fileAndReason(file, error));
    }
    std::string usedKey(key);
    std::optional<std::string> changed =
        readingFile(file, [&] { return setWineRegistryString(registry, key, valueName, text); });
    if (!changed) {
        usedKey = wow64Key(key);
        changed = setWineRegistryString(registry, usedKey, valueName, text);
    }
    if (!changed) {
        throw registryWriteError(valueName,
                                 ErrorDetail::ofFile(file, textOf(Msg::ReasonGameKeyMissing)));
    }
    if (!hasWriteBit(file))
        throw registryWriteError(valueName, ErrorDetail::ofFile(file, systemReason(EACCES)));
    backUpOnce(file, registry);

    // A running server writes its own copy of the registry back when it stops.
    if (m_tools.serverRunning && m_tools.serverRunning(m_prefix)) {
        if (!m_tools.regAdd) {
            throw VekError(Msg::CloseGameFirst, ErrorDetail::ofFile(m_prefix));
        }
        const std::string rootedKey = std::string(rootName(root)) + "\\" + usedKey;
        if (!m_tools.regAdd(m_prefix, rootedKey, valueName, text)) {
            throw registryWriteError(
                valueName, ErrorDetail::ofFile(file, textOf(Msg::ReasonWineRegAddFailed)));
        }
        return;
    }
    try {
        writeFileAtomically(file, *changed);
    } catch (const VekError& error) {
        throw registryWriteError(valueName, fileAndReason(file, error));
    }
}

void WinePrefixRegistry::backUpOnce(const fs::path& file, std::string_view contents) {
    if (m_backedUp.contains(file)) return;
    // The registry as it was before this session's first change, for the user to go back to.
    fs::path backup = file;
    backup += kRegistryBackupSuffix;
    writeFileAtomically(backup, contents);
    // The backup is as private as the file it keeps.
    fs::permissions(backup, fs::status(file).permissions());
    m_backedUp.insert(file);
}

std::unique_ptr<RegistryWriter> platformRegistryWriter(const GamePathSources& sources) {
#ifdef _WIN32
    (void)sources;
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<WinePrefixRegistry>(sources.winePrefix.value_or(fs::path()));
#endif
}

}  // namespace vek
