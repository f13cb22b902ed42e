#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace vek {

// What a line of macro text is, as the place that shows it reads it.
enum class LineRole {
    Commands,  // commands separated by commas, from `start` on
    Comment,
    Header,  // a line that sets something rather than running commands
    Plain,   // nothing to mark
};

struct LineReading {
    LineRole role = LineRole::Commands;
    std::size_t start = 0;   // bytes before the commands
    bool openAfter = false;  // the line leaves a section open for the next one
};

// Reads one line, given whether a section is open before it.
using LineReader = std::function<LineReading(std::string_view line, bool openBefore)>;

}  // namespace vek
