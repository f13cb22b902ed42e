#include "objects/source_lines.h"

namespace vek {

namespace {

constexpr std::string_view kBlanks = " \t";

}  // namespace

SourceLine readSourceLine(std::string_view raw, bool inSection) {
    // A comment's star must be the very first character, before any stripping.
    if (raw.empty() || raw.front() == '*') return {};
    SourceLine line;
    const std::size_t first = raw.find_first_not_of(kBlanks);
    if (first != std::string_view::npos) {
        line.offset = first;
        line.text = raw.substr(first, raw.find_last_not_of(kBlanks) - first + 1);
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
