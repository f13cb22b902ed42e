#include "language/ui/macro_highlighter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

constexpr int kSectionOpen = 1;

bool sameFindings(std::span<const Finding> a, std::span<const Finding> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.position == y.position && x.length == y.length && x.code == y.code &&
               x.severity == y.severity && x.text.english == y.text.english;
    });
}

}  // namespace

MacroHighlighter::MacroHighlighter(QTextDocument* document, LineReader reader,
                                   std::unique_ptr<LinesCheck> check)
    : QSyntaxHighlighter(static_cast<QObject*>(document)),
      m_reader(std::move(reader)),
      m_check(std::move(check)) {
    // The check hears of an edit before the highlighter draws the edited lines.
    m_watch =
        connect(document, &QTextDocument::contentsChange, this, &MacroHighlighter::contentsChanged);
    m_lineCount = 0;
    contentsChanged(0, 0, document->characterCount());
    setDocument(document);
}

// The base class clears its formats when it goes, which the document reports as an edit; the
// check is gone by then.
MacroHighlighter::~MacroHighlighter() { disconnect(m_watch); }

void MacroHighlighter::contentsChanged(int position, int removed, int added) {
    QTextDocument* text = qobject_cast<QTextDocument*>(parent());
    const int lineCount = text->blockCount();
    const QTextBlock first = text->findBlock(position);
    QTextBlock last = text->findBlock(position + added);
    if (!last.isValid()) last = text->lastBlock();
    const int inserted = last.blockNumber() - first.blockNumber() + 1;
    const int replaced = std::max(0, inserted - (lineCount - m_lineCount));
    m_lineCount = lineCount;
    if (!m_check) return;

    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(inserted));
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        lines.push_back(toStdString(block.text()));
        if (block == last) break;
    }
    const auto from = static_cast<std::size_t>(first.blockNumber());
    const auto& old = m_check->lines();
    // Drawing a line reports it as changed too; its text is the same.
    if (removed == added && inserted == replaced && from + lines.size() <= old.size() &&
        std::equal(lines.begin(), lines.end(), old.begin() + static_cast<std::ptrdiff_t>(from)))
        return;
    m_check->replaceLines(from, static_cast<std::size_t>(replaced), std::move(lines));
    takeFindings();
}

void MacroHighlighter::takeFindings() {
    std::vector<Finding> found = m_check->findings();
    if (sameFindings(found, m_findings)) return;
    std::vector<int> redraw;
    for (const Finding& finding : m_findings) redraw.push_back(finding.position.line);
    for (const Finding& finding : found) redraw.push_back(finding.position.line);
    m_findings = std::move(found);
    m_lineStarts.assign(static_cast<std::size_t>(m_lineCount) + 2, m_findings.size());
    std::size_t next = 0;
    for (std::size_t line = 1; line < m_lineStarts.size(); ++line) {
        while (next < m_findings.size() &&
               static_cast<std::size_t>(m_findings[next].position.line) < line)
            ++next;
        m_lineStarts[line] = next;
    }
    std::sort(redraw.begin(), redraw.end());
    redraw.erase(std::unique(redraw.begin(), redraw.end()), redraw.end());
    if (document()) {
        for (int line : redraw) {
            const QTextBlock block = document()->findBlockByNumber(line - 1);
            if (block.isValid()) rehighlightBlock(block);
        }
    }
    Q_EMIT findingsChanged();
}

std::vector<const Finding*> MacroHighlighter::findingsOn(int line) const {
    std::vector<const Finding*> on;
    if (line < 1 || static_cast<std::size_t>(line) >= m_lineStarts.size()) return on;
    for (std::size_t i = m_lineStarts[static_cast<std::size_t>(line)];
         i < m_findings.size() && m_findings[i].position.line == line; ++i)
        on.push_back(&m_findings[i]);
    return on;
}

const Finding* MacroHighlighter::findingAt(int line, int column) const {
    const Finding* found = nullptr;
    for (const Finding* finding : findingsOn(line)) {
        const int first = finding->position.column;
        if (column < first || column >= first + std::max(finding->length, 1)) continue;
        if (!found || (finding->isError() && !found->isError())) found = finding;
    }
    return found;
}

void MacroHighlighter::highlightBlock(const QString& text) {
    const bool openBefore = previousBlockState() == kSectionOpen;
    LineReading reading;
    if (m_reader) reading = m_reader(toStdString(text), openBefore);
    setCurrentBlockState(reading.openAfter ? kSectionOpen : 0);
    const std::vector<const Finding*> on = findingsOn(currentBlock().blockNumber() + 1);
    for (const QTextLayout::FormatRange& range : lineFormats(text, reading, on))
        setFormat(range.start, range.length, range.format);
}

}  // namespace vek::ui
