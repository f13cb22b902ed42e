#include "app/window_places.h"

#include <array>
#include <charconv>
#include <system_error>
#include <vector>

#include "app/file_io.h"

namespace vek {

namespace {

// A few lines a window; more is not a file of ours.
constexpr std::uint64_t kMaxFileSize = 64 * 1024;

// "x,y,width,height"; nothing unless all four are numbers and the size is not empty.
std::optional<WindowPlace> placeFrom(std::string_view text) {
    std::array<int, 4> numbers{};
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const auto [end, error] =
            std::from_chars(text.data(), text.data() + text.size(), numbers[k]);
        if (error != std::errc()) return std::nullopt;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        const bool last = k + 1 == numbers.size();
        if (last != text.empty()) return std::nullopt;
        if (!last) {
            if (text.front() != ',') return std::nullopt;
            text.remove_prefix(1);
        }
    }
    const WindowPlace place{numbers[0], numbers[1], numbers[2], numbers[3]};
    if (place.width <= 0 || place.height <= 0) return std::nullopt;
    return place;
}

}  // namespace

WindowPlaces::WindowPlaces(std::filesystem::path file) : m_file(std::move(file)) { read(); }

void WindowPlaces::read() {
    std::error_code error;
    if (!std::filesystem::exists(m_file, error)) return;
    try {
        for (const std::string& line : readFileLines(m_file, kMaxFileSize)) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos || equals == 0) continue;
            if (const auto place = placeFrom(std::string_view(line).substr(equals + 1)))
                m_places[line.substr(0, equals)] = *place;
        }
    } catch (const std::exception&) {
        m_places.clear();
    }
}

void WindowPlaces::write() const {
    std::vector<std::string> lines;
    for (const auto& [window, place] : m_places) {
        lines.push_back(window + '=' + std::to_string(place.x) + ',' + std::to_string(place.y) +
                        ',' + std::to_string(place.width) + ',' + std::to_string(place.height));
    }
    try {
        writeFileAtomically(m_file, joinCrLf(lines));
    } catch (const std::exception&) {
        // Only the memory of the places is lost.
    }
}

std::optional<WindowPlace> WindowPlaces::place(std::string_view window) const {
    const auto found = m_places.find(window);
    if (found == m_places.end()) return std::nullopt;
    return found->second;
}

void WindowPlaces::remember(std::string_view window, const WindowPlace& place) {
    // A name that would break its line is not kept.
    if (window.empty() || window.find_first_of("=\r\n") != std::string_view::npos) return;
    if (place.width <= 0 || place.height <= 0) return;
    const auto found = m_places.find(window);
    if (found != m_places.end() && found->second == place) return;
    m_places[std::string(window)] = place;
    write();
}

std::filesystem::path windowPlacesBeside(const std::filesystem::path& vekIni) {
    return vekIni.parent_path() / "WINDOWS.INI";
}

}  // namespace vek
