#pragma once

#include <QSyntaxHighlighter>

#include "language/ui/macro_formats.h"

namespace vek::ui {

class SourceModelLink;

// Colours macro text by how its model reads each line and underlines the model's findings; the
// lines whose findings changed elsewhere are drawn again.
class MacroHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    // `link` must be made before the highlighter, so that it hears each edit first.
    MacroHighlighter(QTextDocument* document, const SourceModelLink& link);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    void redrawLines(const QVector<int>& lines);

    const SourceModelLink& m_link;
};

}  // namespace vek::ui
