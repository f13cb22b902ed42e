#include <iostream>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
    // The same bytes on every platform: no line-end translation of what the tool prints.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const int status =
        vek::cli::runVek(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    return vek::cli::closeStandardOutput(status, std::cerr);
}
