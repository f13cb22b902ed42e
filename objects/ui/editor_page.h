#pragma once

#include <QWidget>
#include <optional>

#include "app/observers.h"
#include "objects/cob_fields.h"
#include "objects/object_document.h"

class QHBoxLayout;
class QLineEdit;
class QListWidget;

namespace vek::ui {

class MacroTextEdit;

struct AppContext;

// The object compiler's "Editor (COB)" page: the object's scripts and imports with their counts,
// the edit box that writes into the one entry it is attached to, and the class calculator.
class EditorPage : public QWidget {
    Q_OBJECT
  public:
    EditorPage(AppContext& context, ObjectDocument& document);

    // New and Delete of a list (Button1 and Button2, Button3 and Button5).
    void newEntry(ObjectList list);
    void deleteEntry(ObjectList list);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct ListControls {
        QListWidget* list = nullptr;
        QLineEdit* count = nullptr;
    };

    QListWidget* addListBlock(ObjectList which, int row);
    QLineEdit* addClassField(const char* name, const char* upDownName, ClassPart part,
                             QHBoxLayout* row);
    const ListControls& controlsOf(ObjectList list) const;

    void documentChanged(const ObjectDocumentEvent& event);
    void showEntries();
    void showCounts();
    // An entry came or went in `list` at `index`: an edit box attached at or after it lets go.
    void entriesMoved(ObjectList list, std::size_t index);
    void attachEditBox(ObjectList list, int row);
    void detachEditBox();
    void setEditText(const QString& text);
    void Memo1Change();
    void classFieldTyped(ClassPart part, const QLineEdit* field);
    void showClassFields();
    void showClassNumber(bool reportErrors);
    void Edit15Change();

    AppContext& m_context;
    ObjectDocument& m_document;
    Subscription m_observation;
    ListControls m_scripts;              // ListBox1, Edit3
    ListControls m_imports;              // ListBox2, Edit4
    MacroTextEdit* m_editBox = nullptr;  // Memo1
    std::optional<std::pair<ObjectList, int>> m_attached;
    bool m_settingEditBox = false;  // programmatic changes of the edit box write nothing back
    bool m_editing = false;         // the edit box writes into its entry
    bool m_settingClassNumber = false;
    bool m_showingClassFields = false;
    bool m_typingClassField = false;
    QLineEdit* m_familyField = nullptr;   // Edit12
    QLineEdit* m_genusField = nullptr;    // Edit13
    QLineEdit* m_speciesField = nullptr;  // Edit14
    QLineEdit* m_classField = nullptr;    // Edit15
};

}  // namespace vek::ui
