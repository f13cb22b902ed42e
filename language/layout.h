#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language/dictionary.h"
#include "language/line_reading.h"

namespace vek {

// The layout of a source as a discompiled one has it: section lines (`inst`, `scrp`, `endm`) at
// the margin, a tab for each line inside a section and one more inside each block (`doif`,
// `reps`, `loop`, `enum`, `subr`), a block's closer and `else` back at their opener's depth.
// Comments, header lines and blank lines stay at the margin.
class SourceLayout {
  public:
    explicit SourceLayout(LineReader reader, const Dictionary& dictionary = Dictionary::builtIn());

    // Reads the next line (without its line break); returns the tabs it gets.
    std::size_t next(std::string_view line);
    // The tabs a line after those read gets when it holds no closer.
    std::size_t depth() const { return m_open ? m_depth : 0; }

  private:
    LineReader m_reader;
    const Dictionary& m_dictionary;
    bool m_open = false;
    std::size_t m_depth = 0;
};

// The lines (from 0, both inclusive) of a section or block, from its opener to its closer; a block
// left open runs to the last line.
struct LineSpan {
    std::size_t first = 0;
    std::size_t last = 0;
    bool operator==(const LineSpan&) const = default;
};
// Every section and block of a source spanning more than one line, by the depths of its layout,
// in the order they close.
std::vector<LineSpan> blockSpansOf(std::span<const std::string> lines, const LineReader& reader,
                                   const Dictionary& dictionary = Dictionary::builtIn());

// A line with the tabs of its layout in front of its text. Only blanks before the text change:
// a comment (a "*" as the very first character) stays as it is, and a line whose text begins
// with "*" after blanks keeps a tab, since without it the line would become a comment.
std::string indentedLine(std::string_view line, std::size_t tabs);

// The source laid out; each line may end in a carriage return, which stays.
std::vector<std::string> formatSourceLines(std::span<const std::string> lines,
                                           const LineReader& reader,
                                           const Dictionary& dictionary = Dictionary::builtIn());
// A whole source text, its line breaks (LF or CR LF) and every byte but leading blanks kept.
std::string formatSourceText(std::string_view text, const LineReader& reader,
                             const Dictionary& dictionary = Dictionary::builtIn());

// Lines `first` to `last` (from 0, clamped to the text) turned into comments, a "*" put at each
// one's very start, the one place the compiler reads it as a comment; when every line among them
// that holds anything is a comment already, turned back by taking that "*" away. Empty lines
// stay empty.
std::vector<std::string> toggledComment(std::span<const std::string> lines, std::size_t first,
                                        std::size_t last);

}  // namespace vek
