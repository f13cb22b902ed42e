#pragma once

#include <vector>

class QObject;
class QWidget;

namespace vek {
class TextTable;
}

namespace vek::ui {

// Re-captions every tagged control of the given windows for a language offset (0 English,
// 1000 German): first the captions, then the hints, each by the control's kind. It changes texts
// only, not the language value or VEK.INI.
void ChangeLanguage(const std::vector<QWidget*>& windows, int languageOffset,
                    const TextTable& table);

// Gives a control its tag and the English texts of the built-in table, as ChangeLanguage gives
// them; a control whose designed text differs from the table's sets that text after this.
void tagControl(QObject* control, int tag);

}  // namespace vek::ui
