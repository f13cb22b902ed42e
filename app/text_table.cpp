#include "app/text_table.h"

#include <charconv>
#include <set>

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
        int tag = 0;
        const auto [stop, error] =
            std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), tag);
        if (fields.size() != 5 || error != std::errc() ||
            stop != fields[0].data() + fields[0].size() || tag <= 0 || tag >= kGermanOffset) {
            throw VekError("A line of the text table is malformed",
                           "Eine Zeile der Texttabelle ist fehlerhaft",
                           ErrorDetail::atLine(static_cast<std::uint64_t>(lineNumber)));
        }
        const int identifiers[4] = {tag, tag + kGermanOffset, tag + kHintOffset,
                                    tag + kHintOffset + kGermanOffset};
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string_view field = fields[i + 1];
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

int languageOffset(std::string_view language) {
    return language == "deutsch" ? TextTable::kGermanOffset : 0;
}

}  // namespace vek
