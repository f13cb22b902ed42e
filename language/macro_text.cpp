#include "language/macro_text.h"

#include <algorithm>

namespace vek {

MacroText::MacroText(std::string_view macro, int firstLine) {
    int line = firstLine;
    while (true) {
        const std::size_t lineEnd = macro.find('\n');
        append(macro.substr(0, lineEnd == std::string_view::npos ? lineEnd : lineEnd + 1), line, 1);
        if (lineEnd == std::string_view::npos) return;
        macro.remove_prefix(lineEnd + 1);
        ++line;
    }
}

MacroText MacroText::immediate(std::string_view commands) {
    MacroText macro;
    macro.appendJoin("inst,");
    macro.append(commands, 1, 1);
    macro.appendJoin(",endm");
    return macro;
}

void MacroText::append(std::string_view piece, int line, int column) {
    m_segments.push_back({m_text.size(), line, column, true});
    m_text += piece;
}

void MacroText::appendJoin(std::string_view joint) {
    // A join counts as written just after what precedes it.
    const TextPosition at = position(m_text.size());
    m_segments.push_back({m_text.size(), at.line, at.column, false});
    m_text += joint;
}

void MacroText::append(const MacroText& other) {
    for (const Segment& segment : other.m_segments) {
        m_segments.push_back(
            {m_text.size() + segment.offset, segment.line, segment.column, segment.written});
    }
    m_text += other.m_text;
}

const MacroText::Segment* MacroText::segmentAt(std::size_t offset) const {
    auto after = std::upper_bound(
        m_segments.begin(), m_segments.end(), offset,
        [](std::size_t wanted, const Segment& segment) { return wanted < segment.offset; });
    return after == m_segments.begin() ? nullptr : &*(after - 1);
}

TextPosition MacroText::position(std::size_t offset) const {
    offset = std::min(offset, m_text.size());
    const Segment* segment = segmentAt(offset);
    if (!segment) return {};
    const std::string_view before =
        std::string_view(m_text).substr(segment->offset, offset - segment->offset);
    return {segment->line, segment->column + characterCount(before)};
}

bool MacroText::isWritten(std::size_t offset) const {
    const Segment* segment = offset < m_text.size() ? segmentAt(offset) : nullptr;
    return segment && segment->written;
}

}  // namespace vek
