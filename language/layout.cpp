#include "language/layout.h"

#include <algorithm>

#include "language/reading.h"

namespace vek {

namespace {

// The most tabs a line gets, as the discompiler writes them.
constexpr std::size_t kMaxTabs = 100;

constexpr std::string_view kBlanks = " \t";

std::string_view withoutCarriageReturn(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

SourceLayout::SourceLayout(LineReader reader, const Dictionary& dictionary)
    : m_reader(std::move(reader)), m_dictionary(dictionary) {}

std::size_t SourceLayout::next(std::string_view line) {
    line = withoutCarriageReturn(line);
    const LineReading reading = m_reader(line, m_open);
    const bool openBefore = m_open;
    m_open = reading.openAfter;
    if (reading.role != LineRole::Commands) return openBefore && reading.openAfter ? m_depth : 0;
    if (!openBefore) m_depth = 0;      // a section starts at the margin; its lines are one tab in
    if (!reading.openAfter) return 0;  // endm
    std::size_t tabs = m_depth;
    bool first = true;
    MacroReader commands(line.substr(std::min(reading.start, line.size())), m_dictionary);
    while (const CommandReading* command = commands.next()) {
        const Word* word = command->word;
        const BlockRole role = word ? word->block : BlockRole::None;
        if (role == BlockRole::Closes && m_depth > 1) --m_depth;
        if (first && (role == BlockRole::Closes || role == BlockRole::Within))
            tabs = std::max<std::size_t>(m_depth, 1) - (role == BlockRole::Within ? 1 : 0);
        if (role == BlockRole::Opens || (!openBefore && first)) ++m_depth;  // once for scrp
        first = false;
    }
    if (!openBefore) return 0;
    return std::max<std::size_t>(tabs, 1);
}

std::vector<LineSpan> blockSpansOf(std::span<const std::string> lines, const LineReader& reader,
                                   const Dictionary& dictionary) {
    struct Open {
        std::size_t line;
        std::size_t depth;  // inside it
    };
    std::vector<Open> open;
    std::vector<LineSpan> spans;
    SourceLayout layout(reader, dictionary);
    const auto close = [&](std::size_t last) {
        if (last > open.back().line) spans.push_back({open.back().line, last});
        open.pop_back();
    };
    for (std::size_t k = 0; k < lines.size(); ++k) {
        layout.next(lines[k]);
        const std::size_t depth = layout.depth();
        while (!open.empty() && open.back().depth > depth) close(k);
        if (depth > (open.empty() ? 0 : open.back().depth)) open.push_back({k, depth});
    }
    while (!open.empty()) close(lines.size() - 1);
    return spans;
}

std::string indentedLine(std::string_view line, std::size_t tabs) {
    if (line.starts_with('*')) return std::string(line);
    const std::size_t start = std::min(line.find_first_not_of(kBlanks), line.size());
    const std::string_view text = line.substr(start);
    if (start > 0 && text.starts_with('*')) tabs = std::max<std::size_t>(tabs, 1);
    if (withoutCarriageReturn(text).empty()) tabs = 0;
    std::string out(std::min(tabs, kMaxTabs), '\t');
    out += text;
    return out;
}

std::vector<std::string> formatSourceLines(std::span<const std::string> lines,
                                           const LineReader& reader, const Dictionary& dictionary) {
    SourceLayout layout(reader, dictionary);
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) out.push_back(indentedLine(line, layout.next(line)));
    return out;
}

std::string formatSourceText(std::string_view text, const LineReader& reader,
                             const Dictionary& dictionary) {
    SourceLayout layout(reader, dictionary);
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        out += indentedLine(line, layout.next(line));
        if (end == std::string_view::npos) break;
        out += '\n';
        text.remove_prefix(end + 1);
    }
    return out;
}

std::vector<std::string> toggledComment(std::span<const std::string> lines, std::size_t first,
                                        std::size_t last) {
    std::vector<std::string> toggled(lines.begin(), lines.end());
    if (toggled.empty()) return toggled;
    last = std::min(last, toggled.size() - 1);
    if (first > last) return toggled;
    const auto chosen = std::span(toggled).subspan(first, last - first + 1);
    const bool allComments = std::all_of(chosen.begin(), chosen.end(), [](const std::string& line) {
        return line.empty() || line.front() == '*';
    });
    for (std::string& line : chosen) {
        if (allComments && !line.empty()) {
            line.erase(0, 1);
        } else if (!allComments && !line.empty() && line.front() != '*') {
            line.insert(0, 1, '*');
        }
    }
    return toggled;
}

}  // namespace vek
