#include "language/ui/macro_formats.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QString>
#include <vector>

namespace vek::ui {

namespace {

QTextCharFormat coloured(const QColor& colour, bool bold = false, bool italic = false) {
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold) format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

QTextCharFormat tokenFormat(TokenKind kind) {
    switch (kind) {
        case TokenKind::Command:
            return coloured(QColor(0x00, 0x30, 0xa0), true);
        case TokenKind::Keyword:
            return coloured(QColor(0x00, 0x30, 0xa0));
        case TokenKind::Value:
            return coloured(QColor(0x80, 0x00, 0x80));
        case TokenKind::Variable:
            return coloured(QColor(0x00, 0x70, 0x70));
        case TokenKind::Number:
            return coloured(QColor(0xa0, 0x50, 0x00));
        case TokenKind::Name:
            return coloured(QColor(0x20, 0x70, 0x20));
        case TokenKind::ByteString:
            return coloured(QColor(0xa0, 0x10, 0x10));
        case TokenKind::Unknown:
            break;
    }
    return {};
}

QTextCharFormat underline(Severity severity) {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(severity == Severity::Error ? QColor(0xe0, 0x00, 0x00)
                                                         : QColor(0xd0, 0x90, 0x00));
    return format;
}

// Lays `format` over characters [from, to) of the per-unit formats.
void lay(std::vector<QTextCharFormat>& units, int from, int to, const QTextCharFormat& format) {
    from = std::max(from, 0);
    to = std::min(to, static_cast<int>(units.size()));
    for (int at = from; at < to; ++at) units[static_cast<std::size_t>(at)].merge(format);
}

}  // namespace

int codeUnitOf(const QString& text, int characters) {
    int unit = 0;
    for (int counted = 0; unit < text.size() && counted < characters; ++counted)
        unit += text.at(unit).isHighSurrogate() && unit + 1 < text.size() ? 2 : 1;
    return unit;
}

int characterOf(const QString& text, int codeUnits) {
    int characters = 0;
    for (int unit = 0; unit < codeUnits && unit < text.size(); ++characters)
        unit += text.at(unit).isHighSurrogate() && unit + 1 < text.size() ? 2 : 1;
    return characters;
}

QList<QTextLayout::FormatRange> lineFormats(const QString& text, const ShownLine& shown,
                                            std::span<const Finding* const> findings) {
    std::vector<QTextCharFormat> units(static_cast<std::size_t>(text.size()));
    const int size = static_cast<int>(text.size());
    if (shown.role == LineRole::Comment) {
        lay(units, 0, size, coloured(QColor(0x70, 0x70, 0x70), false, true));
    } else if (shown.role == LineRole::Header) {
        lay(units, 0, size, coloured(QColor(0x60, 0x30, 0x00), true));
    } else {
        for (const Token& token : shown.tokens) {
            lay(units, codeUnitOf(text, token.start), codeUnitOf(text, token.start + token.length),
                tokenFormat(token.kind));
        }
    }
    for (const Finding* finding : findings) {
        const int first = finding->position.column - 1;
        // A finding at the end of a line (a missing closer) marks the last character.
        int from = codeUnitOf(text, first);
        if (from >= size && size > 0) from = size - 1;
        const int to = std::max(codeUnitOf(text, first + std::max(finding->length, 1)), from + 1);
        lay(units, from, to, underline(finding->severity));
    }

    QList<QTextLayout::FormatRange> ranges;
    for (int at = 0; at < size;) {
        int end = at + 1;
        while (end < size &&
               units[static_cast<std::size_t>(end)] == units[static_cast<std::size_t>(at)])
            ++end;
        if (units[static_cast<std::size_t>(at)] != QTextCharFormat())
            ranges.append({at, end - at, units[static_cast<std::size_t>(at)]});
        at = end;
    }
    return ranges;
}

}  // namespace vek::ui
