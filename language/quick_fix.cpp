#include "language/quick_fix.h"

#include <algorithm>
#include <numeric>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "language/reading.h"

namespace vek {

namespace {

// The most letters a suggestion may differ by.
constexpr std::size_t kMostEdits = 2;

// Letters inserted, removed, changed or two neighbours swapped, each one edit.
std::size_t editDistance(std::string_view a, std::string_view b) {
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> before(width), previous(width), row(width);
    std::iota(previous.begin(), previous.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + changed});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, row);
    }
    return previous[b.size()];
}

std::string quoted(std::string_view text) {
    std::string out(1, '"');
    out.append(text).push_back('"');
    return out;
}

// The closer that ends an opener's block and takes no arguments: "endi", "repe", "ever".
const Word* closerOf(const Word& opener, const Dictionary& dictionary) {
    for (const std::string& name : opener.partners) {
        const Word* closer = dictionary.command(name);
        if (closer && closer->arguments.empty()) return closer;
    }
    return nullptr;
}

// Where the section holding `line` (from 1) ends: the line of its endm (from 1), or 0 when the
// text ends first.
int sectionEnd(std::span<const std::string> lines, const LineReader& reader, int line) {
    bool open = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const bool before = open;
        open = reader(lines[index], open).openAfter;
        if (static_cast<int>(index) + 1 >= line && before && !open)
            return static_cast<int>(index) + 1;
    }
    return 0;
}

// Appends a line after the text's last one, or inserts one before line `before` (from 1).
QuickFix lineFix(std::span<const std::string> lines, int before, std::string text,
                 BilingualText title) {
    if (before > 0) return {std::move(title), {before, 1}, 0, text + "\n"};
    const int last = std::max<int>(1, static_cast<int>(lines.size()));
    const int end = lines.empty() ? 1 : characterCount(lines.back()) + 1;
    return {std::move(title), {last, end}, 0, "\n" + text};
}

}  // namespace

std::vector<const Word*> nearestWords(std::string_view written, bool commands, std::size_t most,
                                      const Dictionary& dictionary) {
    const std::string lower = lowered(written);
    std::vector<std::pair<std::size_t, const Word*>> near;
    for (const Word& word : dictionary.words()) {
        if (word.isCommand() != commands || word.laterGeneration) continue;
        const std::size_t distance = editDistance(lower, word.name);
        if (distance > 0 && distance <= kMostEdits && distance < word.name.size())
            near.emplace_back(distance, &word);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const Word*> words;
    for (std::size_t k = 0; k < near.size() && k < most; ++k) words.push_back(near[k].second);
    return words;
}

std::vector<QuickFix> quickFixesFor(const Finding& finding, std::span<const std::string> lines,
                                    const LineReader& reader, const Dictionary& dictionary) {
    std::vector<QuickFix> fixes;
    switch (finding.code) {
        case FindingCode::UnknownCommand:
        case FindingCode::UnknownValue: {
            const bool command = finding.code == FindingCode::UnknownCommand;
            for (const Word* word : nearestWords(finding.subject, command, 3, dictionary)) {
                fixes.push_back({fill(Msg::QuickFixDidYouMean, {quoted(word->name)}),
                                 finding.position, finding.length, word->name});
            }
            break;
        }
        case FindingCode::BlockNotClosed: {
            const Word* opener = dictionary.command(lowered(finding.subject));
            const Word* closer = opener ? closerOf(*opener, dictionary) : nullptr;
            if (!closer) break;
            BilingualText title = fill(Msg::QuickFixAddCloser, {quoted(closer->name)});
            if (!reader) {
                const int end = lines.empty() ? 1 : characterCount(lines.front()) + 1;
                fixes.push_back({std::move(title), {1, end}, 0, "," + closer->name});
            } else {
                const int before = sectionEnd(lines, reader, finding.position.line);
                fixes.push_back(lineFix(lines, before, closer->name, std::move(title)));
            }
            break;
        }
        case FindingCode::MissingEndm:
            if (reader) {
                fixes.push_back(
                    lineFix(lines, 0, "endm", fill(Msg::QuickFixAddCloser, {quoted("endm")})));
            }
            break;
        default:
            break;
    }
    return fixes;
}

}  // namespace vek
