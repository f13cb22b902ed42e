#pragma once

#include <QObject>
#include <QVector>
#include <memory>

#include "language/source_model.h"

class QTextDocument;

namespace vek::ui {

// Keeps one SourceModel in step with a text document: each edit reaches the model as the lines
// it replaced, before anything that draws the document hears of it. Everything a text box shows
// of its source (colours, underlines, outline, definitions, fixes, the findings list) reads the
// model, not the document.
class SourceModelLink : public QObject {
    Q_OBJECT
  public:
    SourceModelLink(QTextDocument* document, LineReader reader, std::unique_ptr<LinesCheck> check);
    ~SourceModelLink() override;

    const SourceModel& model() const { return m_model; }
    // Takes the check's findings again, after its owner checked again without an edit.
    void takeCheckFindings();

  Q_SIGNALS:
    // The findings changed; `lines` (from 1) had findings before or have them now.
    void findingsChanged(const QVector<int>& lines);

  private:
    void contentsChanged(int position, int removed, int added);
    void announceFindings(std::vector<Finding> before);

    QTextDocument* m_document;
    QMetaObject::Connection m_watch;
    SourceModel m_model;
    int m_lineCount = 0;
    int m_version = 0;
};

}  // namespace vek::ui
