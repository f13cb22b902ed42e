#include "language/source_model.h"

#include <algorithm>
#include <iterator>

#include "app/ansi_text.h"
#include "app/text_names.h"

namespace vek {

namespace {

// Puts `inserted` in place of `removed` items from `first`, overwriting where it can, so that an
// edit of one line of a long text moves none of the items after it.
template <typename Item>
void splice(std::vector<Item>& items, std::size_t first, std::size_t removed,
            std::vector<Item> inserted) {
    const std::size_t kept = std::min(removed, inserted.size());
    const auto at = items.begin() + static_cast<std::ptrdiff_t>(first);
    std::move(inserted.begin(), inserted.begin() + static_cast<std::ptrdiff_t>(kept), at);
    const auto rest = at + static_cast<std::ptrdiff_t>(kept);
    if (removed > kept) {
        items.erase(rest, rest + static_cast<std::ptrdiff_t>(removed - kept));
    } else {
        items.insert(rest,
                     std::make_move_iterator(inserted.begin() + static_cast<std::ptrdiff_t>(kept)),
                     std::make_move_iterator(inserted.end()));
    }
}

}  // namespace

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
    reset(splitTextLines(text), version);
}

void SourceModel::reset(std::vector<std::string> lines, int version) {
    if (lines.empty()) lines.emplace_back();
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
    replaceLines(from.line, to.line - from.line + 1, std::move(inserted), version);
}

void SourceModel::replaceLines(std::size_t first, std::size_t removed,
                               std::vector<std::string> inserted, int version) {
    first = std::min(first, lines().size());
    removed = std::min(removed, lines().size() - first);
    // The text keeps at least one line.
    if (inserted.empty() && removed == lines().size()) inserted.emplace_back();

    std::vector<std::vector<Finding>> marks;
    for (std::size_t k = 0; k < inserted.size(); ++k)
        marks.push_back(unshowableCharacters(inserted[k], static_cast<int>(first + k + 1)));
    const std::size_t markCount = marks.size();
    splice(m_unshowable, first, removed, std::move(marks));
    const auto after = m_unshowable.begin() + static_cast<std::ptrdiff_t>(first + markCount);
    // The lines after the edit move; so do their marks.
    const int shift = static_cast<int>(inserted.size()) - static_cast<int>(removed);
    if (shift != 0) {
        for (auto line = after; line != m_unshowable.end(); ++line) {
            for (Finding& finding : *line) finding.position.line += shift;
        }
    }
    const std::size_t insertedCount = inserted.size();
    m_check->replaceLines(first, removed, std::move(inserted));
    m_version = version;
    if (m_shown) showAgain(first, removed, insertedCount);
    gatherFindings();
}

void SourceModel::takeCheckFindings() { gatherFindings(); }

std::string SourceModel::text() const {
    std::string text;
    for (const std::string& line : lines()) {
        if (&line != &lines().front()) text += '\n';
        text += line;
    }
    return text;
}

namespace {

ShownLine shownLineOf(const std::string& line, bool openBefore, const LineReader& reader) {
    const LineReading reading = reader ? reader(line, openBefore) : LineReading{};
    ShownLine shown;
    shown.role = reading.role;
    shown.openAfter = reading.openAfter;
    if (reading.role != LineRole::Commands) return shown;
    const std::size_t start = std::min(reading.start, line.size());
    shown.tokens = tokenizeCommands(std::string_view(line).substr(start));
    const int shift = characterCount(std::string_view(line).substr(0, start));
    for (Token& token : shown.tokens) token.start += shift;
    return shown;
}

}  // namespace

const std::vector<ShownLine>& SourceModel::shownLines() const {
    if (m_shown) return *m_shown;
    std::vector<ShownLine>& shown = m_shown.emplace();
    shown.reserve(lines().size());
    bool open = false;
    for (const std::string& line : lines()) {
        shown.push_back(shownLineOf(line, open, m_reader));
        open = shown.back().openAfter;
    }
    return shown;
}

void SourceModel::showAgain(std::size_t first, std::size_t removed, std::size_t inserted) const {
    std::vector<ShownLine>& shown = *m_shown;
    const auto openAfter = [&shown](std::size_t line) {
        return line > 0 && shown[line - 1].openAfter;
    };
    // Whether a section was open before the first line after the edit, as the text stood.
    const bool wasOpenAfterEdit = openAfter(first + removed);
    splice(shown, first, removed, std::vector<ShownLine>(inserted));
    std::size_t line = first;
    for (; line < first + inserted; ++line)
        shown[line] = shownLineOf(lines()[line], openAfter(line), m_reader);
    // The lines after it read again as long as the edit changed whether they start in a section.
    bool wasOpen = wasOpenAfterEdit;
    for (; line < shown.size() && openAfter(line) != wasOpen; ++line) {
        wasOpen = shown[line].openAfter;
        shown[line] = shownLineOf(lines()[line], openAfter(line), m_reader);
    }
}

std::span<const Finding> SourceModel::findingsOn(int line) const {
    // The findings are in text order.
    const auto from = std::lower_bound(
        m_findings.begin(), m_findings.end(), line,
        [](const Finding& finding, int wanted) { return finding.position.line < wanted; });
    const auto to = std::upper_bound(
        from, m_findings.end(), line,
        [](int wanted, const Finding& finding) { return wanted < finding.position.line; });
    return {from, to};
}

const Finding* SourceModel::findingAt(int line, int column) const {
    const Finding* found = nullptr;
    for (const Finding& finding : findingsOn(line)) {
        const int first = finding.position.column;
        if (column < first || column >= first + std::max(finding.length, 1)) continue;
        if (!found || (finding.isError() && !found->isError())) found = &finding;
    }
    return found;
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
