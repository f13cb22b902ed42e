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
    vek::cli::StandardOutputBuffer output;
    std::streambuf* const previous = std::cout.rdbuf(&output);
    const int status =
        vek::cli::runVek(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    const int exitStatus = vek::cli::closeStandardOutput(status, output, std::cerr);
    std::cout.rdbuf(previous);  // the buffer ends before the stream does
    return exitStatus;
}
