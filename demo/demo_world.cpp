#include <cstdint>
#include <span>
#include <string>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "demo/demo_contributors.h"
#include "world/world_files.h"

namespace vek::demo {

namespace fs = std::filesystem;

namespace {

// A world file of our own: a recognisable header and a few kilobytes of pattern.
std::string demoWorld(std::string_view name) {
    std::string bytes = "VEKSTUDIO DEMO WORLD " + std::string(name) + "\r\n";
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7 + name.size()) & 0xFF);
    return bytes;
}

// Registry values as Wine writes them: backslashes doubled.
std::string regText(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '\\' || c == '"') result += '\\';
        result += c;
    }
    return result;
}

std::string regSection(std::string_view key, const std::vector<std::string>& values) {
    std::string section(1, '[');
    section.append(regText(key)).append("] 1700000000\n#time=1da0000000000000\n");
    for (const std::string& value : values) section.append(value).append(1, '\n');
    return section.append(1, '\n');
}

std::string regValue(std::string_view name, std::string_view text) {
    std::string value(1, '"');
    value.append(regText(name)).append("\"=\"").append(regText(text)).append(1, '"');
    return value;
}

std::string systemReg() {
    constexpr std::string_view kFolders[] = {"",        "Body data\\", "Genetics\\", "Images\\",
                                             "",        "Macros\\",    "Palettes\\", "Programs\\",
                                             "Sounds\\"};
    std::vector<std::string> gameValues;
    for (std::size_t i = 0; i < kGamePathValueNames.size(); ++i)
        gameValues.push_back(
            regValue(kGamePathValueNames[i], "C:\\Creatures\\" + std::string(kFolders[i])));
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n" +
           regSection("Software\\Microsoft\\Windows NT\\CurrentVersion",
                      {regValue("RegisteredOrganization", "Vekstudio demo"),
                       regValue("RegisteredOwner", "Demo")}) +
           regSection("Software\\Millennium Interactive\\Creatures\\1.0", gameValues) +
           regSection("Software\\Millennium Interactive\\Creatures\\Hatchery\\0.1",
                      {"\"Eggs\"=dword:00000006"});
}

std::string userReg() {
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
           "#arch=win32\n\n" +
           regSection("Software\\Millennium Interactive\\Creatures\\1.0",
                      {regValue("Privileges", "none")});
}

#ifndef _WIN32
void linkDrive(const DemoLayout& layout, std::string_view drive, const fs::path& target) {
    const fs::path link = layout.winePrefix() / "dosdevices" / std::string(drive);
    std::error_code ignored;
    fs::remove(link, ignored);
    fs::create_directory_symlink(target, link);
}
#endif

}  // namespace

void writeDemoWorld(const DemoLayout& layout) {
    const GamePaths paths = gamePathsUnder(layout.gameDirectory());
    const fs::path main = pathFromUtf8(paths.CMainPath);
    const std::string world = demoWorld("world");
    // A world played in an earlier demo is kept as its backup, as a reset keeps it.
    fs::create_directories(main);
    backUpWorld(main, std::span(reinterpret_cast<const std::uint8_t*>(world.data()), world.size()));
    writeFileAtomically(main / "world.sfc", world);
    writeFileAtomically(main / "eden.sfc", demoWorld("eden"));

    fs::create_directories(layout.winePrefix() / "dosdevices");
    fs::create_directories(layout.floppy());
    writeFileAtomically(layout.winePrefix() / "system.reg", systemReg());
    writeFileAtomically(layout.winePrefix() / "user.reg", userReg());
#ifndef _WIN32
    // Relative links, so that a moved demo folder stays whole. Windows has no Wine to read them
    // (and lets few users make links): there the game is found through the registry.
    linkDrive(layout, "c:", "../..");
    linkDrive(layout, "a:", "../../floppy");
#endif
}

}  // namespace vek::demo
