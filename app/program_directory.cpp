#include "app/program_directory.h"

#include <fstream>
#include <system_error>

namespace vek {

namespace fs = std::filesystem;

namespace {

// The files and folders that belong to the program directory.
constexpr const char* kProgramDirectoryEntries[] = {"vek.wav",   "rpsw.kev",      "classes.vek",
                                                    "objed.dta", "chemicals.txt", "landscape.bmp",
                                                    "mac",       "help"};

}  // namespace

bool isWritableDirectory(const fs::path& directory) {
    std::error_code error;
    if (!fs::is_directory(directory, error)) return false;
    const fs::path probe = directory / ".vek-write-probe";
    const bool writable = static_cast<bool>(std::ofstream(probe));
    fs::remove(probe, error);
    return writable;
}

fs::path resolveProgramDirectory(const fs::path& executableDirectory,
                                 const fs::path& userDataDirectory) {
    if (isWritableDirectory(executableDirectory)) return executableDirectory;
    std::error_code error;
    fs::create_directories(userDataDirectory, error);
    // Seed it once; files the user changed there are never overwritten.
    for (const char* entry : kProgramDirectoryEntries) {
        if (!fs::exists(executableDirectory / entry, error)) continue;
        fs::copy(executableDirectory / entry, userDataDirectory / entry,
                 fs::copy_options::recursive | fs::copy_options::skip_existing, error);
    }
    return userDataDirectory;
}

}  // namespace vek
