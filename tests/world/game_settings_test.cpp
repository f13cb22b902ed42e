#include <gtest/gtest.h>

#include "app/file_io.h"
#include "support/temp_dir.h"
#include "world/game_settings.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr std::string_view kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-1-2-3-1000\n\n#arch=win32\n\n"
    "[Software\\\\Millennium Interactive\\\\Creatures\\\\1.0] 1700000001\n"
    "#time=1da0c0ffee000001\n"
    "\"Privileges\"=\"none\"\n\n"
    "[Software\\\\Wine\\\\Fonts] 1700000002\n"
    "\"LogPixels\"=dword:00000060\n";

constexpr std::string_view kSystemReg =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
    "[Software\\\\Wow6432Node\\\\Millennium Interactive\\\\Creatures\\\\Hatchery\\\\0.1] 1\n"
    "\"Eggs\"=hex:06,00,00,00\n\n";

struct Prefix {
    TempDir dir;
    Prefix() {
        writeFileAtomically(dir / "user.reg", kUserReg);
        writeFileAtomically(dir / "system.reg", kSystemReg);
    }
    std::string user() const { return readFileText(dir / "user.reg"); }
    std::string system() const { return readFileText(dir / "system.reg"); }
};

WineServerTools noServer() {
    return {[](const fs::path&) { return false; }, {}};
}

std::string failureOf(RegistryWriter& registry, std::string_view name) {
    try {
        writeGameSetting(registry, *findGameSetting(name));
    } catch (const VekError& error) {
        return error.message(kLanguageEnglish);
    }
    return {};
}

std::string withPrivileges(std::string_view text) {
    std::string expected(kUserReg);
    const std::size_t at = expected.find("\"none\"") + 1;
    expected.replace(at, 4, text);
    return expected;
}

TEST(GameSettings, ThePrivilegeCommandsWriteTheirTextsIntoUserReg) {
    Prefix prefix;
    WinePrefixRegistry registry(prefix.dir.path(), noServer());
    const std::pair<std::string_view, std::string_view> commands[] = {
        {"pebble", "pebble"}, {"marrow", "Marrow"}, {"tundra", "tundra"},
        {"tundra", "tundra"}, {"lintel", "lintel"}, {"none", "none"}};
    for (const auto& [name, text] : commands) {
        EXPECT_EQ(failureOf(registry, name), "");
        EXPECT_EQ(prefix.user(), withPrivileges(text)) << name;
    }
    EXPECT_EQ(prefix.system(), kSystemReg);
    // The hatchery's key is found under Wow6432Node of a 64-bit prefix.
    EXPECT_EQ(failureOf(registry, "more-eggs"), "");
    EXPECT_NE(prefix.system().find("\"Eggs\"=hex:06,00,00,00\n\"Eggstra\"=\"kkkkkk\"\n"),
              std::string::npos);
}

TEST(GameSettings, EachSessionBacksUpTheFileBeforeItsFirstChangeAndKeepsItsMode) {
    Prefix prefix;
    fs::permissions(prefix.dir / "user.reg", fs::perms::owner_read | fs::perms::owner_write);
    const fs::path backup = prefix.dir / "user.reg.vekbak";
    {
        WinePrefixRegistry session(prefix.dir.path(), noServer());
        for (std::string_view name : {"pebble", "marrow", "none"}) {
            EXPECT_EQ(failureOf(session, name), "");
            EXPECT_EQ(readFileText(backup), kUserReg) << "the state before the first change";
        }
    }
    WinePrefixRegistry next(prefix.dir.path(), noServer());
    EXPECT_EQ(failureOf(next, "lintel"), "");
    EXPECT_EQ(readFileText(backup), withPrivileges("none"));
    EXPECT_EQ(prefix.user(), withPrivileges("lintel"));
    EXPECT_EQ(fs::status(prefix.dir / "user.reg").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(backup).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(prefix.dir / "system.reg.vekbak")) << "system.reg was not changed";
}

TEST(GameSettings, TheMachineKeyRefusedDoesNotStopTheUsersSettings) {
    Prefix prefix;
    fs::permissions(prefix.dir / "system.reg", fs::perms::owner_read);
    WinePrefixRegistry registry(prefix.dir.path(), noServer());
    EXPECT_EQ(failureOf(registry, "more-eggs").find("Konnte Daten für 'Eggstra' nicht setzen\n"),
              0u);
    EXPECT_EQ(failureOf(registry, "tundra"), "");
    EXPECT_EQ(prefix.user(), withPrivileges("tundra"));
    EXPECT_EQ(prefix.system(), kSystemReg);
}

TEST(GameSettings, AMissingKeyOrADamagedFileChangesNothing) {
    Prefix prefix;
    const std::string other = "WINE REGISTRY Version 2\n\n[Software\\\\Other] 1\n\"a\"=\"b\"\n";
    const std::string cut(kUserReg.substr(0, kUserReg.find("none") + 2));
    WinePrefixRegistry registry(prefix.dir.path(), noServer());
    for (const std::string& text : {other, cut}) {
        writeFileAtomically(prefix.dir / "user.reg", text);
        EXPECT_NE(failureOf(registry, "pebble"), "");
        EXPECT_EQ(prefix.user(), text);
    }
    writeFileAtomically(prefix.dir / "user.reg", other);
    EXPECT_NE(failureOf(registry, "pebble").find("Konnte Daten für 'Privileges' nicht setzen"),
              std::string::npos);
    WinePrefixRegistry nowhere(prefix.dir / "missing", noServer());
    EXPECT_NE(failureOf(nowhere, "none").find("nicht setzen"), std::string::npos);
}

TEST(GameSettings, WhileAWineServerRunsTheValueGoesThroughWineOrIsRefused) {
    Prefix prefix;
    std::string added;
    WineServerTools withWine{[](const fs::path&) { return true; },
                             [&added](const fs::path&, const std::string& key,
                                      std::string_view name, std::string_view text) {
                                 added = key + " " + std::string(name) + "=" + std::string(text);
                                 return true;
                             }};
    WinePrefixRegistry running(prefix.dir.path(), withWine);
    EXPECT_EQ(failureOf(running, "lintel"), "");
    EXPECT_EQ(added,
              "HKEY_CURRENT_USER\\Software\\Millennium Interactive\\Creatures\\1.0 "
              "Privileges=lintel");
    WinePrefixRegistry withoutWine(prefix.dir.path(), {[](const fs::path&) { return true; }, {}});
    EXPECT_NE(failureOf(withoutWine, "lintel").find("Close the game first"), std::string::npos);
    EXPECT_EQ(prefix.user(), kUserReg);
}

}  // namespace
}  // namespace vek
