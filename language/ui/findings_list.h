#pragma once

#include <QListWidget>
#include <span>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "app/text_names.h"
#include "language/checker.h"

namespace vek::ui {

class SessionLook;
struct AppContext;

// "Line 3, column 5: error: …" in a language; the place is Msg::FindingLinePlace in a source,
// Msg::FindingScriptPlace in an object.
QString findingRow(const Finding& finding, const Bilingual& place, std::string_view language);

// The findings of a check, one a row; a click on a row asks to go to its place.
class FindingsList : public QListWidget {
    Q_OBJECT
  public:
    FindingsList(const SessionLook& look, QWidget* parent);

    void setFindings(std::span<const Finding> findings);
    // Writes the rows again in the interface language.
    void retranslate();

  Q_SIGNALS:
    // Line and column, both from 1.
    void findingChosen(int line, int column);

  private:
    const SessionLook& m_look;
    std::vector<Finding> m_findings;
};

// Whether a macro or object may go to the game: yes without errors; with errors, when checking
// is on, the user is asked `question` (its %1 is the list of errors) and decides; Return answers
// No, so that a macro that may crash the game never goes by a slip of the key.
bool mayGoDespiteErrors(const AppContext& context, std::span<const Finding> findings,
                        const Bilingual& question, const Bilingual& place);

}  // namespace vek::ui
