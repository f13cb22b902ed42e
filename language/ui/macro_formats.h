#pragma once

#include <QList>
#include <QTextLayout>
#include <span>
#include <string_view>

#include "language/checker.h"
#include "language/source_model.h"

class QString;

namespace vek::ui {

// The character formats of one line: its words by kind as its model read them, and a wavy
// underline under each finding (columns from 1). The ranges do not overlap, so that every kind of
// text field takes them.
QList<QTextLayout::FormatRange> lineFormats(const QString& text, const ShownLine& shown,
                                            std::span<const Finding* const> findings);

// Where the n-th character of a text starts in its UTF-16 code units.
int codeUnitOf(const QString& text, int characters);
// How many characters the first `codeUnits` units of a text hold.
int characterOf(const QString& text, int codeUnits);

}  // namespace vek::ui
