#include "objects/ui/settings_page.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"

namespace vek::ui {

namespace {

QLabel* makeLabel(const char* name, const QString& caption, int tag, const QString& hint,
                  QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    setTag(label, tag);
    setHint(label, hint);
    return label;
}

}  // namespace

SettingsPage::SettingsPage() {
    setObjectName(QStringLiteral("Settings"));
    setTag(this, 100);
    auto* form = new QFormLayout(this);
    const QString nameHint = QStringLiteral("This is the name of the COB as shown in the injector");
    m_nameField = addRow("Label8", QStringLiteral("Name :"), 51, nameHint, "Edit7", false);
    m_nameField->setMaximumWidth(300);
    const QString itemsHint =
        QStringLiteral("This is the number of objects in the COB (only first one is accessable)");
    m_itemsField = addRow("Label1", QStringLiteral("Items :"), 52, itemsHint, "Edit1", true);
    // The name and the items field share their label's tag.
    setTag(m_nameField, 51);
    setHint(m_nameField, nameHint);
    setTag(m_itemsField, 52);
    setHint(m_itemsField, itemsHint);
    m_quantityField = addRow("Label2", QStringLiteral("Quantity:"), 53,
                             QStringLiteral("How often this COB may used"), "Edit2", false);
    m_usedField = addRow("Label13", QStringLiteral("Used:"), 54,
                         QStringLiteral("How often this COB was used"), "Edit11", false);
    form->addRow(makeLabel("Label14", QStringLiteral("Timelimit :"), 65,
                           QStringLiteral("Sets the timelimit for the use of this COB"), this));
    m_dayField = addRow("Label11", QStringLiteral("Day:"), 67,
                        QStringLiteral("Day of the timelimit"), "Edit9", false);
    m_monthField = addRow("Label10", QStringLiteral("Month:"), 66,
                          QStringLiteral("Month of the timelimit"), "Edit8", false);
    m_yearField = addRow("Label12", QStringLiteral("Year:"), 68,
                         QStringLiteral("Year of the timelimit"), "Edit10", false);
}

QLineEdit* SettingsPage::addRow(const char* labelName, const QString& caption, int tag,
                                const QString& hint, const char* fieldName, bool readOnly) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QLatin1String(fieldName));
    field->setReadOnly(readOnly);
    field->setMaximumWidth(110);
    static_cast<QFormLayout*>(layout())->addRow(makeLabel(labelName, caption, tag, hint, this),
                                                field);
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
