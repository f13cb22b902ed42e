#include "language/ui/macro_highlighter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <vector>

#include "language/ui/source_model_link.h"

namespace vek::ui {

MacroHighlighter::MacroHighlighter(QTextDocument* document, const SourceModelLink& link)
    : QSyntaxHighlighter(document), m_link(link) {
    connect(&link, &SourceModelLink::findingsChanged, this, &MacroHighlighter::redrawLines);
}

void MacroHighlighter::redrawLines(const QVector<int>& lines) {
    if (!document()) return;
    for (const int line : lines) {
        const QTextBlock block = document()->findBlockByNumber(line - 1);
        if (block.isValid()) rehighlightBlock(block);
    }
}

void MacroHighlighter::highlightBlock(const QString& text) {
    const SourceModel& model = m_link.model();
    const auto line = static_cast<std::size_t>(currentBlock().blockNumber());
    const std::vector<ShownLine>& shown = model.shownLines();
    if (line >= shown.size()) return;
    // The block's state tells the base class to draw the next line again when it changes.
    setCurrentBlockState(shown[line].openAfter ? 1 : 0);
    std::vector<const Finding*> on;
    for (const Finding& finding : model.findingsOn(static_cast<int>(line) + 1))
        on.push_back(&finding);
    for (const QTextLayout::FormatRange& range : lineFormats(text, shown[line], on))
        setFormat(range.start, range.length, range.format);
}

}  // namespace vek::ui
