#pragma once

#include <QWidget>

#include "app/observers.h"
#include "objects/object_document.h"

class QLineEdit;

namespace vek::ui {

// The object compiler's "Settings" page: the object's name and header values, typed freely into
// the document's field texts; Save and Compile take them over.
class SettingsPage : public QWidget {
    Q_OBJECT
  public:
    explicit SettingsPage(ObjectDocument& document);

  private:
    QLineEdit* addRow(const char* labelName, int tag, const char* fieldName, bool readOnly);
    // A field whose typing becomes the document's.
    QLineEdit* addTypedRow(const char* labelName, int tag, const char* fieldName,
                           HeaderField field);
    void showFields();

    ObjectDocument& m_document;
    Subscription m_observation;
    bool m_showing = false;
    QLineEdit* m_nameField = nullptr;      // Edit7
    QLineEdit* m_itemsField = nullptr;     // Edit1
    QLineEdit* m_quantityField = nullptr;  // Edit2
    QLineEdit* m_usedField = nullptr;      // Edit11
    QLineEdit* m_dayField = nullptr;       // Edit9
    QLineEdit* m_monthField = nullptr;     // Edit8
    QLineEdit* m_yearField = nullptr;      // Edit10
};

}  // namespace vek::ui
