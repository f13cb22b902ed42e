#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vek {

// What Vekstudio's command line asks for.
struct StartupOptions {
    bool debugMode = false;
    bool demo = false;                                // --demo: start on the demo installation
    std::optional<std::filesystem::path> demoRoot;    // --demo-dir DIR (implies --demo)
    std::optional<std::filesystem::path> gameDir;     // --game-dir DIR
    std::optional<std::filesystem::path> winePrefix;  // --wine-prefix DIR
    std::optional<std::filesystem::path> floppy;      // --floppy DIR: drive A:
    std::optional<std::filesystem::path> vekIni;      // --ini FILE: another VEK.INI
    std::vector<std::filesystem::path> files;         // files to open, as given
    bool help = false;                                // --help, -h
    bool version = false;                             // --version
    bool vivarium = false;                            // --vivarium: open the Vivarium window
    std::vector<std::string> unknown;                 // --options not understood
};

// Debug mode: the command line as the system gives it ends, case-sensitively, in "debug".
bool isDebugCommandLine(std::string_view commandLine);

// The command line as one text, the program name first, arguments separated by blanks.
std::string joinCommandLine(const std::vector<std::string>& arguments);

// `arguments` includes the program name.
StartupOptions parseStartupOptions(const std::vector<std::string>& arguments);

}  // namespace vek
