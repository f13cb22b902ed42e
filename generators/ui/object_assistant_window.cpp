#include "generators/ui/object_assistant_window.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/arrow_stepper.h"

namespace vek::ui {

namespace {

QString numbered(const char* stem, int number) {
    return QLatin1String(stem) + QString::number(number);
}

QLabel* heading(const char* name, int tag) {
    auto* label = named(new QLabel, name, tag);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.8);
    label->setFont(font);
    return label;
}

QListWidget* geneticsList(const char* name) {
    auto* list = named(new QListWidget, name, Tag::GeneticFile);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QPushButton* generateButton(const char* name) {
    return named(new QPushButton, name, Tag::Generate);
}

}  // namespace

ObjectAssistantWindow::ObjectAssistantWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm7"), QStringLiteral("COB Assistent")) {
    setWindowFlags(Qt::Tool);
    PageControl1 = named(new QTabWidget, "PageControl1");
    setCentralWidget(PageControl1);
    // A page takes its caption once it is in the page control.
    const std::pair<QWidget*, int> pages[] = {{createCreaturePage(), Tag::NewCreature},
                                              {createClonePage(), Tag::CloneCreature},
                                              {createInfusionPage(), Tag::Infusions}};
    for (const auto& [page, tag] : pages) {
        PageControl1->addTab(page, QString());
        tagControl(page, tag);
    }
    PageControl1->setCurrentIndex(2);
    resize(520, 400);
}

QWidget* ObjectAssistantWindow::createChoices(Choices& choices, const char* sexBox,
                                              const char* formBox, int firstRadio) {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* sex = named(new QGroupBox, sexBox, Tag::Sex);
    auto* sexLayout = new QVBoxLayout(sex);
    const int sexTags[] = {Tag::Male, Tag::Female, Tag::SexRandom};
    for (int k = 0; k < 3; ++k) {
        choices.sex[k] = new QRadioButton;
        choices.sex[k]->setObjectName(numbered("RadioButton", firstRadio + k));
        tagControl(choices.sex[k], sexTags[k]);
        sexLayout->addWidget(choices.sex[k]);
    }
    choices.sex[2]->setChecked(true);
    auto* form = named(new QGroupBox, formBox, Tag::ImportAs);
    auto* formLayout = new QVBoxLayout(form);
    for (int k = 0; k < 2; ++k) {
        choices.form[k] = new QRadioButton;
        choices.form[k]->setObjectName(numbered("RadioButton", firstRadio + 3 + k));
        tagControl(choices.form[k], Tag::Egg + k);
        formLayout->addWidget(choices.form[k]);
    }
    choices.form[0]->setChecked(true);
    layout->addWidget(sex);
    layout->addWidget(form);
    layout->addStretch();
    return column;
}

QWidget* ObjectAssistantWindow::createCreaturePage() {
    auto* page = named(new QWidget, "TabSheet1");
    auto* grid = new QGridLayout(page);
    grid->addWidget(heading("Label3", Tag::NewCreature), 0, 0, 1, 3);
    grid->addWidget(named(new QLabel, "Label1", Tag::Mum), 1, 0);
    grid->addWidget(named(new QLabel, "Label2", Tag::Dad), 1, 1);
    FileListBox1 = geneticsList("FileListBox1");
    FileListBox2 = geneticsList("FileListBox2");
    grid->addWidget(FileListBox1, 2, 0);
    grid->addWidget(FileListBox2, 2, 1);
    grid->addWidget(createChoices(m_creatureChoices, "GroupBox1", "GroupBox2", 1), 2, 2);
    auto* button = generateButton("Button1");
    connect(button, &QPushButton::clicked, this, &ObjectAssistantWindow::Button1Click);
    grid->addWidget(button, 3, 2);
    return page;
}

QWidget* ObjectAssistantWindow::createClonePage() {
    auto* page = named(new QWidget, "TabSheet3");
    auto* grid = new QGridLayout(page);
    grid->addWidget(heading("Label7", Tag::CloneCreature), 0, 0, 1, 2);
    grid->addWidget(named(new QLabel(QStringLiteral("Genetics:")), "Label8"), 1, 0);
    FileListBox3 = geneticsList("FileListBox3");
    grid->addWidget(FileListBox3, 2, 0);
    grid->addWidget(createChoices(m_cloneChoices, "GroupBox3", "GroupBox4", 6), 2, 1);
    auto* button = generateButton("Button4");
    connect(button, &QPushButton::clicked, this, &ObjectAssistantWindow::Button4Click);
    grid->addWidget(button, 3, 1);
    return page;
}

QWidget* ObjectAssistantWindow::createInfusionPage() {
    auto* page = named(new QWidget, "TabSheet2");
    auto* grid = new QGridLayout(page);
    grid->addWidget(heading("Label6", Tag::Infusions), 0, 0, 1, 2);
    grid->addWidget(named(new QLabel, "Label4", Tag::Chemical), 1, 0);
    grid->addWidget(named(new QLabel, "Label5", Tag::Amount), 1, 1);
    for (int k = 0; k < static_cast<int>(kInfusionChemicals); ++k) {
        auto* chooser = new QComboBox;
        chooser->setObjectName(numbered("ComboBox", k + 1));
        tagControl(chooser, Tag::ChemicalChoice);
        chooser->setMinimumWidth(220);
        auto* amount = new QLineEdit(QStringLiteral("0"));
        amount->setObjectName(numbered("Edit", k + 1));
        tagControl(amount, Tag::ChemicalAmount);
        amount->setMaximumWidth(50);
        auto* upDown = new ArrowStepper(amount, 0, 255, page);
        upDown->setObjectName(numbered("UpDown", k + 1));
        upDown->setFixedSize(14, amount->sizeHint().height());
        auto* amountCell = new QHBoxLayout;
        amountCell->setSpacing(0);
        amountCell->addWidget(amount);
        amountCell->addWidget(upDown);
        amountCell->addStretch();
        grid->addWidget(chooser, 2 + k, 0);
        grid->addLayout(amountCell, 2 + k, 1);
        m_chemicals[static_cast<std::size_t>(k)] = chooser;
        m_amounts[static_cast<std::size_t>(k)] = amount;
    }
    auto* button = generateButton("Button2");
    connect(button, &QPushButton::clicked, this, &ObjectAssistantWindow::Button2Click);
    grid->addWidget(button, 6, 1);
    grid->setRowStretch(7, 1);
    return page;
}

void ObjectAssistantWindow::FormCreate() {
    AppContext& ctx = context();
    const QString genetics = toQString(ctx.game.paths().CGeneticsPath);
    ctx.startup.trace(QStringLiteral("COB Assistent setup...Path: ") + genetics);
    const QStringList files =
        genetics.isEmpty() ? QStringList()
                           : QDir(genetics).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (QListWidget* list : {FileListBox1, FileListBox2, FileListBox3}) {
        list->addItems(files);
        if (list->count() > 0) list->setCurrentRow(0);
    }
    ChemicalNames names;
    runCommand([&] {
        readChemicalNamesFile(findIgnoringCase(ctx.files.directory(), "chemicals.txt"), names);
    });
    for (QComboBox* chooser : m_chemicals) {
        for (const std::string& name : names) chooser->addItem(toQString(name));
        chooser->setCurrentIndex(0);
    }
}

void ObjectAssistantWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    if (!event->spontaneous()) centreOnScreen();
}

CreatureSex ObjectAssistantWindow::Choices::chosenSex() const {
    if (sex[0]->isChecked()) return CreatureSex::Male;
    if (sex[1]->isChecked()) return CreatureSex::Female;
    return CreatureSex::Random;
}

ArrivalForm ObjectAssistantWindow::Choices::chosenForm() const {
    return form[1]->isChecked() ? ArrivalForm::Creature : ArrivalForm::Egg;
}

std::string ObjectAssistantWindow::selectedToken(const QListWidget* list) const {
    const QListWidgetItem* item = list->currentItem();
    if (!item) throw noGeneticsFileError(pathFromUtf8(context().game.paths().CGeneticsPath));
    return genomeToken(toStdString(item->text()));
}

void ObjectAssistantWindow::generate(const std::vector<std::string>& lines) {
    context().commands.compileAndOfferToSave(lines, [this] { close(); });
}

void ObjectAssistantWindow::Button1Click() {
    runCommand([this] {
        generate(creatureFromParentsSource(selectedToken(FileListBox1), selectedToken(FileListBox2),
                                           m_creatureChoices.chosenSex(),
                                           m_creatureChoices.chosenForm()));
    });
}

void ObjectAssistantWindow::Button4Click() {
    runCommand([this] {
        generate(cloneSource(selectedToken(FileListBox3), m_cloneChoices.chosenSex(),
                             m_cloneChoices.chosenForm()));
    });
}

void ObjectAssistantWindow::Button2Click() {
    std::array<ChemicalDose, kInfusionChemicals> doses;
    for (std::size_t k = 0; k < kInfusionChemicals; ++k) {
        doses[k].chemical = std::max(0, m_chemicals[k]->currentIndex());
        doses[k].amount = toStdString(m_amounts[k]->text());
    }
    generate(infusionSource(doses));
}

}  // namespace vek::ui
