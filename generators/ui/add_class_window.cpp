#include "generators/ui/add_class_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/arrow_stepper.h"
#include "app/ui/widgets/wait_cursor.h"
#include "generators/class_catalogue_document.h"

namespace vek::ui {

namespace {

constexpr BilingualBox kFamilyFullBox{Msg::FamilyFullText, Msg::AddCaption};
constexpr BilingualBox kGenusFullBox{Msg::GenusFullText, Msg::AddCaption};

// The fields that are typed take two digits; those taken from the picked entry show all three.
constexpr int kTypedDigits = 2;
constexpr int kShownDigits = 3;

}  // namespace

AddClassWindow::AddClassWindow(AppContext& context, ClassCatalogueDocument& catalogue)
    : VekWindow(context, QStringLiteral("TForm12"), QStringLiteral("Add")), m_catalogue(catalogue) {
    setWindowModality(Qt::ApplicationModal);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    auto* grid = new QGridLayout(client);

    auto addLabel = [grid](const char* name, const QString& text, int tag, int column) {
        auto* label = new QLabel(text);
        label->setObjectName(QLatin1String(name));
        if (tag != 0) tagControl(label, tag);
        grid->addWidget(label, 0, column);
        return label;
    };
    addLabel("Label1", QStringLiteral("Family"), 0, 0);
    addLabel("Label2", QStringLiteral("Genus"), 0, 1);
    Label3 = addLabel("Label3", QStringLiteral("Species"), 0, 2);
    addLabel("Label4", {}, Tag::ClassDescription, 3);

    auto addNumber = [this, grid](QLineEdit*& edit, const char* name, int column,
                                  ArrowStepper** upDown, const char* upDownName) {
        auto* cell = new QHBoxLayout;
        cell->setSpacing(0);
        edit = new QLineEdit(QStringLiteral("0"));
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(kTypedDigits);
        edit->setMaximumWidth(40);
        cell->addWidget(edit);
        if (upDown) {
            *upDown = new ArrowStepper(edit, 0, 99, this);
            (*upDown)->setObjectName(QLatin1String(upDownName));
            (*upDown)->setFixedSize(14, edit->sizeHint().height());
            cell->addWidget(*upDown);
        }
        cell->addStretch();
        grid->addLayout(cell, 1, column);
    };
    addNumber(Edit1, "Edit1", 0, nullptr, nullptr);
    Edit1->setEnabled(false);
    Edit1->setMaxLength(kShownDigits);
    addNumber(Edit2, "Edit2", 1, &UpDown2, "UpDown2");
    addNumber(Edit3, "Edit3", 2, &UpDown3, "UpDown3");
    Edit4 = new QLineEdit;
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->setMinimumWidth(180);
    grid->addWidget(Edit4, 1, 3);

    auto* button1 = new QPushButton;
    button1->setObjectName(QStringLiteral("Button1"));
    tagControl(button1, Tag::AddClass);
    connect(button1, &QPushButton::clicked, this, &AddClassWindow::Button1Click);
    grid->addWidget(button1, 1, 4);
}

void AddClassWindow::FormCreate() {}

void AddClassWindow::showForSelection() {
    const std::optional<AddSuggestion> suggestion = m_catalogue.suggestion();
    if (!suggestion) return;
    if (suggestion->full) {
        context().ask(suggestion->genus ? kFamilyFullBox : kGenusFullBox, Buttons::Ok);
        return;
    }
    m_addingGenus = suggestion->genus;
    setWindowTitle(m_addingGenus ? QStringLiteral("Add new GENUS")
                                 : QStringLiteral("Add new SPECIES"));
    Edit1->setText(QString::number(suggestion->family));
    Edit2->setMaxLength(m_addingGenus ? kTypedDigits : kShownDigits);
    Edit2->setText(QString::number(suggestion->genusNumber));
    Edit2->setEnabled(m_addingGenus);
    UpDown2->setVisible(m_addingGenus);
    for (QWidget* speciesPart : std::initializer_list<QWidget*>{Edit3, UpDown3, Label3})
        speciesPart->setVisible(!m_addingGenus);
    if (m_addingGenus) {
        UpDown2->setMinimum(suggestion->genusNumber);
    } else {
        Edit3->setText(QString::number(suggestion->speciesNumber));
        UpDown3->setMinimum(suggestion->speciesNumber);
    }
    adjustSize();
    show();
    centreOnScreen();
    raise();
}

void AddClassWindow::Button1Click() {
    const WaitCursor wait;
    runCommand([this] {
        m_catalogue.addUnderSelection(
            newEntryText(m_addingGenus, toStdString(Edit1->text()), toStdString(Edit2->text()),
                         toStdString(Edit3->text()), toStdString(Edit4->text())));
    });
}

}  // namespace vek::ui
