#include "app/install_layout.h"

#include <system_error>

#include "app/version.h"

#ifdef _WIN32
#include "app/windows_api.h"
#endif

namespace vek {

namespace fs = std::filesystem;

fs::path executableDirectory() {
    std::error_code error;
#ifdef _WIN32
    // The module's own file: a program started from another folder still finds what lies beside it.
    std::wstring self(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (length == 0) return fs::current_path(error);
        if (length < self.size()) return fs::path(self.substr(0, length)).parent_path();
        self.resize(self.size() * 2);
    }
#else
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path(error) : self.parent_path();
#endif
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
