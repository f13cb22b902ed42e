#include "generators/ui/new_object_source_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/text_names.h"
#include "app/text_table.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "app/ui/undo_binding.h"
#include "app/ui/widgets/wait_cursor.h"
#include "objects/macro_insertion.h"
#include "objects/script_events.h"

namespace vek::ui {

namespace {

constexpr BilingualBox kDeleteBox{Msg::DeleteEntryQuestion, Msg::DeleteQuestionCaption};

// The two group boxes share their tags with the lists, and so the table's hints of the lists.
QGroupBox* groupWithHint(const char* name, int tag) {
    auto* group = named(new QGroupBox, name, tag);
    setHint(group, toQString(TextTable::builtIn().hint(tag, 0)));
    return group;
}

QListWidget* multiSelectList(const char* name, int tag) {
    auto* list = named(new QListWidget, name, tag);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

// A caption on the left, a field on the right, in rows.
void addRow(QGridLayout* grid, QLabel* label, QWidget* field) {
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

}  // namespace

NewObjectSourceWindow::NewObjectSourceWindow(AppContext& context, ClassCatalogueDocument& catalogue)
    : VekWindow(context, QStringLiteral("TForm11"), QStringLiteral("New Object Source")),
      m_catalogue(catalogue),
      m_observation(catalogue.observe(
          [this](const ClassCatalogueEvent& event) { catalogueChanged(event); })) {
    setWindowFlags(Qt::Tool);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* halves = new QHBoxLayout(client);
    halves->addWidget(createCatalogueHalf(), 1);
    PageControl1 = named(new QTabWidget, "PageControl1");
    PageControl1->addTab(createSimpleObjectPage(), QStringLiteral("Simple Object"));
    PageControl1->addTab(createMessagePage(), QStringLiteral("Message"));
    PageControl1->setCurrentWidget(TabSheet2);
    halves->addWidget(PageControl1, 1);
    addUndoItems(addBilingualMenu(menuBar(), "EditMenu1", Msg::EditMenu), m_catalogue.undoStack(),
                 context);
    resize(720, 520);
}

QWidget* NewObjectSourceWindow::createCatalogueHalf() {
    auto* half = new QWidget;
    auto* column = new QVBoxLayout(half);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(named(new QLabel(QStringLiteral("Object Class:")), "Label1"));
    TreeView1 = named(new QTreeWidget, "TreeView1", Tag::ClassList);
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(TreeView1, &QTreeWidget::itemClicked, this, &NewObjectSourceWindow::TreeView1Click);
    column->addWidget(TreeView1, 3);

    auto* buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const char* name, int tag,
                                     void (NewObjectSourceWindow::*click)()) {
        auto* button = named(new QPushButton, name, tag);
        connect(button, &QPushButton::clicked, this, click);
        buttons->addWidget(button);
        return button;
    };
    using W = NewObjectSourceWindow;
    addButton("Button2", Tag::Collapse, &W::Button2Click)->setMaximumWidth(32);
    addButton("Button3", Tag::Expand, &W::Button3Click)->setMaximumWidth(32);
    Button4 = addButton("Button4", Tag::NewClass, &W::Button4Click);
    Button6 = addButton("Button6", Tag::DeleteClass, &W::Button6Click);
    Button6->setEnabled(false);
    addButton("Button5", Tag::ImportClasses, &W::Button5Click);
    column->addLayout(buttons);

    CheckBox14 = named(new QCheckBox, "CheckBox14", Tag::UseScripts);
    ListBox1 = multiSelectList("ListBox1", Tag::Attributes);
    CheckBox15 = named(new QCheckBox, "CheckBox15", Tag::UseMacFiles);
    FileListBox1 = multiSelectList("FileListBox1", Tag::SpriteFile);
    FileListBox1->setEnabled(false);
    column->addWidget(CheckBox14);
    column->addWidget(ListBox1, 2);
    column->addWidget(CheckBox15);
    column->addWidget(FileListBox1, 1);
    return half;
}

QWidget* NewObjectSourceWindow::createSimpleObjectPage() {
    TabSheet1 = named(new QWidget, "TabSheet1");
    TabSheet1->setEnabled(false);
    auto* page = new QGridLayout(TabSheet1);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(named(new QLabel(QStringLiteral("Name:")), "Label3"));
    Edit1 = named(new QLineEdit, "Edit1");
    nameRow->addWidget(Edit1);
    page->addLayout(nameRow, 0, 0, 1, 2);

    auto* sprite = groupWithHint("GroupBox2", Tag::SpriteFile);
    auto* spriteGrid = new QGridLayout(sprite);
    auto field = [spriteGrid](const char* labelName, int tag, const char* editName,
                              const char* text) {
        auto* edit = named(new QLineEdit(QLatin1String(text)), editName, 0);
        addRow(spriteGrid, named(new QLabel, labelName, tag), edit);
        return edit;
    };
    Edit2 = field("Label4", Tag::SpriteFileName, "Edit2", "");
    Edit2->setMaxLength(4);
    Edit3 = field("Label5", Tag::NumberOfImages, "Edit3", "1");
    Edit4 = field("Label6", Tag::StartAt, "Edit4", "0");
    Edit5 = field("Label7", Tag::Plane, "Edit5", "3500");
    for (QLineEdit* edit : {Edit2, Edit3, Edit4, Edit5}) edit->setMaximumWidth(60);
    page->addWidget(sprite, 1, 0);

    auto* attributes = groupWithHint("GroupBox1", Tag::Attributes);
    auto* attributeColumn = new QVBoxLayout(attributes);
    const char* attributeNames[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
                                    "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8"};
    for (int k = 0; k < 8; ++k) {
        m_attributes.push_back(named(new QCheckBox, attributeNames[k], Tag::Carryable + k));
        attributeColumn->addWidget(m_attributes.back());
    }
    m_attributes[3]->setEnabled(false);  // no containers
    connect(m_attributes[6], &QCheckBox::toggled, this, &NewObjectSourceWindow::CheckBox7Click);
    connect(m_attributes[7], &QCheckBox::toggled, this, &NewObjectSourceWindow::CheckBox8Click);
    page->addWidget(attributes, 1, 1, 2, 1);

    auto* activation = named(new QGroupBox, "GroupBox3", Tag::Activation);
    auto* activationColumn = new QVBoxLayout(activation);
    activationColumn->addWidget(named(new QLabel, "Label10", Tag::MouseClick));
    const char* clickNames[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
                                "RadioButton5"};
    for (int k = 0; k < 5; ++k) {
        m_clicks.push_back(named(new QRadioButton, clickNames[k], Tag::ClickDumb + k));
        activationColumn->addWidget(m_clicks.back());
    }
    m_clicks[0]->setChecked(true);
    activationColumn->addWidget(named(new QLabel, "Label11", Tag::CreaturesMay));
    auto* creatureRow = new QHBoxLayout;
    const char* creatureNames[] = {"CheckBox9", "CheckBox10", "CheckBox11"};
    for (int k = 0; k < 3; ++k) {
        m_creatures.push_back(named(new QCheckBox, creatureNames[k], Tag::Activate1 + k));
        creatureRow->addWidget(m_creatures.back());
    }
    activationColumn->addLayout(creatureRow);
    page->addWidget(activation, 3, 0, 1, 2);

    auto yesBox = [](const char* groupName, int groupTag, QCheckBox*& box, const char* boxName,
                     int boxTag) {
        auto* group = named(new QGroupBox, groupName, groupTag);
        box = named(new QCheckBox, boxName, boxTag);
        (new QVBoxLayout(group))->addWidget(box);
        return group;
    };
    auto* options = new QVBoxLayout;
    options->addWidget(yesBox("GroupBox4", Tag::EditAfterInject, CheckBox13, "CheckBox13",
                              Tag::EditAfterInjectYes));
    options->addWidget(
        yesBox("GroupBox6", Tag::CloneSprites, CheckBox12, "CheckBox12", Tag::CloneSpritesYes));
    page->addLayout(options, 2, 0);

    auto* button1 = named(new QPushButton, "Button1", Tag::CreateSource);
    connect(button1, &QPushButton::clicked, this, &NewObjectSourceWindow::Button1Click);
    page->addWidget(button1, 4, 0, 1, 2);
    page->setRowStretch(5, 1);
    return TabSheet1;
}

QWidget* NewObjectSourceWindow::createMessagePage() {
    TabSheet2 = named(new QWidget, "TabSheet2");
    auto* column = new QVBoxLayout(TabSheet2);
    auto* hint = named(new QLabel, "Label9", Tag::SelectSimpleObject);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    column->addWidget(hint);
    return TabSheet2;
}

void NewObjectSourceWindow::FormCreate() {
    AppContext& ctx = context();
    ctx.startup.trace(QStringLiteral("COB Source Creator init macpath..."));
    showMacroFiles();
    ctx.startup.trace(QStringLiteral("COB Source Creator init scripts..."));
    ListBox1->clear();
    for (std::string_view entry : scriptEventList().entries()) ListBox1->addItem(toQString(entry));
    ctx.startup.trace(QStringLiteral("COB Source Creator init tree..."));
    runCommand([this] { m_catalogue.load(); });
}

void NewObjectSourceWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    if (!event->spontaneous()) {
        centreOnScreen();
        showMacroFiles();
    }
}

// ---- the tree ---------------------------------------------------------------------------------

namespace {

// An item for the entry and its sub-entries.
QTreeWidgetItem* itemsFor(const ClassEntry& entry) {
    auto* item = new QTreeWidgetItem(QStringList(toQString(entry.text)));
    for (const ClassEntry& child : entry.children) item->addChild(itemsFor(child));
    return item;
}

}  // namespace

void NewObjectSourceWindow::catalogueChanged(const ClassCatalogueEvent& event) {
    switch (event.change) {
        case ClassCatalogueEvent::Added: {
            // Where an undone Delete puts the entry back, with what it held.
            const EntryPath parent(event.path.begin(), event.path.end() - 1);
            itemAt(parent)->insertChild(static_cast<int>(event.path.back()),
                                        itemsFor(m_catalogue.catalogue().at(event.path)));
            return;
        }
        case ClassCatalogueEvent::Removed:
            delete itemAt(event.path);
            return;
        case ClassCatalogueEvent::Replaced:
            TreeView1->clear();
            for (const ClassEntry& family : m_catalogue.catalogue().families())
                TreeView1->addTopLevelItem(itemsFor(family));
            return;
        case ClassCatalogueEvent::SelectionChanged:
            enableNewAndDelete();
            if (const auto& picked = m_catalogue.selectedEntry())
                TreeView1->setCurrentItem(itemAt(*picked));
            return;
    }
}

void NewObjectSourceWindow::enableNewAndDelete() {
    // Without a picked entry New and Delete have nothing to act on.
    Button4->setEnabled(m_catalogue.canAdd());
    Button6->setEnabled(m_catalogue.canDelete());
}

QTreeWidgetItem* NewObjectSourceWindow::itemAt(const EntryPath& path) const {
    QTreeWidgetItem* item = TreeView1->invisibleRootItem();
    for (std::size_t index : path) item = item->child(static_cast<int>(index));
    return item;
}

EntryPath NewObjectSourceWindow::pathOf(const QTreeWidgetItem* item) const {
    EntryPath path;
    for (; item; item = item->parent()) {
        const QTreeWidgetItem* parent =
            item->parent() ? item->parent() : TreeView1->invisibleRootItem();
        path.push_back(
            static_cast<std::size_t>(parent->indexOfChild(const_cast<QTreeWidgetItem*>(item))));
    }
    std::reverse(path.begin(), path.end());
    return path;
}

void NewObjectSourceWindow::TreeView1Click() {
    TabSheet1->setEnabled(false);
    const QTreeWidgetItem* item = TreeView1->currentItem();
    if (!item) return;
    runCommand([this, item] {
        m_catalogue.select(pathOf(item));
        const ClassSelection& selection = m_catalogue.selection();
        enableNewAndDelete();
        if (selection.parts.family == 2 && !selection.parts.hasSpecies()) {
            PageControl1->setCurrentWidget(TabSheet2);
        } else if (selection.isSimpleObjectSpecies()) {
            TabSheet1->setEnabled(true);
            Edit1->setText(toQString(descriptionOf(selection.text)));
            PageControl1->setCurrentWidget(TabSheet1);
        }
        m_macroMask = toQString(selection.macroFileMask());
        FileListBox1->setEnabled(selection.parts.hasSpecies());
        showMacroFiles();
    });
}

void NewObjectSourceWindow::Button2Click() { TreeView1->collapseAll(); }
void NewObjectSourceWindow::Button3Click() { TreeView1->expandAll(); }

void NewObjectSourceWindow::Button4Click() {
    if (m_catalogue.suggestion()) context().commands.showAddClass();
}

void NewObjectSourceWindow::Button6Click() {
    if (!m_catalogue.canDelete()) return;
    if (context().ask(kDeleteBox, Buttons::OkCancel) != Answer::Ok) return;
    const WaitCursor wait;
    runCommand([this] { m_catalogue.deleteSelection(); });
}

void NewObjectSourceWindow::Button5Click() {
    const WaitCursor wait;
    runCommand([this] { m_catalogue.importObjed(); });
}

// ---- the macro files --------------------------------------------------------------------------

void NewObjectSourceWindow::showMacroFiles() {
    FileListBox1->clear();
    const std::string mask = toStdString(m_macroMask);
    // The mask takes any extension, as the folder's listing of the game's own tools does.
    for (const std::string& name : fileNamesIn(macroDirectory(context().files.directory()))) {
        if (matchesMacroMask(name, mask)) FileListBox1->addItem(toQString(name));
    }
}

// ---- the simple object ------------------------------------------------------------------------

void NewObjectSourceWindow::CheckBox7Click() {
    if (m_attributes[6]->isChecked()) m_attributes[7]->setChecked(false);
}

void NewObjectSourceWindow::CheckBox8Click() {
    if (m_attributes[7]->isChecked()) m_attributes[6]->setChecked(false);
}

SimpleObjectForm NewObjectSourceWindow::formValues() const {
    SimpleObjectForm form;
    form.name = toStdString(Edit1->text());
    form.file = toStdString(Edit2->text());
    form.count = toStdString(Edit3->text());
    form.start = toStdString(Edit4->text());
    form.plane = toStdString(Edit5->text());
    for (std::size_t k = 0; k < m_attributes.size(); ++k)
        if (m_attributes[k]->isChecked()) form.attributes += 1 << k;
    for (std::size_t k = 0; k < m_clicks.size(); ++k)
        if (m_clicks[k]->isChecked()) form.click = static_cast<int>(k);
    for (std::size_t k = 0; k < m_creatures.size(); ++k)
        if (m_creatures[k]->isChecked()) form.creatures += 1 << k;
    form.edit = CheckBox13->isChecked();
    form.cloneSprites = CheckBox12->isChecked();
    if (CheckBox14->isChecked()) {
        for (int row = 0; row < ListBox1->count(); ++row)
            if (ListBox1->item(row)->isSelected())
                form.emptyScripts.push_back(static_cast<std::size_t>(row));
    }
    return form;
}

void NewObjectSourceWindow::Button1Click() {
    runCommand([this] {
        SimpleObjectForm form = formValues();
        const ClassSelection& selection = m_catalogue.selection();
        const std::vector<BilingualBox> failures = checkSimpleObject(form, selection);
        for (const BilingualBox& failure : failures) context().ask(failure, Buttons::Ok);
        if (!failures.empty()) return;
        if (CheckBox15->isChecked()) {
            const auto folder = macroDirectory(context().files.directory());
            for (int row = 0; row < FileListBox1->count(); ++row) {
                const QListWidgetItem* item = FileListBox1->item(row);
                if (item->isSelected())
                    form.macroScripts.push_back(readMacroScript(folder / toPath(item->text())));
            }
        }
        bool shown = false;
        context().commands.showObjectSource(simpleObjectSource(form, selection), &shown);
        // The form keeps its choices while the user keeps the source it would replace.
        if (shown) close();
    });
}

}  // namespace vek::ui
