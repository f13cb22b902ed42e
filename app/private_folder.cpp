#ifndef _WIN32

#include "app/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/text_names.h"
#include "app/user_folders.h"
#include "app/vek_error.h"

namespace vek {

namespace fs = std::filesystem;

namespace {

fs::path fallbackRuntimeDirectory() {
    return fs::temp_directory_path() / ("vekstudio-" + std::to_string(::getuid()));
}

}  // namespace

fs::path runtimeDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
    return fallbackRuntimeDirectory();
}

bool isPrivateDirectory(const fs::path& directory) {
    struct stat info {};
    return ::lstat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 0077) == 0;
}

void checkPrivateDirectory(const fs::path& directory) {
    if (!isPrivateDirectory(directory))
        throw VekError(Msg::ReasonFolderNotPrivate, ErrorDetail::ofFile(directory));
}

void ensurePrivateDirectory(const fs::path& directory) {
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
        const std::string why = std::strerror(errno);
        throw VekError(fill(Msg::CannotCreateFolder, {why}), ErrorDetail::ofFile(directory));
    }
    checkPrivateDirectory(directory);
}

fs::path privateRuntimeDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime && isPrivateDirectory(runtime))
        return runtime;
    // Another user may have taken the shared temporary folder's name first: the user's own data
    // folder is beyond their reach.
    try {
        ensurePrivateDirectory(fallbackRuntimeDirectory());
        return fallbackRuntimeDirectory();
    } catch (const VekError&) {
        std::error_code ignored;
        fs::create_directories(userDataDirectory(), ignored);
        ensurePrivateDirectory(userDataDirectory() / "run");
        return userDataDirectory() / "run";
    }
}

}  // namespace vek

#endif
