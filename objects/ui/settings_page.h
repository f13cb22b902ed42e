#pragma once

#include <QWidget>

#include "objects/cob_fields.h"

class QLineEdit;

namespace vek::ui {

// The object compiler's "Settings" page: the object's name and header values, typed freely;
// Save and Compile take them over.
class SettingsPage : public QWidget {
    Q_OBJECT
  public:
    SettingsPage();

    void showFields(const CobFields& fields);
    // Its fields' texts, the other fields of `fields` left as they are.
    void readFields(CobFields& fields) const;

  private:
    QLineEdit* addRow(const char* labelName, int tag, const char* fieldName, bool readOnly);

    QLineEdit* m_nameField = nullptr;      // Edit7
    QLineEdit* m_itemsField = nullptr;     // Edit1
    QLineEdit* m_quantityField = nullptr;  // Edit2
    QLineEdit* m_usedField = nullptr;      // Edit11
    QLineEdit* m_dayField = nullptr;       // Edit9
    QLineEdit* m_monthField = nullptr;     // Edit8
    QLineEdit* m_yearField = nullptr;      // Edit10
};

}  // namespace vek::ui
