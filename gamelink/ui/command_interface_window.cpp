#include "gamelink/ui/command_interface_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/macro_report.h"
#include "app/ui/qt_convert.h"
#include "app/ui/status_note.h"
#include "app/ui/widgets/wait_cursor.h"
#include "gamelink/creatures.h"
#include "gamelink/macro_extraction.h"
#include "language/ui/findings_list.h"
#include "language/ui/macro_editors.h"

namespace vek::ui {

namespace {

constexpr int kFieldWidth = 589;
constexpr int kMemoHeight = 133;

// The game's line breaks as the text field shows them.
QString withPlainLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

CommandInterfaceWindow::CommandInterfaceWindow(AppContext& context, TCreatures& creatures,
                                               CheckOptions checking)
    : VekWindow(context, QStringLiteral("TForm10"),
                QStringLiteral("Creatures Online Command Interface")),
      m_creatures(creatures) {
    // A sizeable tool window with only a close box.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    // The designed captions differ from the table's; the first language switch replaces them.
    m_macFiles1 =
        addTaggedMenu(menuBar(), "MACfiles1", Tag::MacFilesMenu, QStringLiteral("MAC files"));
    m_extract = addTaggedItem(m_macFiles1, "Extractallmakrosandsaveasmakfiles1", Tag::ExtractMacros,
                              QStringLiteral("Extract all makros and save as .mak files"));
    connect(m_extract, &QAction::triggered, this,
            &CommandInterfaceWindow::Extractallmakrosandsaveasmakfiles1Click);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(5, 4, 5, 5);
    layout->setSpacing(3);

    m_label2 = new QLabel(central);
    m_label2->setObjectName(QStringLiteral("Label2"));
    tagControl(m_label2, Tag::SendToCreatures);
    m_label2->setText(QStringLiteral("Send to Creatures:"));
    m_edit1 = new MacroLineEdit(context.look, checking, central);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setMinimumWidth(kFieldWidth);
    connect(m_edit1, &QLineEdit::returnPressed, this, &CommandInterfaceWindow::Button1Click);

    m_label3 = new QLabel(central);
    m_label3->setObjectName(QStringLiteral("Label3"));
    tagControl(m_label3, Tag::AnswerFromCreatures);
    m_label3->setText(QStringLiteral("Answer from Creatures:"));
    m_button1 = new QPushButton(central);
    m_button1->setObjectName(QStringLiteral("Button1"));
    tagControl(m_button1, Tag::SendNow);
    m_button1->setText(QStringLiteral("Send it"));
    connect(m_button1, &QPushButton::clicked, this, &CommandInterfaceWindow::Button1Click);

    m_memo1 = new QPlainTextEdit(central);
    m_memo1->setObjectName(QStringLiteral("Memo1"));
    m_memo1->setMinimumSize(kFieldWidth, kMemoHeight);

    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(m_label3, 1, Qt::AlignBottom);
    answerRow->addWidget(m_button1);

    layout->addWidget(m_label2);
    layout->addWidget(m_edit1);
    layout->addLayout(answerRow);
    layout->addWidget(m_memo1, 1);
    setCentralWidget(central);
    resize(600, 241);
}

void CommandInterfaceWindow::FormCreate() {}

QLineEdit* CommandInterfaceWindow::edit1() const { return m_edit1; }

void CommandInterfaceWindow::Button1Click() {
    runCommand([this] {
        // What is typed goes as it stands; only the question may hold it back.
        if (!mayGoDespiteErrors(context(), m_edit1->findings(), Msg::SendDespiteErrors,
                                Msg::FindingLinePlace))
            return;
        const std::string macro = "inst," + toStdString(m_edit1->text()) + ",endm";
        const SentMacro sent{macro, whileBusy([&] { return m_creatures.SendMacro(macro); })};
        const QString answer = toQString(sent.outcome.answer);
        m_memo1->setPlainText(withPlainLineBreaks(answer));
        // English in both languages until the next language switch.
        m_label3->setText(
            QStringLiteral("Answer from Creatures (%1 Characters):").arg(answer.size()));
        if (reportMacroProblems(context(), {&sent, 1})) showNote(this, sentNote(context(), macro));
    });
}

void CommandInterfaceWindow::Extractallmakrosandsaveasmakfiles1Click() {
    const WaitCursor busy;
    m_memo1->clear();
    runCommand([this] {
        extractAllMacros(
            [this](std::string_view macro) {
                return m_creatures.SendMacro(macro).answerIfReached();
            },
            context().files.file("mac"), context().look.language(),
            [this](const std::string& line) {
                m_memo1->appendPlainText(toQString(line));
                // Shows the line at once; the user's input waits until the run ends.
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
    });
}

}  // namespace vek::ui
