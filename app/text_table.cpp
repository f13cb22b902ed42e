#include "app/text_table.h"

#include <charconv>
#include <set>

#include "app/text_names.h"
#include "app/vek_error.h"

namespace vek {

extern const std::string_view kTextTableData;

namespace {

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// A name the build can turn into a C++ constant.
bool isIdentifier(std::string_view name) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !letter(name.front())) return false;
    for (char c : name) {
        if (!letter(c) && !digit(c)) return false;
    }
    return true;
}

// A message's text as the program shows it: the table writes line breaks and blanks that an
// editor would trim as escapes.
std::string unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char next = i + 1 < field.size() ? field[i + 1] : '\0';
        if (field[i] == '\\' && (next == 'n' || next == 's' || next == '\\')) {
            out += next == 'n' ? '\n' : next == 's' ? ' ' : '\\';
            ++i;
        } else {
            out += field[i];
        }
    }
    return out;
}

VekError malformedLine(int lineNumber) {
    return VekError(Msg::TextTableLineMalformed,
                    ErrorDetail::atLine(static_cast<std::uint64_t>(lineNumber)));
}

}  // namespace

const TextTable& TextTable::builtIn() {
    static const TextTable table = decode(kTextTableData);
    return table;
}

TextTable TextTable::decode(std::string_view text) {
    TextTable table;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const auto fields = splitTabs(line);
        if (fields[0] == "msg") {
            if (fields.size() != 4 || !isIdentifier(fields[1]) || fields[2].empty() ||
                fields[3].empty() ||
                !table.m_messages
                     .emplace(fields[1], BilingualText{unescape(fields[2]), unescape(fields[3])})
                     .second) {
                throw malformedLine(lineNumber);
            }
            continue;
        }
        int tag = 0;
        const auto [stop, error] =
            std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), tag);
        if (fields.size() != 6 || error != std::errc() ||
            stop != fields[0].data() + fields[0].size() || tag <= 0 || tag >= kGermanOffset ||
            !isIdentifier(fields[1]) || !table.m_tags.emplace(fields[1], tag).second) {
            throw malformedLine(lineNumber);
        }
        const int identifiers[4] = {tag, tag + kGermanOffset, tag + kHintOffset,
                                    tag + kHintOffset + kGermanOffset};
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string_view field = fields[i + 2];
            if (field.empty()) continue;
            table.m_texts[identifiers[i]] = std::string(field);
        }
    }
    return table;
}

std::string TextTable::text(int identifier) const {
    const auto found = m_texts.find(identifier);
    return found == m_texts.end() ? std::string() : found->second;
}

std::vector<int> TextTable::tags() const {
    std::set<int> tags;
    for (const auto& [identifier, text] : m_texts) tags.insert(identifier % kGermanOffset);
    return {tags.begin(), tags.end()};
}

int TextTable::tagNamed(std::string_view name) const {
    const auto found = m_tags.find(name);
    return found == m_tags.end() ? 0 : found->second;
}

std::vector<std::string> TextTable::messageNames() const {
    std::vector<std::string> names;
    for (const auto& [name, texts] : m_messages) names.push_back(name);
    return names;
}

const BilingualText* TextTable::message(std::string_view name) const {
    const auto found = m_messages.find(name);
    return found == m_messages.end() ? nullptr : &found->second;
}

int languageOffset(std::string_view language) {
    return language == "deutsch" ? TextTable::kGermanOffset : 0;
}

}  // namespace vek
