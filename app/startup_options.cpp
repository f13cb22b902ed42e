#include "app/startup_options.h"

#include "app/file_io.h"

namespace vek {

bool isDebugCommandLine(std::string_view commandLine) { return commandLine.ends_with("debug"); }

std::string joinCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += argument;
    }
    return line;
}

StartupOptions parseStartupOptions(const std::vector<std::string>& arguments) {
    StartupOptions options;
    options.debugMode = isDebugCommandLine(joinCommandLine(arguments));
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--demo") {
            options.demo = true;
        } else if (argument == "--demo-dir" && hasValue) {
            options.demo = true;
            options.demoRoot = pathFromUtf8(arguments[++i]);
        } else if (argument == "--game-dir" && hasValue) {
            options.gameDir = pathFromUtf8(arguments[++i]);
        } else if (argument == "--wine-prefix" && hasValue) {
            options.winePrefix = pathFromUtf8(arguments[++i]);
        } else if (argument == "--floppy" && hasValue) {
            options.floppy = pathFromUtf8(arguments[++i]);
        } else if (argument == "--ini" && hasValue) {
            options.vekIni = pathFromUtf8(arguments[++i]);
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--vivarium") {
            options.vivarium = true;
        } else if (argument.starts_with("--")) {
            options.unknown.push_back(argument);
        } else if (argument.starts_with("-")) {
            // A short option of another program's making: not ours to judge, ignored.
        } else if (!(argument == "debug" && i + 1 == arguments.size())) {
            // A last "debug" selects debug mode (the line's end decides); other words are files.
            options.files.push_back(pathFromUtf8(argument));
        }
    }
    return options;
}

}  // namespace vek
