#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vek {

// The kinds of files the program remembers separately.
enum class RecentKind { Sprites, Pictures, Sources };

// The files last used of each kind, newest first, and the folder of the newest, kept in a file of
// their own beside VEK.INI (which keeps only its two settings). The file is read once and
// written whole after each change; a file that cannot be read counts as empty, and a failed
// write only loses the memory, never the user's work.
class RecentFiles {
  public:
    static constexpr std::size_t kMaxFiles = 8;

    explicit RecentFiles(std::filesystem::path file);

    const std::filesystem::path& file() const { return m_file; }
    const std::vector<std::filesystem::path>& files(RecentKind kind) const {
        return m_lists[index(kind)];
    }
    // The folder of the file last used of this kind, while it exists.
    std::optional<std::filesystem::path> lastFolder(RecentKind kind) const;

    // The file goes to the front of its list (once), the ninth goes.
    void add(RecentKind kind, const std::filesystem::path& file);

  private:
    static std::size_t index(RecentKind kind) { return static_cast<std::size_t>(kind); }
    void read();
    void write() const;

    std::filesystem::path m_file;
    std::array<std::vector<std::filesystem::path>, 3> m_lists;
};

// RECENT.INI in the folder of VEK.INI.
std::filesystem::path recentFilesBeside(const std::filesystem::path& vekIni);

}  // namespace vek
