#include "objects/ui/object_compiler_window.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/file_io.h"
#include "app/ui/qt_convert.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/arrow_stepper.h"
#include "objects/classifier.h"
#include "objects/cob_compiler.h"
#include "objects/discompiler.h"
#include "objects/macro_insertion.h"
#include "objects/ui/cob_injector_page.h"
#include "objects/ui/cob_picture_view.h"
#include "sprites/palette.h"

namespace vek::ui {

namespace {

constexpr Bilingual kOpenCobTitle{"Open Creatures .COB file", "Creatures .COB Datei oeffnen"};
constexpr Bilingual kSaveCobTitle{"Save Creatures .COB file", "Creatures .COB Datei speichern"};
constexpr Bilingual kOpenSourceTitle{"Open .COS(c) file", ".COS(c) Datei oeffnen"};
constexpr Bilingual kSaveSourceTitle{"Save .COS(c) file", ".COS(c) Datei speichern"};

const QString kCobFilter = QStringLiteral("*.COB (*.COB *.cob)");
const QString kSourceFilter = QStringLiteral("*.COS (*.COS *.cos)");

constexpr int kImageMargin = 9;  // the picture panel is this much larger than the picture
constexpr int kFirstImageWidth = 233;
constexpr int kFirstImageHeight = 137;
const QString kEmptyEntry = QStringLiteral("<empty>");

// Entries keep the game's CR LF line breaks; the edit box shows plain line breaks.
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

QString withDefaultSuffix(const QString& path, const QString& suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}

QLineEdit* makeField(const char* name, QWidget* parent, bool readOnly = false) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(readOnly);
    return field;
}

QLabel* makeLabel(const char* name, const QString& caption, int tag, const QString& hint,
                  QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    if (tag != 0) setTag(label, tag);
    if (!hint.isEmpty()) setHint(label, hint);
    return label;
}

QPushButton* makeButton(const char* name, const QString& caption, int tag, const QString& hint,
                        QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    setTag(button, tag);
    setHint(button, hint);
    return button;
}

}  // namespace

ObjectCompilerWindow::ObjectCompilerWindow(AppContext& context, TCreatures& creatures,
                                           const PaletteTable& palette, PictureSource& pictures)
    : VekWindow(context, QStringLiteral("TForm2"), QStringLiteral("COB-Compiler")),
      m_creatures(creatures),
      m_palette(palette),
      m_pictures(pictures) {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(m_pages);
    m_sourcePage = createSourcePage();
    m_editorPage = createEditorPage();
    m_pages->addTab(m_sourcePage, QStringLiteral("Source (COS)"));
    m_pages->addTab(m_editorPage, QStringLiteral("Editor (COB)"));
    m_pages->addTab(createSettingsPage(), QStringLiteral("Settings"));
    m_pages->addTab(createPicturePage(), QStringLiteral("Picture"));
    m_pages->addTab(createInjectorPage(), QStringLiteral("COB Injector"));
    createMenus();
    connect(m_sourcePage->findChild<QPushButton*>(QStringLiteral("Button9")), &QPushButton::clicked,
            m_injector, &CobInjectorPage::injectCommand);
    showFields(fieldsOf(m_cob));
    resize(640, 480);
}

ObjectCompilerWindow::~ObjectCompilerWindow() = default;

void ObjectCompilerWindow::FormCreate() {
    context().trace(QStringLiteral("Compiler setup..."));
    QImage black(kFirstImageWidth, kFirstImageHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    m_image1->setImage(black);
    m_panel1->setFixedSize(kFirstImageWidth + kImageMargin, kFirstImageHeight + kImageMargin);
}

// ---- construction ---------------------------------------------------------------------------

void ObjectCompilerWindow::createMenus() {
    auto addMenu = [this](const char* name, const QString& title, int tag) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        if (tag != 0) setTag(menu->menuAction(), tag);
        return menu;
    };
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption, int tag,
                          const QString& hint, void (ObjectCompilerWindow::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        setTag(action, tag);
        setHint(action, hint);
        if (handler) connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* source = addMenu("Source1", QStringLiteral("&Source"), 0);
    addItem(source, "New2", QStringLiteral("&New (Assistent)"), 91,
            QStringLiteral("Create a new sourcecode with the header assistent"),
            &ObjectCompilerWindow::Button10Click);
    source->addSeparator();
    addItem(source, "LoadSourceFileCOS1", QStringLiteral("&Load Source (.COS) file"), 92,
            QStringLiteral("Load a Creatures Object Source "), &ObjectCompilerWindow::Button6Click);
    addItem(source, "SaveSourceFileCOS1", QStringLiteral("&Save a Source (.COS) file"), 93,
            QStringLiteral("Saves the Creatures Object Source Code"),
            &ObjectCompilerWindow::Button7Click);
    source->addSeparator();
    addItem(source, "CompiletoCOB1", QStringLiteral("&Compile Source"), 94,
            QStringLiteral("Compiles the Source (.COS) to COB"),
            &ObjectCompilerWindow::Button8Click);
    addItem(source, "DiscompiletoCOS1", QStringLiteral("&Discompile COB to Source"), 95,
            QStringLiteral("Recompiles a loaded COB file to it's sourcecode"),
            &ObjectCompilerWindow::Button11Click);

    QMenu* cob = addMenu("File1", QStringLiteral("&COB"), 0);
    addItem(cob, "New1", QStringLiteral("&New"), 96,
            QStringLiteral("Clears all data to create a new COB"),
            &ObjectCompilerWindow::New1Click);
    cob->addSeparator();
    addItem(cob, "LoadCOB1", QStringLiteral("&Load COB File..."), 37,
            QStringLiteral("Loads a COB file"), &ObjectCompilerWindow::LoadCOB1Click);
    addItem(cob, "SaveCOB1", QStringLiteral("&Save COB File..."), 38,
            QStringLiteral("Saves the COB file"), &ObjectCompilerWindow::SaveCOB1Click);
    cob->addSeparator();
    QAction* inject = addItem(cob, "Inject2", QStringLiteral("&Inject COB"), 97,
                              QStringLiteral("Injects the COB in memory into Creatures"), nullptr);
    connect(inject, &QAction::triggered, m_injector, &CobInjectorPage::injectCommand);

    QMenu* assistant = addMenu("Assistent1", QStringLiteral("&Assistent"), 0);
    addItem(assistant, "COBAssistent1", QStringLiteral("&COB Assistent"), 46,
            QStringLiteral("Activates the COB Assistent"),
            &ObjectCompilerWindow::COBAssistent1Click);

    QMenu* tools = addMenu("Tools1", QStringLiteral("&Tools"), 98);
    QAction* killEdit = addItem(
        tools, "KillEdit1", QStringLiteral("'Kill EDIT'"), 99,
        QStringLiteral("Kills the actual 'EDIT' Object (shift-leftclick) in Creatures"), nullptr);
    connect(killEdit, &QAction::triggered, m_injector, &CobInjectorPage::killEditCommand);
}

QWidget* ObjectCompilerWindow::createSourcePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QHBoxLayout(page);
    auto* splitter = new QSplitter(Qt::Horizontal, page);
    layout->addWidget(splitter);

    m_fileListBox1 = new QListWidget(splitter);
    m_fileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    setTag(m_fileListBox1, 102);
    setHint(m_fileListBox1, QStringLiteral("Doubleclick to insert a .MAC file"));
    connect(m_fileListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { FileListBox1DblClick(); });

    m_memo2 = new QPlainTextEdit(splitter);
    m_memo2->setObjectName(QStringLiteral("Memo2"));
    setTag(m_memo2, 71);
    setHint(m_memo2, QStringLiteral("This is the Source Code Window"));
    m_memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setTabChangesFocus(false);
    m_memo2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo2->setTabStopDistance(4 * m_memo2->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    connect(m_memo2, &QPlainTextEdit::textChanged, this, &ObjectCompilerWindow::Memo2Change);

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({150, 490});

    m_memo3 = new QPlainTextEdit(page);
    m_memo3->setObjectName(QStringLiteral("Memo3"));
    m_memo3->hide();

    // The designed buttons of the page stay hidden; the menu carries their commands.
    const struct {
        const char* name;
        const char* caption;
        int tag;
        void (ObjectCompilerWindow::*handler)();
    } hiddenButtons[] = {{"Button6", "Load", 60, &ObjectCompilerWindow::Button6Click},
                         {"Button7", "Save", 61, &ObjectCompilerWindow::Button7Click},
                         {"Button8", "<- Compile", 63, &ObjectCompilerWindow::Button8Click},
                         {"Button9", "Inject!", 79, nullptr}};
    for (const auto& hidden : hiddenButtons) {
        QPushButton* button =
            makeButton(hidden.name, QLatin1String(hidden.caption), hidden.tag, QString(), page);
        button->hide();
        if (hidden.handler) connect(button, &QPushButton::clicked, this, hidden.handler);
    }
    return page;
}

QLineEdit* ObjectCompilerWindow::addClassField(const char* name, const char* upDownName,
                                               QWidget* parent) {
    QLineEdit* field = makeField(name, parent);
    field->setText(QStringLiteral("1"));
    field->setMaximumWidth(48);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textChanged, this, &ObjectCompilerWindow::classFieldChanged);
    auto* upDown = new ArrowStepper(field, 0, 255, parent);
    upDown->setObjectName(QLatin1String(upDownName));
    upDown->setFixedSize(16, 22);
    return field;
}

QWidget* ObjectCompilerWindow::createEditorPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* layout = new QGridLayout(page);

    auto addListBlock = [this, page, layout](int row, const QString& caption, const char* countName,
                                             int countNumber, const char* newName, int newTag,
                                             const QString& newHint, const char* deleteName,
                                             int deleteTag, const QString& deleteHint,
                                             const char* listName, int listTag,
                                             const QString& listHint, EditList which) {
        auto* header = new QHBoxLayout;
        header->addWidget(new QLabel(caption, page));
        m_edit[countNumber] = makeField(countName, page, true);
        m_edit[countNumber]->setMaximumWidth(48);
        header->addWidget(m_edit[countNumber]);
        QPushButton* add = makeButton(newName, QStringLiteral("New"), newTag, newHint, page);
        QPushButton* remove =
            makeButton(deleteName, QStringLiteral("Delete"), deleteTag, deleteHint, page);
        header->addWidget(add);
        header->addWidget(remove);
        header->addStretch();
        layout->addLayout(header, row, 0);
        auto* list = new QListWidget(page);
        list->setObjectName(QLatin1String(listName));
        setTag(list, listTag);
        setHint(list, listHint);
        list->installEventFilter(this);
        connect(list, &QListWidget::currentRowChanged, this, [this, which](int current) {
            if (!m_fillingLists && current >= 0) attachEditBox(which, current);
        });
        connect(list, &QListWidget::itemClicked, this, [this, which, list](QListWidgetItem* item) {
            attachEditBox(which, list->row(item));
        });
        layout->addWidget(list, row + 1, 0);
        connect(add, &QPushButton::clicked, this, [this, which] { newEntry(which); });
        connect(remove, &QPushButton::clicked, this, [this, which] { deleteEntry(which); });
        return list;
    };
    m_listBox1 = addListBlock(0, QStringLiteral("Scripts :"), "Edit3", 3, "Button1", 56,
                              QStringLiteral("Inserts a new Script"), "Button3", 57,
                              QStringLiteral("Deletes the highlited Script"), "ListBox1", 69,
                              QStringLiteral("List of Scripts (click to edit)"), EditList::Scripts);
    m_listBox2 = addListBlock(2, QStringLiteral("Imports :"), "Edit4", 4, "Button2", 58,
                              QStringLiteral("Inserts a new Import"), "Button5", 59,
                              QStringLiteral("Deletes the highlighted Import"), "ListBox2", 70,
                              QStringLiteral("List of Imports (click to edit)"), EditList::Imports);

    layout->addWidget(new QLabel(QStringLiteral("Edit :"), page), 4, 0);
    m_memo1 = new QPlainTextEdit(page);
    m_memo1->setObjectName(QStringLiteral("Memo1"));
    setTag(m_memo1, 72);
    setHint(m_memo1, QStringLiteral("This is the Edit Window"));
    m_memo1->installEventFilter(this);
    connect(m_memo1, &QPlainTextEdit::textChanged, this, &ObjectCompilerWindow::Memo1Change);
    layout->addWidget(m_memo1, 5, 0);

    auto* calculator = new QHBoxLayout;
    calculator->addWidget(makeLabel("Label15", QStringLiteral("Class Calc:"), 55,
                                    QStringLiteral("Calculates the Class out of the Script Number"),
                                    page));
    m_edit[12] = addClassField("Edit12", "UpDown1", page);
    m_edit[13] = addClassField("Edit13", "UpDown2", page);
    m_edit[14] = addClassField("Edit14", "UpDown3", page);
    for (int number : {12, 13, 14}) {
        calculator->addWidget(m_edit[number]);
        calculator->addWidget(
            page->findChild<ArrowStepper*>(QStringLiteral("UpDown%1").arg(number - 11)));
    }
    calculator->addWidget(new QLabel(QStringLiteral("="), page));
    m_edit[15] = makeField("Edit15", page);
    m_edit[15]->setMaximumWidth(110);
    connect(m_edit[15], &QLineEdit::textChanged, this, &ObjectCompilerWindow::Edit15Change);
    calculator->addWidget(m_edit[15]);
    calculator->addStretch();
    layout->addLayout(calculator, 6, 0);
    classFieldChanged();
    return page;
}

QWidget* ObjectCompilerWindow::createSettingsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Settings"));
    setTag(page, 100);
    auto* form = new QFormLayout(page);
    auto addRow = [this, page, form](const char* labelName, const QString& caption, int tag,
                                     const QString& hint, const char* fieldName, int number,
                                     bool readOnly) {
        m_edit[number] = makeField(fieldName, page, readOnly);
        m_edit[number]->setMaximumWidth(number == 7 ? 300 : 110);
        form->addRow(makeLabel(labelName, caption, tag, hint, page), m_edit[number]);
    };
    addRow("Label8", QStringLiteral("Name :"), 51,
           QStringLiteral("This is the name of the COB as shown in the injector"), "Edit7", 7,
           false);
    setTag(m_edit[7], 51);
    setHint(m_edit[7], QStringLiteral("This is the name of the COB as shown in the injector"));
    addRow(
        "Label1", QStringLiteral("Items :"), 52,
        QStringLiteral("This is the number of objects in the COB (only first one is accessable)"),
        "Edit1", 1, true);
    setTag(m_edit[1], 52);
    setHint(
        m_edit[1],
        QStringLiteral("This is the number of objects in the COB (only first one is accessable)"));
    addRow("Label2", QStringLiteral("Quantity:"), 53, QStringLiteral("How often this COB may used"),
           "Edit2", 2, false);
    addRow("Label13", QStringLiteral("Used:"), 54, QStringLiteral("How often this COB was used"),
           "Edit11", 11, false);
    form->addRow(makeLabel("Label14", QStringLiteral("Timelimit :"), 65,
                           QStringLiteral("Sets the timelimit for the use of this COB"), page));
    addRow("Label11", QStringLiteral("Day:"), 67, QStringLiteral("Day of the timelimit"), "Edit9",
           9, false);
    addRow("Label10", QStringLiteral("Month:"), 66, QStringLiteral("Month of the timelimit"),
           "Edit8", 8, false);
    addRow("Label12", QStringLiteral("Year:"), 68, QStringLiteral("Year of the timelimit"),
           "Edit10", 10, false);
    return page;
}

QWidget* ObjectCompilerWindow::createPicturePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    setTag(page, 101);
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    QPushButton* get =
        makeButton("Button4", QStringLiteral("Get"), 62,
                   QStringLiteral("Gets the actual Grafik from the Sprite Window"), page);
    connect(get, &QPushButton::clicked, this, &ObjectCompilerWindow::Button4Click);
    row->addWidget(get);
    m_edit[5] = makeField("Edit5", page, true);
    m_edit[6] = makeField("Edit6", page, true);
    m_edit[5]->setMaximumWidth(60);
    m_edit[6]->setMaximumWidth(60);
    row->addWidget(m_edit[5]);
    row->addWidget(new QLabel(QStringLiteral("X"), page));
    row->addWidget(m_edit[6]);
    row->addStretch();
    layout->addLayout(row);

    m_panel1 = new QWidget(page);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setAutoFillBackground(true);
    m_panel1->setBackgroundRole(QPalette::Mid);
    m_image1 = new CobPictureView(m_panel1);
    m_image1->setObjectName(QStringLiteral("Image1"));
    setTag(m_image1, 64);
    markAsImage(m_image1);
    setHint(m_image1, QStringLiteral("A click gets the actual grafik from the Sprite Window"));
    m_image1->move(kImageMargin / 2, kImageMargin / 2);
    connect(m_image1, &CobPictureView::clicked, this, &ObjectCompilerWindow::Button4Click);
    layout->addWidget(m_panel1, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    return page;
}

QWidget* ObjectCompilerWindow::createInjectorPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_injector = new CobInjectorPage(context(), m_creatures, *this, page);
    layout->addWidget(m_injector);
    return page;
}

// ---- source page ----------------------------------------------------------------------------

std::vector<std::string> ObjectCompilerWindow::sourceLines() const {
    std::vector<std::string> lines;
    const QStringList texts = m_memo2->toPlainText().split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) lines.push_back(toStdString(text));
    // An empty text is no line at all, not one empty line.
    if (lines.size() == 1 && lines.front().empty()) lines.clear();
    return lines;
}

void ObjectCompilerWindow::setSourceLines(const std::vector<std::string>& lines) {
    m_memo2->setPlainText(toQString(joinInsertedLines(lines)));
}

void ObjectCompilerWindow::showSourcePage() { m_pages->setCurrentWidget(m_sourcePage); }
void ObjectCompilerWindow::showEditorPage() { m_pages->setCurrentWidget(m_editorPage); }

void ObjectCompilerWindow::Memo2Change() { m_sourceState.textChanged(); }

void ObjectCompilerWindow::Button10Click() { context().commands.showNewObjectSource(); }

void ObjectCompilerWindow::COBAssistent1Click() { context().commands.showObjectAssistant(); }

QString ObjectCompilerWindow::gameMainDirectory() const {
    return context().gameDirectory(context().game.paths().CMainPath);
}

void ObjectCompilerWindow::Button6Click() {
    runCommand([this] {
        const auto chosen = context().dialogs.openFile(context().text(kOpenSourceTitle),
                                                       gameMainDirectory(), kSourceFilter);
        if (!chosen) return;
        m_sourceFileName = toQString(fileNamePart(toStdString(*chosen)));
        setSourceLines(readSourceFile(toPath(*chosen)));
        m_sourceState.loadedFromFile();
        showSourcePage();
    });
}

void ObjectCompilerWindow::Button7Click() {
    runCommand([this] {
        const auto chosen = context().dialogs.saveFile(
            context().text(kSaveSourceTitle), gameMainDirectory(), kSourceFilter, m_sourceFileName);
        if (!chosen) return;
        const QString path = withDefaultSuffix(*chosen, QStringLiteral("COS"));
        m_sourceFileName = toQString(fileNamePart(toStdString(path)));
        writeSourceFile(toPath(path), sourceLines());
        m_sourceState.savedToFile();
    });
}

void ObjectCompilerWindow::offerToSaveChangedSource(Buttons buttons) {
    if (!m_sourceState.changedButNotSaved()) return;
    const Answer answer = context().ask(kSourceNotSavedBox, buttons);
    if (answer == Answer::Ok || answer == Answer::Yes) Button7Click();
}

void ObjectCompilerWindow::Button11Click() {
    offerToSaveChangedSource(Buttons::OkCancel);
    runCommand([this] {
        const CobFields fields = currentFields();
        m_sourceFileName = toQString(fields.name) + QStringLiteral(".COS");
        std::vector<std::string> lines;
        try {
            discompileInto(m_cob, fields, toStdString(m_objectFileName), lines);
        } catch (...) {
            setSourceLines(lines);
            throw;
        }
        setSourceLines(lines);
        showSourcePage();
    });
}

void ObjectCompilerWindow::refreshMacroList() {
    m_fileListBox1->clear();
    for (const std::string& name : macroFileNames(macroDirectory(context().programDirectory))) {
        m_fileListBox1->addItem(toQString(name));
    }
}

void ObjectCompilerWindow::FileListBox1DblClick() {
    const QListWidgetItem* item = m_fileListBox1->currentItem();
    if (!item) return;
    runCommand([this, item] {
        const auto path = macroDirectory(context().programDirectory) / toPath(item->text());
        const QString text = toQString(joinInsertedLines(readMacroForInsertion(path)));
        m_memo3->setPlainText(text);
        QTextCursor cursor = m_memo2->textCursor();
        cursor.insertText(m_memo3->toPlainText());
        m_memo2->setTextCursor(cursor);
    });
}

// ---- compiling ------------------------------------------------------------------------------

void ObjectCompilerWindow::showCompileOutput(const CompileOutput& out) {
    m_cob = out.cob;
    showObject(out.fields);
}

void ObjectCompilerWindow::Button8Click() {
    runObjectCommand([this] {
        resetObject();
        CompileOutput out;
        const CompileSettings settings{context().game.paths().CImagePath, m_pictures};
        try {
            compileSourceInto(sourceLines(), settings, out);
        } catch (...) {
            showCompileOutput(out);
            throw;
        }
        showCompileOutput(out);
        showEditorPage();
        m_sourceState.compiledNow();
        takeFieldValues(out.fields, m_cob);
        m_objectFileName = toQString(m_cob.name) + QStringLiteral(".COB");
    });
}

// ---- the object -----------------------------------------------------------------------------

void ObjectCompilerWindow::resetObject() {
    m_cob = CobData{};
    showObject(fieldsOf(m_cob));
}

void ObjectCompilerWindow::New1Click() {
    m_objectFileName.clear();
    resetObject();
}

void ObjectCompilerWindow::showObject(const CobFields& fields) {
    detachEditBox();
    m_fillingLists = true;
    for (EditList which : {EditList::Scripts, EditList::Imports}) {
        const ListControls controls = controlsOf(which);
        controls.list->clear();
        for (const std::string& entry : m_cob.*controls.entries)
            controls.list->addItem(editTextFromEntry(entry));
    }
    m_fillingLists = false;
    showFields(fields);
    showPicture();
}

void ObjectCompilerWindow::showFields(const CobFields& fields) {
    const std::pair<int, const std::string*> values[] = {
        {1, &fields.items},       {2, &fields.quantity}, {3, &fields.scriptCount},
        {4, &fields.importCount}, {5, &fields.width},    {6, &fields.height},
        {7, &fields.name},        {8, &fields.month},    {9, &fields.day},
        {10, &fields.year},       {11, &fields.used}};
    for (const auto& [number, text] : values) m_edit[number]->setText(toQString(*text));
}

CobFields ObjectCompilerWindow::currentFields() const {
    auto text = [this](int number) { return toStdString(m_edit[number]->text()); };
    return {text(1), text(2), text(3), text(4),  text(5), text(6),
            text(7), text(8), text(9), text(10), text(11)};
}

void ObjectCompilerWindow::FormActivate() { showFields(fieldsOf(m_cob)); }

void ObjectCompilerWindow::LoadCOB1Click() {
    const auto chosen =
        context().dialogs.openFile(context().text(kOpenCobTitle), gameMainDirectory(), kCobFilter);
    if (chosen) loadCobFile(*chosen);
}

void ObjectCompilerWindow::loadCobFile(const QString& path) {
    runObjectCommand([this, &path] {
        CobData loaded = readCobFile(toPath(path));
        m_cob = std::move(loaded);
        m_objectFileName = toQString(fileNamePart(toStdString(path)));
        showObject(fieldsOf(m_cob));
        showEditorPage();
    });
}

void ObjectCompilerWindow::SaveCOB1Click() {
    runObjectCommand([this] {
        const auto chosen = context().dialogs.saveFile(
            context().text(kSaveCobTitle), gameMainDirectory(), kCobFilter, m_objectFileName);
        if (!chosen) return;
        const QString path = withDefaultSuffix(*chosen, QStringLiteral("COB"));
        CobData saved = m_cob;
        takeFieldValues(currentFields(), saved);
        writeCobFile(toPath(path), saved);
        m_cob = std::move(saved);
        m_objectFileName = toQString(fileNamePart(toStdString(path)));
    });
}

void ObjectCompilerWindow::runObjectCommand(const std::function<void()>& command) {
    runCommand([this, &command] {
        try {
            command();
        } catch (const ObjectLimitError& error) {
            throw VekError(error.in(context().language));
        }
    });
}

// ---- lists and the edit box -----------------------------------------------------------------

ObjectCompilerWindow::ListControls ObjectCompilerWindow::controlsOf(EditList which) const {
    if (which == EditList::Scripts) return {m_listBox1, m_edit[3], &CobData::scripts};
    return {m_listBox2, m_edit[4], &CobData::imports};
}

void ObjectCompilerWindow::attachEditBox(EditList which, int row) {
    const ListControls controls = controlsOf(which);
    const auto& entries = m_cob.*controls.entries;
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) return;
    m_editList = which;
    m_editRow = row;
    m_settingEditBox = true;
    m_memo1->clear();
    m_memo1->setPlainText(editTextFromEntry(entries[static_cast<std::size_t>(row)]));
    m_settingEditBox = false;
}

void ObjectCompilerWindow::detachEditBox() {
    m_editList = EditList::None;
    m_editRow = -1;
    m_settingEditBox = true;
    m_memo1->clear();
    m_settingEditBox = false;
}

void ObjectCompilerWindow::Memo1Change() {
    if (m_settingEditBox) return;
    QString text = m_memo1->toPlainText();
    if (text.endsWith(QLatin1Char('\n'))) {
        // A pasted line break at the end goes; the caret stays where it was.
        const int caret = m_memo1->textCursor().position();
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
        m_settingEditBox = true;
        m_memo1->setPlainText(text);
        QTextCursor cursor = m_memo1->textCursor();
        cursor.setPosition(std::min(caret, static_cast<int>(text.size())));
        m_memo1->setTextCursor(cursor);
        m_settingEditBox = false;
    }
    if (m_editList == EditList::None) return;
    const ListControls controls = controlsOf(m_editList);
    auto& entries = m_cob.*controls.entries;
    if (static_cast<std::size_t>(m_editRow) >= entries.size()) return;
    entries[static_cast<std::size_t>(m_editRow)] = entryFromEditText(text);
    if (QListWidgetItem* item = controls.list->item(m_editRow)) item->setText(text);
}

void ObjectCompilerWindow::newEntry(EditList which) {
    runObjectCommand([this, which] {
        const ListControls controls = controlsOf(which);
        auto& entries = m_cob.*controls.entries;
        if (!entries.empty() && entries.back() == toStdString(kEmptyEntry)) return;
        if (entries.size() >= kMaxCobEntries) {
            const std::string limit = std::to_string(kMaxCobEntries);
            throw ObjectLimitError(
                "An object holds at most " + limit + " entries in each list.",
                "Ein Objekt hat hoechstens " + limit + " Eintraege in jeder Liste.");
        }
        entries.push_back(toStdString(kEmptyEntry));
        m_fillingLists = true;
        controls.list->addItem(kEmptyEntry);
        m_fillingLists = false;
        controls.count->setText(QString::number(entries.size()));
    });
}

void ObjectCompilerWindow::deleteEntry(EditList which) {
    const ListControls controls = controlsOf(which);
    auto& entries = m_cob.*controls.entries;
    const int row = controls.list->currentRow();
    m_fillingLists = true;
    if (row >= 0 && static_cast<std::size_t>(row) < entries.size() &&
        controls.list->currentItem()->isSelected()) {
        delete controls.list->takeItem(row);
        entries.erase(entries.begin() + row);
        controls.count->setText(QString::number(entries.size()));
    }
    detachEditBox();
    if (controls.list->count() > 0) controls.list->setCurrentRow(0);
    m_fillingLists = false;
}

void ObjectCompilerWindow::Button1Click() { newEntry(EditList::Scripts); }
void ObjectCompilerWindow::Button2Click() { newEntry(EditList::Imports); }
void ObjectCompilerWindow::Button3Click() { deleteEntry(EditList::Scripts); }
void ObjectCompilerWindow::Button5Click() { deleteEntry(EditList::Imports); }

// ---- class calculator -----------------------------------------------------------------------

void ObjectCompilerWindow::classFieldChanged() {
    for (int number : {12, 13, 14}) {
        if (!m_edit[number] || m_edit[number]->text().isEmpty()) return;
    }
    runCommand([this] {
        auto value = [this](int number) {
            return parseWholeNumber(toStdString(m_edit[number]->text()));
        };
        const Classifier classifier{value(12), value(13), value(14)};
        m_settingClassNumber = true;
        m_edit[15]->setText(QString::number(classifier.classNumber()));
        m_settingClassNumber = false;
    });
}

void ObjectCompilerWindow::Edit15Change() {
    if (m_settingClassNumber) return;
    // The class number is computed, never typed: put the computed value back.
    m_settingClassNumber = true;
    runCommand([this] {
        auto value = [this](int number) {
            return parseWholeNumber(toStdString(m_edit[number]->text()));
        };
        m_edit[15]->setText(
            QString::number(Classifier{value(12), value(13), value(14)}.classNumber()));
    });
    m_settingClassNumber = false;
}

void ObjectCompilerWindow::classFieldExit(QLineEdit* field) {
    if (field->text().isEmpty()) field->setText(QStringLiteral("0"));
}

// ---- the picture ----------------------------------------------------------------------------

void ObjectCompilerWindow::showPicture() {
    const int width = m_cob.pictureWidth;
    const int height = m_cob.pictureHeight;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = toQColor(m_palette[cobPixel(m_cob, x, y)]).rgb();
    }
    m_image1->hide();
    m_image1->setImage(image);
    m_image1->show();
    m_panel1->setFixedSize(width + kImageMargin, height + kImageMargin);
    m_edit[5]->setText(QString::number(width));
    m_edit[6]->setText(QString::number(height));
}

void ObjectCompilerWindow::Button4Click() {
    runObjectCommand([this] {
        if (!m_pictures.spriteLoaded()) return;
        setCobPicture(m_cob, m_pictures.currentSprite());
        showPicture();
    });
}

// ---- window events --------------------------------------------------------------------------

void ObjectCompilerWindow::FormShow() { refreshMacroList(); }

void ObjectCompilerWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void ObjectCompilerWindow::changeEvent(QEvent* event) {
    VekWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

bool ObjectCompilerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The edit box takes no line breaks from the Enter key.
        if (watched == m_memo1 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return true;
        if (key->key() == Qt::Key_Delete) {
            if (watched == m_listBox1) Button3Click();
            if (watched == m_listBox2) Button5Click();
            if (watched == m_listBox1 || watched == m_listBox2) return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        for (int number : {12, 13, 14}) {
            if (watched == m_edit[number]) classFieldExit(m_edit[number]);
        }
    }
    return VekWindow::eventFilter(watched, event);
}

}  // namespace vek::ui
