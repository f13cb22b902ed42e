#include "objects/ui/settings_page.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/ui/language.h"
#include "app/ui/qt_convert.h"

namespace vek::ui {

namespace {

QLabel* makeLabel(const char* name, int tag, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    tagControl(label, tag);
    return label;
}

}  // namespace

SettingsPage::SettingsPage() {
    setObjectName(QStringLiteral("Settings"));
    auto* form = new QFormLayout(this);
    // The name and the items field share their label's tag.
    m_nameField = addRow("Label8", 51, "Edit7", false);
    tagControl(m_nameField, 51);
    m_nameField->setMaximumWidth(300);
    m_itemsField = addRow("Label1", 52, "Edit1", true);
    tagControl(m_itemsField, 52);
    m_quantityField = addRow("Label2", 53, "Edit2", false);
    m_usedField = addRow("Label13", 54, "Edit11", false);
    form->addRow(makeLabel("Label14", 65, this));
    m_dayField = addRow("Label11", 67, "Edit9", false);
    m_monthField = addRow("Label10", 66, "Edit8", false);
    m_yearField = addRow("Label12", 68, "Edit10", false);
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

void SettingsPage::showFields(const CobFields& fields) {
    m_itemsField->setText(toQString(fields.items));
    m_quantityField->setText(toQString(fields.quantity));
    m_nameField->setText(toQString(fields.name));
    m_monthField->setText(toQString(fields.month));
    m_dayField->setText(toQString(fields.day));
    m_yearField->setText(toQString(fields.year));
    m_usedField->setText(toQString(fields.used));
}

void SettingsPage::readFields(CobFields& fields) const {
    fields.items = toStdString(m_itemsField->text());
    fields.quantity = toStdString(m_quantityField->text());
    fields.name = toStdString(m_nameField->text());
    fields.month = toStdString(m_monthField->text());
    fields.day = toStdString(m_dayField->text());
    fields.year = toStdString(m_yearField->text());
    fields.used = toStdString(m_usedField->text());
}

}  // namespace vek::ui
