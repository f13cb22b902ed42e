#include "app/recent_files.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "app/file_io.h"

namespace vek {

namespace {

constexpr std::array<std::string_view, 3> kSections = {"[Sprites]", "[Pictures]", "[Sources]"};

}  // namespace

RecentFiles::RecentFiles(std::filesystem::path file) : m_file(std::move(file)) { read(); }

void RecentFiles::read() {
    std::error_code error;
    if (!std::filesystem::exists(m_file, error)) return;
    try {
        // One section per kind, one file per line, newest first.
        std::vector<std::filesystem::path>* list = nullptr;
        for (const std::string& line : readFileLines(m_file)) {
            const auto section = std::find(kSections.begin(), kSections.end(), line);
            if (section != kSections.end()) {
                list = &m_lists[static_cast<std::size_t>(section - kSections.begin())];
            } else if (list && !line.empty() && list->size() < kMaxFiles) {
                list->push_back(pathFromUtf8(line));
            }
        }
    } catch (const std::exception&) {
        for (auto& list : m_lists) list.clear();
    }
}

void RecentFiles::write() const {
    std::vector<std::string> lines;
    for (std::size_t kind = 0; kind < kSections.size(); ++kind) {
        lines.emplace_back(kSections[kind]);
        for (const auto& file : m_lists[kind]) lines.push_back(pathToUtf8(file));
    }
    try {
        writeFileAtomically(m_file, joinCrLf(lines));
    } catch (const std::exception&) {
        // Only the memory of the files is lost.
    }
}

std::optional<std::filesystem::path> RecentFiles::lastFolder(RecentKind kind) const {
    const auto& list = files(kind);
    if (list.empty()) return std::nullopt;
    std::error_code error;
    std::filesystem::path folder = list.front().parent_path();
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) return std::nullopt;
    return folder;
}

void RecentFiles::add(RecentKind kind, const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error) absolute = file;
    std::vector<std::filesystem::path> updated{absolute};
    for (const auto& known : m_lists[index(kind)]) {
        if (updated.size() < kMaxFiles && known != absolute) updated.push_back(known);
    }
    m_lists[index(kind)] = std::move(updated);
    write();
}

std::filesystem::path recentFilesBeside(const std::filesystem::path& vekIni) {
    return vekIni.parent_path() / "RECENT.INI";
}

}  // namespace vek
