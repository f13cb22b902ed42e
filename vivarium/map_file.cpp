#include "vivarium/map_file.h"

#include <charconv>
#include <vector>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek::vivarium {

namespace {

// The whole numbers of a line after its first word; none when any other text stands there.
std::optional<std::vector<int>> numbersAfterWord(std::string_view line, std::string_view word) {
    if (!line.starts_with(word) || line.size() == word.size() || line[word.size()] != ' ')
        return std::nullopt;
    std::vector<int> numbers;
    std::size_t at = word.size();
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        if (at == line.size()) break;
        int number = 0;
        const auto [end, error] =
            std::from_chars(line.data() + at, line.data() + line.size(), number);
        if (error != std::errc() || (end != line.data() + line.size() && *end != ' '))
            return std::nullopt;
        numbers.push_back(number);
        at = static_cast<std::size_t>(end - line.data());
    }
    return numbers;
}

}  // namespace

Map parseMapText(std::string_view text, const std::filesystem::path& file) {
    Map map;
    const std::vector<std::string_view> lines = splitLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (line.empty() || line.front() == '*') continue;
        const auto room = numbersAfterWord(line, "room");
        const auto ground = numbersAfterWord(line, "ground");
        const ErrorDetail place{pathToUtf8(file), n + 1, {}, {}};
        bool taken = false;
        if (room && room->size() == 6) {
            const std::vector<int>& r = *room;
            taken = map.setRoom({r[0], r[1], r[2], r[3], r[4], r[5]});
        } else if (ground && ground->size() == 2 && (*ground)[0] >= 0) {
            taken = map.setGround((*ground)[0], (*ground)[1]);
        } else {
            throw VekError(fill(Msg::VivariumMapLineMalformed, {std::string(line)}), place);
        }
        if (!taken) {
            throw VekError(
                fill(Msg::VivariumMapLineBeyond, {std::string(line), std::to_string(Map::kMaxRooms),
                                                  std::to_string(Map::kMaxGroundPoints - 1)}),
                place);
        }
    }
    return map;
}

std::string mapFileText(const Map& map) {
    std::string text("* room NUMBER LEFT TOP RIGHT BOTTOM TYPE; ground POINT HEIGHT\n");
    for (const Room& room : map.rooms()) {
        text += "room " + std::to_string(room.number) + " " + std::to_string(room.left) + " " +
                std::to_string(room.top) + " " + std::to_string(room.right) + " " +
                std::to_string(room.bottom) + " " + std::to_string(room.type) + "\n";
    }
    for (int point = 0; point < map.groundPoints(); ++point)
        text +=
            "ground " + std::to_string(point) + " " + std::to_string(map.groundAt(point)) + "\n";
    return text;
}

Map readInstallationMap(const std::filesystem::path& imageDirectory) {
    const std::filesystem::path file = imageDirectory / kMapFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return {};
    return parseMapText(readFileText(file, kMaxMapFileSize), file);
}

}  // namespace vek::vivarium
