#pragma once

#include <QSyntaxHighlighter>
#include <memory>
#include <span>
#include <vector>

#include "language/checker.h"
#include "language/ui/macro_formats.h"

namespace vek::ui {

// Colours macro text by the language's words and underlines what a check of its lines found.
// Each edit of the document goes to the check as the lines it replaced, so only the part it can
// have changed is checked again; lines whose findings changed elsewhere are drawn again.
class MacroHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    // Without a check it colours only.
    MacroHighlighter(QTextDocument* document, LineReader reader, std::unique_ptr<LinesCheck> check);
    ~MacroHighlighter() override;

    std::span<const Finding> findings() const { return m_findings; }
    // Takes the check's findings again, after its owner checked again without an edit.
    void takeFindings();
    // The finding at a line and column (both from 1), or null; an error before a warning.
    const Finding* findingAt(int line, int column) const;

  Q_SIGNALS:
    void findingsChanged();

  protected:
    void highlightBlock(const QString& text) override;

  private:
    void contentsChanged(int position, int removed, int added);
    std::vector<const Finding*> findingsOn(int line) const;

    QMetaObject::Connection m_watch;
    LineReader m_reader;
    std::unique_ptr<LinesCheck> m_check;
    int m_lineCount = 0;
    std::vector<Finding> m_findings;        // in line order
    std::vector<std::size_t> m_lineStarts;  // the first finding on or after each line, from 1
};

}  // namespace vek::ui
