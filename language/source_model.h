#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language/checker.h"
#include "language/line_reading.h"
#include "language/macro_text.h"
#include "language/reading.h"

namespace vek {

// A place between two bytes of a text held as lines: the line (from 0) and the byte in it.
struct LinePlace {
    std::size_t line = 0;
    std::size_t byte = 0;
    auto operator<=>(const LinePlace&) const = default;
};

// How a line shows: what its reader makes of it and, on a line of commands, its tokens (columns
// counted in characters from the line's start).
struct ShownLine {
    LineRole role = LineRole::Plain;
    std::vector<Token> tokens;
    bool openAfter = false;  // a section is still open after the line
};

// The text's lines split at LF, CR LF or a lone CR, without the breaks; at least one line.
std::vector<std::string> splitTextLines(std::string_view text);

// One version of a text of macros, read once for everything an editor shows of it: its lines, how
// each line reads, and the findings of its check, kept current edit by edit.
class SourceModel {
  public:
    // `check` follows the edits (a source's check re-reads only the sections an edit touches);
    // `reader` says how each line reads.
    SourceModel(std::unique_ptr<LinesCheck> check, LineReader reader);

    void reset(std::string_view text, int version);
    void reset(std::vector<std::string> lines, int version);
    // Replaces the text from `from` to `to` (clamped to the text) by `text`.
    void replace(LinePlace from, LinePlace to, std::string_view text, int version);
    // Replaces `removed` whole lines from line `first` (from 0) by `inserted`.
    void replaceLines(std::size_t first, std::size_t removed, std::vector<std::string> inserted,
                      int version);
    // Takes the check's findings again, after its owner checked again without an edit.
    void takeCheckFindings();

    int version() const { return m_version; }
    const std::vector<std::string>& lines() const { return m_check->lines(); }
    const LineReader& reader() const { return m_reader; }
    // The lines joined by LF.
    std::string text() const;
    // How each line shows, read when first asked for; an edit reads again only the lines it
    // replaced and those whose section it opened or closed.
    const std::vector<ShownLine>& shownLines() const;
    // The check's findings and every character the game cannot show, in text order.
    const std::vector<Finding>& findings() const { return m_findings; }
    // The findings on a line (from 1).
    std::span<const Finding> findingsOn(int line) const;
    // The finding at a line and column (both from 1), or null; an error before a warning.
    const Finding* findingAt(int line, int column) const;

  private:
    void gatherFindings();
    void showAgain(std::size_t first, std::size_t removed, std::size_t inserted) const;

    std::unique_ptr<LinesCheck> m_check;
    LineReader m_reader;
    int m_version = 0;
    std::vector<std::vector<Finding>> m_unshowable;  // by line
    std::vector<Finding> m_findings;
    mutable std::optional<std::vector<ShownLine>> m_shown;  // of this version, once asked for
};

// The characters of a line (from 1) that code page 1252 lacks, so that the game would show "?"
// for them, and bytes that are no UTF-8 character.
std::vector<Finding> unshowableCharacters(std::string_view line, int lineNumber);

// A check of the whole text again on every edit, for texts whose findings are quick to make.
class WholeLinesCheck : public LinesCheck {
  public:
    using Check = std::function<std::vector<Finding>(std::span<const std::string> lines)>;
    explicit WholeLinesCheck(Check check) : m_checkLines(std::move(check)) {}

    void reset(std::vector<std::string> lines) override;
    void replaceLines(std::size_t first, std::size_t removed,
                      std::vector<std::string> inserted) override;
    const std::vector<std::string>& lines() const override { return m_lines; }
    std::vector<Finding> findings() const override { return m_findings; }

  private:
    Check m_checkLines;
    std::vector<std::string> m_lines;
    std::vector<Finding> m_findings;
};

}  // namespace vek
