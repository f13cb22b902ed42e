#include "language/source_model.h"

#include <algorithm>
#include <iterator>

#include "app/ansi_text.h"
#include "app/text_names.h"

namespace vek {

std::vector<std::string> splitTextLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c != '\n' && c != '\r') {
            lines.back().push_back(c);
            continue;
        }
        if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        lines.emplace_back();
    }
    return lines;
}

std::vector<Finding> unshowableCharacters(std::string_view line, int lineNumber) {
    std::vector<Finding> found;
    int column = 1;
    for (std::size_t at = 0; at < line.size(); ++column) {
        const std::size_t start = at;
        bool valid = true;
        const char32_t character = nextCodePoint(line, at, valid);
        if (valid && codePage1252Holds(character)) continue;
        const std::string_view written = line.substr(start, std::min(at, line.size()) - start);
        Finding finding;
        finding.position = {lineNumber, column};
        finding.severity = Severity::Error;
        finding.code = FindingCode::UnshowableCharacter;
        finding.subject.assign(written.begin(), written.end());
        finding.text =
            fill(Msg::FindingUnshowableCharacter, {escapeControlCharacters(finding.subject)});
        found.push_back(std::move(finding));
    }
    return found;
}

SourceModel::SourceModel(std::unique_ptr<LinesCheck> check, LineReader reader)
    : m_check(std::move(check)), m_reader(std::move(reader)) {}

void SourceModel::reset(std::string_view text, int version) {
    std::vector<std::string> lines = splitTextLines(text);
    m_unshowable.clear();
    for (std::size_t k = 0; k < lines.size(); ++k)
        m_unshowable.push_back(unshowableCharacters(lines[k], static_cast<int>(k + 1)));
    m_check->reset(std::move(lines));
    m_version = version;
    m_shown.reset();
    gatherFindings();
}

void SourceModel::replace(LinePlace from, LinePlace to, std::string_view text, int version) {
    const std::vector<std::string>& old = lines();
    const auto clamp = [&old](LinePlace place) {
        place.line = std::min(place.line, old.size() - 1);
        place.byte = std::min(place.byte, old[place.line].size());
        return place;
    };
    from = clamp(from);
    to = clamp(to);
    if (to < from) std::swap(from, to);
    std::vector<std::string> inserted = splitTextLines(text);
    inserted.front().insert(0, old[from.line], 0, from.byte);
    inserted.back().append(old[to.line], to.byte);
    const std::size_t removed = to.line - from.line + 1;

    std::vector<std::vector<Finding>> marks;
    for (std::size_t k = 0; k < inserted.size(); ++k)
        marks.push_back(unshowableCharacters(inserted[k], static_cast<int>(from.line + k + 1)));
    const auto first = m_unshowable.begin() + static_cast<std::ptrdiff_t>(from.line);
    const auto next = m_unshowable.erase(first, first + static_cast<std::ptrdiff_t>(removed));
    const auto after = m_unshowable.insert(next, std::make_move_iterator(marks.begin()),
                                           std::make_move_iterator(marks.end())) +
                       static_cast<std::ptrdiff_t>(marks.size());
    // The lines after the edit move; so do their marks.
    const int shift = static_cast<int>(inserted.size()) - static_cast<int>(removed);
    if (shift != 0) {
        for (auto line = after; line != m_unshowable.end(); ++line) {
            for (Finding& finding : *line) finding.position.line += shift;
        }
    }
    m_check->replaceLines(from.line, removed, std::move(inserted));
    m_version = version;
    m_shown.reset();
    gatherFindings();
}

std::string SourceModel::text() const {
    std::string text;
    for (const std::string& line : lines()) {
        if (&line != &lines().front()) text += '\n';
        text += line;
    }
    return text;
}

const std::vector<ShownLine>& SourceModel::shownLines() const {
    if (m_shown) return *m_shown;
    std::vector<ShownLine>& shown = m_shown.emplace();
    shown.reserve(lines().size());
    bool open = false;
    for (const std::string& line : lines()) {
        const LineReading reading = m_reader ? m_reader(line, open) : LineReading{};
        open = reading.openAfter;
        ShownLine& one = shown.emplace_back();
        one.role = reading.role;
        if (reading.role != LineRole::Commands) continue;
        const std::size_t start = std::min(reading.start, line.size());
        one.tokens = tokenizeCommands(std::string_view(line).substr(start));
        const int shift = characterCount(std::string_view(line).substr(0, start));
        for (Token& token : one.tokens) token.start += shift;
    }
    return shown;
}

void SourceModel::gatherFindings() {
    m_findings = m_check->findings();
    for (const std::vector<Finding>& line : m_unshowable)
        m_findings.insert(m_findings.end(), line.begin(), line.end());
    std::stable_sort(m_findings.begin(), m_findings.end(),
                     [](const Finding& a, const Finding& b) { return a.position < b.position; });
}

void WholeLinesCheck::reset(std::vector<std::string> lines) {
    m_lines = std::move(lines);
    m_findings = m_checkLines(m_lines);
}

void WholeLinesCheck::replaceLines(std::size_t first, std::size_t removed,
                                   std::vector<std::string> inserted) {
    first = std::min(first, m_lines.size());
    removed = std::min(removed, m_lines.size() - first);
    const auto at = m_lines.begin() + static_cast<std::ptrdiff_t>(first);
    m_lines.insert(m_lines.erase(at, at + static_cast<std::ptrdiff_t>(removed)),
                   std::make_move_iterator(inserted.begin()),
                   std::make_move_iterator(inserted.end()));
    m_findings = m_checkLines(m_lines);
}

}  // namespace vek
