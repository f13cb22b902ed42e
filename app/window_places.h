#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vek {

// Where a window was and how large, in screen pixels.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowPlace&) const = default;
};

// The place each window had when it was last hidden, by its object name, kept in a file of
// their own beside VEK.INI. Read once, written whole after each change; a file that cannot be
// read counts as empty and a failed write loses only the memory.
class WindowPlaces {
  public:
    explicit WindowPlaces(std::filesystem::path file);

    std::optional<WindowPlace> place(std::string_view window) const;
    void remember(std::string_view window, const WindowPlace& place);

  private:
    void read();
    void write() const;

    std::filesystem::path m_file;
    std::map<std::string, WindowPlace, std::less<>> m_places;
};

// WINDOWS.INI in the folder of VEK.INI.
std::filesystem::path windowPlacesBeside(const std::filesystem::path& vekIni);

}  // namespace vek
