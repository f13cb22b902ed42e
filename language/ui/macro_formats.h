#pragma once

#include <QList>
#include <QTextLayout>
#include <functional>
#include <span>
#include <string_view>

#include "language/checker.h"

class QString;

namespace vek::ui {

// What a line of macro text is, as the place that shows it reads it.
enum class LineRole {
    Commands,  // commands separated by commas, from `start` on
    Comment,
    Header,  // a line that sets something rather than running commands
    Plain,   // nothing to mark
};

struct LineReading {
    LineRole role = LineRole::Commands;
    std::size_t start = 0;   // bytes before the commands
    bool openAfter = false;  // the line leaves a section open for the next one
};

// Reads one line, given whether a section is open before it. Without one, every line is commands.
using LineReader = std::function<LineReading(std::string_view line, bool openBefore)>;

// The character formats of one line: its words by kind, and a wavy underline under each finding
// (columns from 1). The ranges do not overlap, so that every kind of text field takes them.
QList<QTextLayout::FormatRange> lineFormats(const QString& text, const LineReading& reading,
                                            std::span<const Finding* const> findings);

// Where the n-th character of a text starts in its UTF-16 code units.
int codeUnitOf(const QString& text, int characters);
// How many characters the first `codeUnits` units of a text hold.
int characterOf(const QString& text, int codeUnits);

}  // namespace vek::ui
