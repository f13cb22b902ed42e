#include "language/ui/source_model_link.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

bool sameFindings(std::span<const Finding> a, std::span<const Finding> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.position == y.position && x.length == y.length && x.code == y.code &&
               x.severity == y.severity && x.text.english == y.text.english;
    });
}

}  // namespace

SourceModelLink::SourceModelLink(QTextDocument* document, LineReader reader,
                                 std::unique_ptr<LinesCheck> check)
    : QObject(document), m_document(document), m_model(std::move(check), std::move(reader)) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(document->blockCount()));
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(toStdString(block.text()));
    m_model.reset(std::move(lines), m_version);
    m_lineCount = document->blockCount();
    m_watch =
        connect(document, &QTextDocument::contentsChange, this, &SourceModelLink::contentsChanged);
}

// A highlighter clears its formats when it goes, which the document reports as an edit.
SourceModelLink::~SourceModelLink() { disconnect(m_watch); }

void SourceModelLink::contentsChanged(int position, int removed, int added) {
    const int lineCount = m_document->blockCount();
    const QTextBlock first = m_document->findBlock(position);
    QTextBlock last = m_document->findBlock(position + added);
    if (!last.isValid()) last = m_document->lastBlock();
    const int inserted = last.blockNumber() - first.blockNumber() + 1;
    const int replaced = std::max(0, inserted - (lineCount - m_lineCount));
    m_lineCount = lineCount;

    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(inserted));
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        lines.push_back(toStdString(block.text()));
        if (block == last) break;
    }
    const auto from = static_cast<std::size_t>(first.blockNumber());
    const std::vector<std::string>& old = m_model.lines();
    // Drawing a line reports it as changed too; its text is the same.
    if (removed == added && inserted == replaced && from + lines.size() <= old.size() &&
        std::equal(lines.begin(), lines.end(), old.begin() + static_cast<std::ptrdiff_t>(from)))
        return;
    std::vector<Finding> before = m_model.findings();
    m_model.replaceLines(from, static_cast<std::size_t>(replaced), std::move(lines), ++m_version);
    announceFindings(std::move(before));
}

void SourceModelLink::takeCheckFindings() {
    std::vector<Finding> before = m_model.findings();
    m_model.takeCheckFindings();
    announceFindings(std::move(before));
}

void SourceModelLink::announceFindings(std::vector<Finding> before) {
    const std::vector<Finding>& now = m_model.findings();
    if (sameFindings(before, now)) return;
    QVector<int> lines;
    for (const Finding& finding : before) lines.push_back(finding.position.line);
    for (const Finding& finding : now) lines.push_back(finding.position.line);
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    Q_EMIT findingsChanged(lines);
}

}  // namespace vek::ui
