#pragma once

#include <QTreeWidget>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language/outline.h"
#include "language/source_model.h"

namespace vek::ui {

class SessionLook;

// The outline of a source beside its text: installation routines and scripts, each with its
// subroutines; a click on one moves the caret there.
class OutlineView : public QTreeWidget {
    Q_OBJECT
  public:
    // `events` and `germanEvents` name the script events in either language.
    OutlineView(const SessionLook& look, std::span<const std::string_view> events,
                std::span<const std::string_view> germanEvents, QWidget* parent);

    // Reads the outline of a source's model again; unchanged entries leave the tree alone.
    void setSource(const SourceModel& model);
    const std::vector<OutlineEntry>& entries() const { return m_entries; }
    // Writes the titles again in the interface language.
    void retranslate();

  Q_SIGNALS:
    void entryChosen(int line, int column);

  private:
    const SessionLook& m_look;
    std::span<const std::string_view> m_events;
    std::span<const std::string_view> m_germanEvents;
    std::vector<OutlineEntry> m_entries;
};

}  // namespace vek::ui
