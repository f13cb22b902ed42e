#pragma once

#include <QString>
#include <vector>

#include "app/messages.h"

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QString;
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

// The control with its designed object name and, unless the tag is 0, its tag.
template <typename Control>
Control* named(Control* control, const char* name, int tag = 0) {
    control->setObjectName(QLatin1String(name));
    if (tag != 0) tagControl(control, tag);
    return control;
}

// A menu of the menu bar and an item of a menu, each of its designed name and with the texts of
// its tag; a designed text that differs from the table's shows until a language is applied. A
// menu without a tag keeps its designed title in both languages.
QMenu* addTaggedMenu(QMenuBar* bar, const char* name, int tag, const QString& designedTitle);
QAction* addTaggedItem(QMenu* menu, const char* name, int tag, const QString& designedCaption);

// The menu items and submenus this program adds beside the designed ones have no tag: they carry
// both captions themselves and follow the language by applyBilingualCaptions (shown in English
// until then).
QAction* addBilingualItem(QMenu* menu, const char* name, const Bilingual& caption);
QMenu* addBilingualMenu(QMenu* menu, const char* name, const Bilingual& title);
QMenu* addBilingualMenu(QMenuBar* bar, const char* name, const Bilingual& title);
// Gives such an item new captions, showing the one of `language`.
void setBilingualCaption(QAction* item, const BilingualText& caption, std::string_view language);
// The same for a label's or a text field's text.
void setBilingualText(QWidget* control, const Bilingual& text);
void applyBilingualCaptions(const std::vector<QWidget*>& windows, int languageOffset);

// Qt's own texts (the buttons of questions, the file and colour dialogs) in the language of the
// offset, from Qt's catalogue where the system has it; English otherwise.
void translateQtTexts(int languageOffset);

}  // namespace vek::ui
