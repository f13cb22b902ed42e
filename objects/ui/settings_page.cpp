#include "objects/ui/settings_page.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/undo_binding.h"

namespace vek::ui {

namespace {

QLabel* makeLabel(const char* name, int tag, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    tagControl(label, tag);
    return label;
}

}  // namespace

SettingsPage::SettingsPage(ObjectDocument& document)
    : m_document(document),
      m_observation(document.observe([this](const ObjectDocumentEvent& event) {
          if (event.change == ObjectChange::Replaced || event.change == ObjectChange::FieldsChanged)
              showFields();
      })) {
    setObjectName(QStringLiteral("Settings"));
    auto* form = new QFormLayout(this);
    // The name and the items field share their label's tag.
    m_nameField = addTypedRow("Label8", Tag::CobName, "Edit7", HeaderField::Name);
    tagControl(m_nameField, Tag::CobName);
    m_nameField->setMaximumWidth(300);
    m_itemsField = addRow("Label1", Tag::CobItems, "Edit1", true);
    tagControl(m_itemsField, Tag::CobItems);
    m_quantityField = addTypedRow("Label2", Tag::CobQuantity, "Edit2", HeaderField::Quantity);
    m_usedField = addTypedRow("Label13", Tag::CobUsed, "Edit11", HeaderField::Used);
    form->addRow(makeLabel("Label14", Tag::TimeLimit, this));
    m_dayField = addTypedRow("Label11", Tag::Day, "Edit9", HeaderField::Day);
    m_monthField = addTypedRow("Label10", Tag::Month, "Edit8", HeaderField::Month);
    m_yearField = addTypedRow("Label12", Tag::Year, "Edit10", HeaderField::Year);
    showFields();
}

QLineEdit* SettingsPage::addRow(const char* labelName, int tag, const char* fieldName,
                                bool readOnly) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QLatin1String(fieldName));
    field->setReadOnly(readOnly);
    field->setMaximumWidth(110);
    static_cast<QFormLayout*>(layout())->addRow(makeLabel(labelName, tag, this), field);
    return field;
}

QLineEdit* SettingsPage::addTypedRow(const char* labelName, int tag, const char* fieldName,
                                     HeaderField field) {
    QLineEdit* edit = addRow(labelName, tag, fieldName, false);
    routeUndoKeysToWindow(edit);
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
        if (!m_showing) m_document.setField(field, toStdString(text));
    });
    return edit;
}

void SettingsPage::showFields() {
    const CobFields& fields = m_document.fieldTexts();
    m_showing = true;
    // A field that already shows its text keeps its caret.
    for (const auto& [edit, text] :
         {std::pair(m_itemsField, &fields.items), std::pair(m_quantityField, &fields.quantity),
          std::pair(m_nameField, &fields.name), std::pair(m_monthField, &fields.month),
          std::pair(m_dayField, &fields.day), std::pair(m_yearField, &fields.year),
          std::pair(m_usedField, &fields.used)}) {
        if (edit->text() != toQString(*text)) edit->setText(toQString(*text));
    }
    m_showing = false;
}

}  // namespace vek::ui
