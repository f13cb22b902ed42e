#include "objects/ui/editor_page.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/undo_binding.h"
#include "app/ui/widgets/arrow_stepper.h"
#include "app/vek_error.h"
#include "language/ui/macro_editors.h"
#include "objects/classifier.h"
#include "objects/object_check.h"

namespace vek::ui {

namespace {

// Entries keep the game's CR LF line breaks; the lists and the edit box show plain ones.
std::string entryFromEditText(const QString& text) {
    QString entry = text;
    entry.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toStdString(entry);
}
QString editTextFromEntry(const std::string& entry) {
    QString text = toQString(entry);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QLineEdit* makeField(const char* name, QWidget* parent, bool readOnly = false) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(readOnly);
    return field;
}

QPushButton* makeButton(const char* name, int tag, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    tagControl(button, tag);
    return button;
}

// The designed controls of one list: its caption, count field, buttons and list box.
struct ListDesign {
    const char* caption;
    const char* count;
    const char* newButton;
    int newTag;
    const char* deleteButton;
    int deleteTag;
    const char* list;
    int listTag;
};

constexpr ListDesign kScriptsDesign{"Scripts :", "Edit3",           "Button1",  Tag::NewScript,
                                    "Button3",   Tag::DeleteScript, "ListBox1", Tag::ScriptList};
constexpr ListDesign kImportsDesign{"Imports :", "Edit4",           "Button2",  Tag::NewImport,
                                    "Button5",   Tag::DeleteImport, "ListBox2", Tag::ImportList};

}  // namespace

EditorPage::EditorPage(AppContext& context, ObjectDocument& document)
    : m_context(context),
      m_document(document),
      m_observation(
          document.observe([this](const ObjectDocumentEvent& event) { documentChanged(event); })) {
    setObjectName(QStringLiteral("TabSheet2"));
    auto* layout = new QGridLayout(this);
    m_scripts.list = addListBlock(ObjectList::Scripts, 0);
    m_imports.list = addListBlock(ObjectList::Imports, 2);

    layout->addWidget(new QLabel(QStringLiteral("Edit :"), this), 4, 0);
    m_editBox = new MacroTextEdit(context.look, this);
    m_editBox->setObjectName(QStringLiteral("Memo1"));
    m_editBox->setChecking(entryLineReading, std::make_unique<EntryCheck>());
    tagControl(m_editBox, Tag::EditText);
    m_editBox->installEventFilter(this);
    connect(m_editBox, &QPlainTextEdit::textChanged, this, &EditorPage::Memo1Change);
    bindTextUndo(m_editBox, document.undoStack(), context);
    layout->addWidget(m_editBox, 5, 0);

    auto* calculator = new QHBoxLayout;
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label15"));
    tagControl(label, Tag::ClassCalc);
    calculator->addWidget(label);
    m_familyField = addClassField("Edit12", "UpDown1", ClassPart::Family, calculator);
    m_genusField = addClassField("Edit13", "UpDown2", ClassPart::Genus, calculator);
    m_speciesField = addClassField("Edit14", "UpDown3", ClassPart::Species, calculator);
    calculator->addWidget(new QLabel(QStringLiteral("="), this));
    m_classField = makeField("Edit15", this);
    m_classField->setMaximumWidth(110);
    connect(m_classField, &QLineEdit::textChanged, this, &EditorPage::Edit15Change);
    calculator->addWidget(m_classField);
    calculator->addStretch();
    layout->addLayout(calculator, 6, 0);
    showClassFields();
    showEntries();
}

QListWidget* EditorPage::addListBlock(ObjectList which, int row) {
    const ListDesign& design = which == ObjectList::Scripts ? kScriptsDesign : kImportsDesign;
    auto* layout = static_cast<QGridLayout*>(this->layout());
    ListControls& controls = which == ObjectList::Scripts ? m_scripts : m_imports;
    auto* header = new QHBoxLayout;
    header->addWidget(new QLabel(QLatin1String(design.caption), this));
    controls.count = makeField(design.count, this, true);
    controls.count->setMaximumWidth(48);
    header->addWidget(controls.count);
    QPushButton* add = makeButton(design.newButton, design.newTag, this);
    QPushButton* remove = makeButton(design.deleteButton, design.deleteTag, this);
    header->addWidget(add);
    header->addWidget(remove);
    header->addStretch();
    layout->addLayout(header, row, 0);

    auto* list = new QListWidget(this);
    list->setObjectName(QLatin1String(design.list));
    tagControl(list, design.listTag);
    list->installEventFilter(this);
    connect(list, &QListWidget::currentRowChanged, this, [this, which](int current) {
        if (current >= 0) attachEditBox(which, current);
    });
    connect(list, &QListWidget::itemClicked, this,
            [this, which, list](QListWidgetItem* item) { attachEditBox(which, list->row(item)); });
    layout->addWidget(list, row + 1, 0);
    connect(add, &QPushButton::clicked, this, [this, which] { newEntry(which); });
    connect(remove, &QPushButton::clicked, this, [this, which] { deleteEntry(which); });
    return list;
}

QLineEdit* EditorPage::addClassField(const char* name, const char* upDownName, ClassPart part,
                                     QHBoxLayout* row) {
    QLineEdit* field = makeField(name, this);
    field->setMaximumWidth(48);
    field->installEventFilter(this);
    routeUndoKeysToWindow(field);
    connect(field, &QLineEdit::textChanged, this,
            [this, part, field] { classFieldTyped(part, field); });
    auto* upDown = new ArrowStepper(field, 0, 255, this);
    upDown->setObjectName(QLatin1String(upDownName));
    upDown->setFixedSize(16, 22);
    row->addWidget(field);
    row->addWidget(upDown);
    return field;
}

const EditorPage::ListControls& EditorPage::controlsOf(ObjectList list) const {
    return list == ObjectList::Scripts ? m_scripts : m_imports;
}

// ---- the document's changes -----------------------------------------------------------------

void EditorPage::documentChanged(const ObjectDocumentEvent& event) {
    const ListControls& controls = controlsOf(event.list);
    const std::vector<std::string>& entries = m_document.entries(event.list);
    const QSignalBlocker blocker(controls.list);
    const int row = static_cast<int>(event.index);
    switch (event.change) {
        case ObjectChange::Replaced:
            showEntries();
            return;
        case ObjectChange::EntryAdded:
            entriesMoved(event.list, event.index);
            controls.list->insertItem(row, editTextFromEntry(entries[event.index]));
            break;
        case ObjectChange::EntryRemoved:
            entriesMoved(event.list, event.index);
            delete controls.list->takeItem(row);
            break;
        case ObjectChange::EntryEdited:
            controls.list->item(row)->setText(editTextFromEntry(entries[event.index]));
            // An undone or redone edit shows in the edit box attached to it.
            if (!m_editing && m_attached == std::pair(event.list, row)) {
                m_settingEditBox = true;
                mirrorText(m_editBox, editTextFromEntry(entries[event.index]));
                m_settingEditBox = false;
            }
            return;
        case ObjectChange::FieldsChanged:
            showCounts();
            return;
        case ObjectChange::ClassFieldsChanged:
            showClassFields();
            return;
        case ObjectChange::Compiled:
        case ObjectChange::PictureTaken:
        case ObjectChange::SourceEdited:
        case ObjectChange::SourceStateChanged:
            return;
    }
    controls.count->setText(QString::number(entries.size()));
}

void EditorPage::entriesMoved(ObjectList list, std::size_t index) {
    if (m_attached && m_attached->first == list && m_attached->second >= static_cast<int>(index))
        detachEditBox();
}

void EditorPage::showCounts() {
    m_scripts.count->setText(toQString(m_document.fieldTexts().scriptCount));
    m_imports.count->setText(toQString(m_document.fieldTexts().importCount));
}

void EditorPage::showEntries() {
    detachEditBox();
    for (const ObjectList which : {ObjectList::Scripts, ObjectList::Imports}) {
        const ListControls& controls = controlsOf(which);
        const QSignalBlocker blocker(controls.list);
        controls.list->clear();
        for (const std::string& entry : m_document.entries(which))
            controls.list->addItem(editTextFromEntry(entry));
    }
    showCounts();
}

// ---- lists and the edit box -----------------------------------------------------------------

void EditorPage::newEntry(ObjectList list) {
    runGuarded(m_context, [this, list] { m_document.addEntry(list); });
}

void EditorPage::deleteEntry(ObjectList list) {
    const ListControls& controls = controlsOf(list);
    const int row = controls.list->currentRow();
    if (row >= 0 && controls.list->currentItem()->isSelected())
        m_document.removeEntry(list, static_cast<std::size_t>(row));
    // In every case the edit box lets go, and the first line is highlighted without attaching.
    detachEditBox();
    const QSignalBlocker blocker(controls.list);
    if (controls.list->count() > 0) controls.list->setCurrentRow(0);
}

void EditorPage::attachEditBox(ObjectList list, int row) {
    const std::vector<std::string>& entries = m_document.entries(list);
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) return;
    m_attached = {list, row};
    setEditText(editTextFromEntry(entries[static_cast<std::size_t>(row)]));
}

void EditorPage::detachEditBox() {
    m_attached.reset();
    setEditText({});
}

void EditorPage::setEditText(const QString& text) {
    m_settingEditBox = true;
    m_editBox->setPlainText(text);
    m_settingEditBox = false;
}

void EditorPage::Memo1Change() {
    if (m_settingEditBox) return;
    QString text = m_editBox->toPlainText();
    if (text.endsWith(QLatin1Char('\n'))) {
        // A pasted line break at the end goes; the caret stays where it was.
        const int caret = m_editBox->textCursor().position();
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
        setEditText(text);
        QTextCursor cursor = m_editBox->textCursor();
        cursor.setPosition(std::min(caret, static_cast<int>(text.size())));
        m_editBox->setTextCursor(cursor);
    }
    if (!m_attached) return;
    m_editing = true;
    runGuarded(m_context, [this, &text] {
        m_document.editEntry(m_attached->first, static_cast<std::size_t>(m_attached->second),
                             entryFromEditText(text));
    });
    m_editing = false;
}

bool EditorPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The edit box takes no line breaks from the Enter key.
        if (watched == m_editBox && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return true;
        if (key->key() == Qt::Key_Delete) {
            if (watched == m_scripts.list) deleteEntry(ObjectList::Scripts);
            if (watched == m_imports.list) deleteEntry(ObjectList::Imports);
            if (watched == m_scripts.list || watched == m_imports.list) return true;
        }
    }
    // Leaving an empty class field puts 0 into it.
    if (event->type() == QEvent::FocusOut) {
        for (QLineEdit* field : {m_familyField, m_genusField, m_speciesField}) {
            if (watched == field && field->text().isEmpty()) field->setText(QStringLiteral("0"));
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- class calculator -----------------------------------------------------------------------

void EditorPage::classFieldTyped(ClassPart part, const QLineEdit* field) {
    if (m_showingClassFields) return;
    m_typingClassField = true;
    m_document.setClassField(part, toStdString(field->text()));
    m_typingClassField = false;
}

void EditorPage::showClassFields() {
    if (!m_familyField || !m_genusField || !m_speciesField) return;
    const ClassFields& texts = m_document.classFields();
    m_showingClassFields = true;
    for (const auto& [field, text] :
         {std::pair(m_familyField, &texts.family), std::pair(m_genusField, &texts.genus),
          std::pair(m_speciesField, &texts.species)}) {
        if (field->text() != toQString(*text)) field->setText(toQString(*text));
    }
    m_showingClassFields = false;
    // What the user types is checked; a text that undo brings back keeps the last number.
    showClassNumber(m_typingClassField);
}

void EditorPage::showClassNumber(bool reportErrors) {
    for (const QLineEdit* field : {m_familyField, m_genusField, m_speciesField}) {
        if (field->text().isEmpty()) return;
    }
    // The class number is computed, never typed: a change is answered with the computed value.
    m_settingClassNumber = true;
    auto compute = [this] {
        auto value = [](const QLineEdit* field) {
            return parseWholeNumber(toStdString(field->text()));
        };
        const Classifier classifier{value(m_familyField), value(m_genusField),
                                    value(m_speciesField)};
        m_classField->setText(QString::number(classifier.classNumber()));
    };
    if (reportErrors) {
        runGuarded(m_context, compute);
    } else {
        try {
            compute();
        } catch (const VekError&) {
        }
    }
    m_settingClassNumber = false;
}

void EditorPage::Edit15Change() {
    if (!m_settingClassNumber && m_familyField && m_genusField && m_speciesField)
        showClassNumber(true);
}

}  // namespace vek::ui
