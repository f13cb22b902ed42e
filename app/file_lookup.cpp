#include "app/file_lookup.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "app/file_io.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vek {

namespace fs = std::filesystem;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

namespace {

fs::path childIgnoringCase(const fs::path& directory, std::string_view name) {
    std::error_code error;
    const fs::path exact = directory / fs::path(std::string(name));
    if (fs::exists(exact, error)) return exact;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        if (equalsIgnoringCase(pathToUtf8(entry.path().filename()), name)) return entry.path();
    }
    return exact;
}

}  // namespace

fs::path findIgnoringCase(const fs::path& directory, std::string_view relativeName) {
    fs::path result = directory;
    std::size_t start = 0;
    while (start <= relativeName.size()) {
        std::size_t end = relativeName.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = relativeName.size();
        if (end > start)
            result = childIgnoringCase(result, relativeName.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

#ifndef _WIN32
std::optional<fs::path> findProgramOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return std::nullopt;
    std::string_view rest = path;
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        if (!folder.empty()) {
            const fs::path candidate = fs::path(std::string(folder)) / program;
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        if (colon == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}
#endif

}  // namespace vek
