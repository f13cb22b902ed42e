#include "utilities/sound_directory.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/file_io.h"

namespace vek {

namespace fs = std::filesystem;

std::vector<std::string> soundDirectoryFiles(const std::string& soundPath) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(pathFromUtf8(soundPath), error)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored)) names.push_back(pathToUtf8(entry.path().filename()));
    }
    auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::sort(names.begin(), names.end(), [&lower](const std::string& a, const std::string& b) {
        const std::string la = lower(a);
        const std::string lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::string soundNameOf(std::string_view fileName) { return std::string(fileName.substr(0, 4)); }

}  // namespace vek
