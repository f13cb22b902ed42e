// What the program keeps where on Windows: its settings, its own folders, the game's registry
// values; run under Wine as a Windows program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/install_layout.h"
#include "app/settings.h"
#include "app/user_folders.h"
#include "app/vek_error.h"
#include "app/windows_api.h"
#include "world/game_settings.h"

namespace vek::testing {
namespace {

namespace fs = std::filesystem;

fs::path windowsDirectory() {
    wchar_t folder[MAX_PATH] = {};
    EXPECT_GT(GetWindowsDirectoryW(folder, MAX_PATH), 0u);
    return folder;
}

fs::path environmentFolder(const wchar_t* variable) {
    const wchar_t* value = _wgetenv(variable);
    EXPECT_NE(value, nullptr) << "the profile sets it";
    return value ? fs::path(value) : fs::path();
}

// Keeps a file that a test writes over, and puts it back afterwards.
class KeptFile {
  public:
    explicit KeptFile(fs::path file) : m_file(std::move(file)) {
        std::error_code error;
        if (fs::exists(m_file, error)) m_saved = readFileText(m_file);
        fs::remove(m_file, error);
    }
    ~KeptFile() {
        std::error_code error;
        fs::remove(m_file, error);
        if (m_saved) writeFileAtomically(m_file, std::string_view(*m_saved));
    }

  private:
    fs::path m_file;
    std::optional<std::string> m_saved;
};

TEST(WindowsPlacesTest, TheFirstStartWritesVekIniIntoTheWindowsFolder) {
    const fs::path expected = windowsDirectory() / "VEK.INI";
    EXPECT_EQ(defaultVekIniPath(), expected);
    const KeptFile kept(expected);
    const StartupSettings first = readStartupSettings(VekIni(defaultVekIniPath()));
    EXPECT_TRUE(first.firstStart);
    EXPECT_FALSE(first.writeError) << *first.writeError;
    const std::string written = readFileText(expected);
    EXPECT_NE(written.find("[Language]"), std::string::npos) << written;
    EXPECT_NE(written.find("Language=english"), std::string::npos) << written;
    EXPECT_NE(written.find("SBGC=$000000"), std::string::npos) << written;
    EXPECT_EQ(readStartupSettings(VekIni(defaultVekIniPath())).spriteBackground, 0u);
}

TEST(WindowsPlacesTest, TheUsersFoldersAreTheProfilesWhateverHomeSays) {
    // Wine hands its Unix HOME on; a Windows program must not take it for a folder.
    _wputenv(L"HOME=/root");
    _wputenv(L"XDG_CONFIG_HOME=/root/.config");
    EXPECT_EQ(userConfigDirectory(), environmentFolder(L"APPDATA") / "Vekstudio");
    EXPECT_EQ(userDataDirectory(), environmentFolder(L"LOCALAPPDATA") / "Vekstudio");
}

TEST(WindowsPlacesTest, TheProgramFindsWhatLiesBesideItFromAnyFolder) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const fs::path beside = fs::path(self).parent_path();
    const fs::path before = fs::current_path();
    fs::current_path(windowsDirectory());
    EXPECT_EQ(executableDirectory(), beside);
    fs::current_path(before);
}

// The game's keys as its installer makes them, in the 32-bit view the game reads. They are
// removed afterwards: the tests run in a Wine prefix of their own, never on a player's Windows.
class GameKeys {
  public:
    GameKeys() {
        create(HKEY_CURRENT_USER, kGameRegistryKey);
        create(HKEY_LOCAL_MACHINE, kHatcheryRegistryKey);
    }
    ~GameKeys() {
        remove(HKEY_CURRENT_USER, kGameRegistryKey);
        remove(HKEY_LOCAL_MACHINE, kHatcheryRegistryKey);
    }

    static void create(HKEY root, std::string_view key) {
        HKEY made = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, std::string(key).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &made, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(made);
    }
    static void remove(HKEY root, std::string_view key) {
        RegDeleteKeyExA(root, std::string(key).c_str(), KEY_WOW64_32KEY, 0);
    }

    // The value's type and text as stored: the wide form keeps exactly the characters written,
    // where the ANSI form of a read may add a terminating zero of its own.
    static std::pair<DWORD, std::string> read(RegistryRoot root, std::string_view key,
                                              std::string_view name) {
        HKEY opened = nullptr;
        const HKEY rootKey =
            root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        if (RegOpenKeyExA(rootKey, std::string(key).c_str(), 0, KEY_READ | KEY_WOW64_32KEY,
                          &opened) != ERROR_SUCCESS)
            return {REG_NONE, "no key"};
        wchar_t data[64] = {};
        DWORD size = sizeof data;
        DWORD type = REG_NONE;
        const std::wstring wideName(name.begin(), name.end());
        const LONG got = RegQueryValueExW(opened, wideName.c_str(), nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(opened);
        if (got != ERROR_SUCCESS) return {REG_NONE, "no value"};
        // The game's texts are ASCII.
        std::string text;
        for (std::size_t i = 0; i < size / sizeof(wchar_t); ++i) text += static_cast<char>(data[i]);
        return {type, text};
    }
};

TEST(WindowsRegistryTest, EachCommandWritesItsTextAsAStringWithoutATerminatingZero) {
    const GameKeys keys;
    const auto registry = platformRegistryWriter(GamePathSources{});
    for (const GameSetting& setting : kGameSettings) {
        writeGameSetting(*registry, setting);
        const auto [type, data] = GameKeys::read(setting.root, setting.key, setting.valueName);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << setting.name;
        EXPECT_EQ(data, setting.text) << setting.name;
    }
    // The last privilege command wins; the hatchery's value stands beside it.
    EXPECT_EQ(GameKeys::read(RegistryRoot::CurrentUser, kGameRegistryKey, "Privileges").second,
              "none");
    EXPECT_EQ(GameKeys::read(RegistryRoot::LocalMachine, kHatcheryRegistryKey, "Eggstra").second,
              "kkkkkk");
}

TEST(WindowsRegistryTest, AMissingKeyIsNeverCreatedAndGivesTheRegistryError) {
    GameKeys::remove(HKEY_CURRENT_USER, kGameRegistryKey);
    GameKeys::remove(HKEY_LOCAL_MACHINE, kHatcheryRegistryKey);
    const auto registry = platformRegistryWriter(GamePathSources{});
    for (const GameSetting& setting : {kGameSettings.front(), kGameSettings.back()}) {
        try {
            writeGameSetting(*registry, setting);
            ADD_FAILURE() << setting.name << " wrote into a key that is not there";
        } catch (const VekError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Konnte Daten für '" + std::string(setting.valueName) + "' nicht setzen");
        }
        EXPECT_EQ(GameKeys::read(setting.root, setting.key, setting.valueName).second, "no key");
    }
}

// The game's key as its installer writes it, in the 32-bit view; only the values a case names.
void writeGameKey(const std::vector<std::pair<std::string_view, std::string>>& values) {
    GameKeys::remove(HKEY_LOCAL_MACHINE, kGameRegistryKey);
    GameKeys::create(HKEY_LOCAL_MACHINE, kGameRegistryKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(kGameRegistryKey).c_str(), 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    for (const auto& [name, text] : values) {
        RegSetValueExA(key, std::string(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    RegCloseKey(key);
}

TEST(WindowsRegistryTest, ReadPathsTakesTheNineFoldersFromTheGamesKey) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string_view, std::string>> values;
        std::string main, sound, images;
    };
    const Case cases[] = {
        {"a whole installation",
         {{"Main Directory", "C:\\CREATU~1\\"},
          {"Sound Directory", "C:\\CREATU~1\\Sounds\\"},
          {"Image Directory", "C:\\CREATU~1\\Images\\"}},
         "C:\\CREATU~1\\",
         "C:\\CREATU~1\\Sounds\\",
         "C:\\CREATU~1\\Images\\"},
        {"no sound directory: empty, the rest stays",
         {{"Main Directory", "D:\\Game\\"}, {"Image Directory", "D:\\Game\\Images\\"}},
         "D:\\Game\\",
         "",
         "D:\\Game\\Images\\"},
        {"an empty main directory counts as none", {{"Main Directory", ""}}, "", "", ""},
    };
    const GameKeys keys;
    for (const Case& c : cases) {
        writeGameKey(c.values);
        const GamePaths paths = readGamePaths(GamePathSources{});
        EXPECT_EQ(paths.CMainPath, c.main) << c.what;
        EXPECT_EQ(paths.CSoundPath, c.sound) << c.what;
        EXPECT_EQ(paths.CImagePath, c.images) << c.what;
        EXPECT_EQ(paths.CGeneticsPath, "") << c.what;
    }
    GameKeys::remove(HKEY_LOCAL_MACHINE, kGameRegistryKey);
    EXPECT_EQ(readGamePaths(GamePathSources{}), GamePaths{}) << "no key: nothing, and none made";
    HKEY none = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, std::string(kGameRegistryKey).c_str(), 0,
                            KEY_READ | KEY_WOW64_32KEY, &none),
              ERROR_SUCCESS);
}

}  // namespace
}  // namespace vek::testing
