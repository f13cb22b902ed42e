#include "language/quick_fix.h"

#include <algorithm>
#include <optional>

#include "app/ansi_text.h"
#include "app/text_names.h"
#include "language/reading.h"

namespace vek {

namespace {

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

// What the lines hold at a place: `length` characters from it, if all are there on its line.
std::optional<std::string_view> writtenAt(std::span<const std::string> lines, TextPosition at,
                                          int length) {
    if (at.line < 1 || static_cast<std::size_t>(at.line) > lines.size() || at.column < 1)
        return std::nullopt;
    const std::string_view line = lines[static_cast<std::size_t>(at.line) - 1];
    if (characterCount(line) < at.column - 1 + length) return std::nullopt;
    const std::size_t from = byteOffsetOfCharacter(line, at.column - 1);
    const std::size_t to = byteOffsetOfCharacter(line, at.column - 1 + length);
    return line.substr(from, to - from);
}

// Removes the extra blanks or comma a finding marks, or the blanks of an animation string; only
// where the marked text was written as it stands, not put together by joining lines.
std::optional<QuickFix> separatorFix(const Finding& finding, std::span<const std::string> lines) {
    if (writtenAt(lines, finding.position, finding.length) != finding.subject) return std::nullopt;
    QuickFix fix{{}, finding.position, finding.length, {}};
    switch (finding.code) {
        case FindingCode::TwoBlanks:
            fix.title = textOf(Msg::QuickFixRemoveBlank);
            break;
        case FindingCode::TwoCommas:
            fix.title = textOf(Msg::QuickFixRemoveComma);
            break;
        case FindingCode::BlankAtEnd:
            fix.title = textOf(Msg::QuickFixRemoveBlankAtEnd);
            break;
        default:
            fix.title = textOf(Msg::QuickFixRemoveAnimationBlanks);
            fix.text = finding.subject;
            std::erase_if(fix.text, [](char c) { return c == ' ' || c == '\t'; });
            break;
    }
    return fix;
}

}  // namespace

std::vector<QuickFix> quickFixesFor(const Finding& finding, std::span<const std::string> lines,
                                    const LineReader& reader, const Dictionary& dictionary) {
    std::vector<QuickFix> fixes;
    switch (finding.code) {
        case FindingCode::UnknownCommand:
        case FindingCode::UnknownValue: {
            const bool command = finding.code == FindingCode::UnknownCommand;
            for (const Word* word : nearestWords(finding.subject, command, 3, dictionary)) {
                fixes.push_back({fill(Msg::QuickFixDidYouMean, {quotedToken(word->name)}),
                                 finding.position, finding.length, word->name});
            }
            break;
        }
        case FindingCode::BlockNotClosed: {
            const Word* opener = dictionary.command(lowered(finding.subject));
            const Word* closer = opener ? closerOf(*opener, dictionary) : nullptr;
            if (!closer) break;
            BilingualText title = fill(Msg::QuickFixAddCloser, {quotedToken(closer->name)});
            if (!reader) {
                const int end = lines.empty() ? 1 : characterCount(lines.front()) + 1;
                fixes.push_back({std::move(title), {1, end}, 0, "," + closer->name});
            } else {
                const int before = sectionEnd(lines, reader, finding.position.line);
                fixes.push_back(lineFix(lines, before, closer->name, std::move(title)));
            }
            break;
        }
        case FindingCode::TwoBlanks:
        case FindingCode::TwoCommas:
        case FindingCode::BlankAtEnd:
        case FindingCode::BlankInAnimation:
            if (std::optional<QuickFix> fix = separatorFix(finding, lines))
                fixes.push_back(std::move(*fix));
            break;
        case FindingCode::MissingEndm:
            if (reader) {
                fixes.push_back(
                    lineFix(lines, 0, "endm", fill(Msg::QuickFixAddCloser, {quotedToken("endm")})));
            }
            break;
        default:
            break;
    }
    return fixes;
}

}  // namespace vek
