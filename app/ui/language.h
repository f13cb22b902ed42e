#pragma once

#include <vector>

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

}  // namespace vek::ui
