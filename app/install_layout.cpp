#include "app/install_layout.h"

#include <system_error>

#include "app/version.h"

namespace vek {

namespace fs = std::filesystem;

fs::path executableDirectory() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path(error) : self.parent_path();
}

fs::path installedDataDirectory(const fs::path& executableDirectory) {
    std::error_code error;
    // A build tree lays the help out beside the programs.
    if (fs::exists(executableDirectory / "help" / "index.html", error)) return executableDirectory;
    const fs::path shared = (executableDirectory / kDataDirectoryFromPrograms).lexically_normal();
    if (fs::is_directory(shared, error)) return shared;
    return executableDirectory;
}

}  // namespace vek
