#include "objects/source_lines.h"

namespace vek {

SourceLine readSourceLine(std::string_view raw, bool inSection) {
    // A comment's star must be the very first character, before any stripping.
    if (raw.empty() || raw.front() == '*') return {};
    SourceLine line;
    // Plain loops: every check reads each line through here, and the library's search for a
    // set of characters costs a call a character.
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    while (first < raw.size() && blank(raw[first])) ++first;
    std::size_t end = raw.size();
    while (end > first && blank(raw[end - 1])) --end;
    if (first < end) {
        line.offset = first;
        line.text = raw.substr(first, end - first);
    }
    if (inSection) {
        line.kind = line.text.starts_with("endm") ? SourceLineKind::SectionEnd
                                                  : SourceLineKind::SectionLine;
    } else {
        line.kind = line.text.starts_with("scrp") || line.text.starts_with("inst")
                        ? SourceLineKind::SectionStart
                        : SourceLineKind::Outside;
    }
    return line;
}

bool sectionOpenAfter(SourceLineKind kind, bool openBefore) {
    switch (kind) {
        case SourceLineKind::Skipped:
            return openBefore;
        case SourceLineKind::SectionStart:
        case SourceLineKind::SectionLine:
            return true;
        default:
            return false;
    }
}

LineReading sourceLineReading(std::string_view raw, bool openBefore) {
    const SourceLine line = readSourceLine(raw, openBefore);
    LineReading reading;
    reading.start = line.offset;
    reading.openAfter = sectionOpenAfter(line.kind, openBefore);
    switch (line.kind) {
        case SourceLineKind::Skipped:
            reading.role = raw.starts_with('*') ? LineRole::Comment : LineRole::Plain;
            break;
        case SourceLineKind::Outside:
            reading.role = LineRole::Header;
            break;
        default:
            reading.role = LineRole::Commands;
            break;
    }
    return reading;
}

}  // namespace vek
