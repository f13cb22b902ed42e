#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "cli/cli.h"
#include "support/temp_dir.h"

namespace vek::testing {

struct VekRun {
    int status;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Runs the built command-line tool as a user would, with its output streams caught in files
// and, where given, standard input read from `input`.
inline VekRun runVekTool(const std::vector<std::string>& args, const std::string& environment = {},
                         const std::filesystem::path& input = {}) {
    const TempDir streams;
    std::string command = environment;
    command.append(" ").append(shellQuoted(std::string(VEK_BINARY_DIR) + "/vek"));
    for (const auto& arg : args) command.append(" ").append(shellQuoted(arg));
    command.append(" >").append(shellQuoted(pathToUtf8(streams / "out")));
    command.append(" 2>").append(shellQuoted(pathToUtf8(streams / "err")));
    if (!input.empty()) command.append(" <").append(shellQuoted(pathToUtf8(input)));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFileText(streams / "out"),
            readFileText(streams / "err")};
}

// Runs the command line in this process, its output streams caught.
inline VekRun runVekHere(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runVek(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace vek::testing
