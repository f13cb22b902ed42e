#pragma once

#include <filesystem>

namespace vek::demo {

// A synthetic game installation and program directory under one root folder, so the program
// can be tried without the game.
struct DemoLayout {
    std::filesystem::path root;

    std::filesystem::path gameDirectory() const { return root / "Creatures"; }
    std::filesystem::path programDirectory() const { return root / "Vekstudio"; }
    // A folder shaped like the game's Wine prefix: its registry files and drives C: and A:.
    std::filesystem::path winePrefix() const { return root / "wineprefix"; }
    std::filesystem::path floppy() const { return root / "floppy"; }
};

// Writes the whole demo installation (over an older one).
void generateDemoInstallation(const DemoLayout& layout);

// Generates the demo unless one made by this generator is already there.
void ensureDemoInstallation(const DemoLayout& layout);

// The default place: a folder of the user's data directory.
std::filesystem::path defaultDemoRoot();

}  // namespace vek::demo
