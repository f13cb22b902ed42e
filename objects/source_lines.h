#pragma once

#include <cstddef>
#include <string_view>

#include "language/line_reading.h"

namespace vek {

// How the compiler reads one line of a source, given whether a section is open before it.
enum class SourceLineKind {
    Skipped,       // empty, or a comment: its very first character is "*"
    Outside,       // outside a section: a header line or text that is ignored
    SectionStart,  // begins with "scrp" or "inst" outside a section; its first command
    SectionLine,   // a command of the open section (nothing when it is blank)
    SectionEnd,    // begins with "endm" inside a section; the rest of the line is lost
};

struct SourceLine {
    SourceLineKind kind = SourceLineKind::Skipped;
    std::string_view text;   // without blanks and tabs at either end
    std::size_t offset = 0;  // bytes of the raw line before `text`
};

SourceLine readSourceLine(std::string_view raw, bool inSection);
// Whether a section is open after a line of this kind.
bool sectionOpenAfter(SourceLineKind kind, bool openBefore);
// How a line of a source reads for highlighting: comments, header lines and commands.
LineReading sourceLineReading(std::string_view raw, bool openBefore);

}  // namespace vek
