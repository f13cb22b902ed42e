#include <gtest/gtest.h>

#include "app/vek_error.h"
#include "app/wine_registry.h"

namespace vek {
namespace {

// A user.reg as Wine writes it: other keys, escaped strings, binary values over several lines.
constexpr std::string_view kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-1-2-3-1000\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Control Panel\\\\Desktop] 1700000000\n"
    "#time=1da0c0ffee000000\n"
    "\"Wallpaper\"=\"C:\\\\windows\\\\a \\\"quoted\\\" name.bmp\"\n"
    "\"UserPreferencesMask\"=hex:10,00,02,80,\\\n"
    "  00,00,00,00\n"
    "\n"
    "[Software\\\\Millennium Interactive\\\\Creatures\\\\1.0] 1700000001\n"
    "#time=1da0c0ffee000001\n"
    "\"Blob\"=hex(2):25,00,\\\n"
    "  00,00\n"
    "\"Privileges\"=\"none\"\n"
    "@=\"default\"\n"
    "\n"
    "[Software\\\\Wine\\\\Fonts] 1700000002\n"
    "\"LogPixels\"=dword:00000060\n";

std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string result(text);
    result.replace(result.find(from), from.size(), to);
    return result;
}

TEST(WineRegistry, ReadsSectionsWithEscapedStringsAndBinaryValues) {
    const WineRegistryText registry = parseWineRegistry(kUserReg);
    EXPECT_TRUE(registry.hasHeader);
    EXPECT_FALSE(registry.badLine);
    EXPECT_FALSE(registry.truncated);
    ASSERT_EQ(registry.sections.size(), 3u);
    const WineRegistrySection* desktop =
        findWineRegistrySection(registry, "control panel\\desktop");
    ASSERT_NE(desktop, nullptr);
    ASSERT_EQ(desktop->values.size(), 2u);
    EXPECT_EQ(desktop->values[0].text, "C:\\windows\\a \"quoted\" name.bmp");
    EXPECT_FALSE(desktop->values[1].text.has_value());
}

TEST(WineRegistry, SettingAStringChangesOneLineAndKeepsEveryOtherByte) {
    const std::string_view key = "Software\\Millennium Interactive\\Creatures\\1.0";
    EXPECT_EQ(setWineRegistryString(kUserReg, key, "PRIVILEGES", "tundra"),
              replaced(kUserReg, "\"Privileges\"=\"none\"", "\"Privileges\"=\"tundra\""));
    // A value not there yet is added as the section's last line.
    EXPECT_EQ(setWineRegistryString(kUserReg, key, "Eggstra", "kkkkkk"),
              replaced(kUserReg, "@=\"default\"\n", "@=\"default\"\n\"Eggstra\"=\"kkkkkk\"\n"));
    // A binary value given a text loses its continuation line too.
    EXPECT_EQ(setWineRegistryString(kUserReg, key, "Blob", "a\\b"),
              replaced(kUserReg, "\"Blob\"=hex(2):25,00,\\\n  00,00\n", "\"Blob\"=\"a\\\\b\"\n"));
    EXPECT_FALSE(setWineRegistryString(kUserReg, "Software\\Other", "Privileges", "x"));
}

TEST(WineRegistry, AFileWithWindowsLineBreaksKeepsThem) {
    const std::string text =
        "WINE REGISTRY Version 2\r\n\r\n[Software\\\\Key] 1\r\n\"a\"=\"1\"\r\n";
    EXPECT_EQ(setWineRegistryString(text, "Software\\Key", "b", "2"), text + "\"b\"=\"2\"\r\n");
}

TEST(WineRegistry, RefusesToChangeATextThatIsNotAWholeRegistryFile) {
    const std::string_view key = "Software\\Millennium Interactive\\Creatures\\1.0";
    const std::string whole(kUserReg);
    const struct {
        std::string text;
        std::string_view message;
    } cases[] = {
        {whole.substr(whole.find('\n') + 1), "This is not a Wine registry file"},
        {replaced(whole, "[Software\\\\Wine\\\\Fonts] 1700000002", "[Software\\\\Wine"),
         "The registry file is damaged"},
        {replaced(whole, "\"Privileges\"=\"none\"", "Privileges=none"),
         "The registry file is damaged"},
        {whole.substr(0, whole.find("  00,00\n\"Priv")), "The registry file ends too early"},
        {whole.substr(0, whole.find("none\"") + 3), "The registry file ends too early"},
    };
    for (const auto& bad : cases) {
        try {
            setWineRegistryString(bad.text, key, "Privileges", "tundra");
            ADD_FAILURE() << "accepted: " << bad.text;
        } catch (const VekError& error) {
            EXPECT_EQ(error.text(kLanguageEnglish), bad.message);
        }
    }
}

TEST(WineRegistry, RefusesANameOrValueWithALineBreak) {
    const std::string_view key = "Software\\Millennium Interactive\\Creatures\\1.0";
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Privileges", "C:\\a\nb"}, {"Privileges", "a\r"}, {"New\nName", "x"}, {"\rName", "x"}};
    for (const auto& [name, value] : cases) {
        try {
            setWineRegistryString(kUserReg, key, name, value);
            ADD_FAILURE() << "accepted: " << name << "=" << value;
        } catch (const VekError& error) {
            EXPECT_EQ(error.text(kLanguageEnglish), "A registry string cannot hold a line break");
        }
    }
}

}  // namespace
}  // namespace vek
