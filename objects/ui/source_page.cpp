#include "objects/ui/source_page.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/undo_binding.h"
#include "language/layout.h"
#include "language/ui/editor_status_line.h"
#include "language/ui/find_bar.h"
#include "language/ui/findings_list.h"
#include "language/ui/macro_editors.h"
#include "language/ui/outline_view.h"
#include "language/ui/source_model_link.h"
#include "objects/installation_facts.h"
#include "objects/macro_insertion.h"
#include "objects/object_check.h"
#include "objects/object_document.h"
#include "objects/script_events.h"
#include "objects/source_lines.h"

namespace vek::ui {

SourcePage::SourcePage(AppContext& context, ObjectDocument& document)
    : m_context(context),
      m_document(document),
      m_installation(context.game),
      m_observation(document.observe([this](const ObjectDocumentEvent& event) {
          if (event.change == ObjectChange::SourceEdited) showSource();
          showStatus();
      })) {
    setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(this);
    // The findings of the check lie under the list and the text.
    auto* pageSplitter = new QSplitter(Qt::Vertical, this);
    layout->addWidget(pageSplitter);
    auto* splitter = new QSplitter(Qt::Horizontal, pageSplitter);

    m_fileListBox1 = new QListWidget(splitter);
    m_fileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    tagControl(m_fileListBox1, Tag::MacFileList);
    connect(m_fileListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { FileListBox1DblClick(); });

    // The find bar stands under the text it searches.
    auto* textArea = new QWidget(splitter);
    auto* textLayout = new QVBoxLayout(textArea);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->setSpacing(0);
    m_memo2 = new MacroTextEdit(context.look, textArea);
    textLayout->addWidget(m_memo2);
    m_memo2->setObjectName(QStringLiteral("Memo2"));
    tagControl(m_memo2, Tag::SourceText);
    m_memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setTabChangesFocus(false);
    m_memo2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo2->setTabStopDistance(4 * m_memo2->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    // The language's checks, and those against the installation the program works with.
    CheckOptions options = objectCheckOptions();
    options.switchedOff = switchedOffInstallationChecks(context.settings);
    auto check = std::make_unique<SourceCheck>(std::move(options));
    check->setInstallationSource([this] { return m_installation.current(); });
    m_check = check.get();
    m_memo2->setChecking(sourceLineReading, std::move(check));
    m_memo2->showLineNumbers();
    m_memo2->setAutoIndent(true);
    connect(m_memo2, &QPlainTextEdit::textChanged, this, &SourcePage::Memo2Change);
    // After the document took the text, its changed state is the status line's.
    connect(m_memo2, &QPlainTextEdit::textChanged, this, &SourcePage::showStatus);
    bindTextUndo(m_memo2, document.undoStack(), context);
    // A rename or a toggled comment is one step of the document, named as the Edit menu shows it.
    m_memo2->setWholeTextReplacer([this](const std::string& text, const Bilingual& label) {
        m_document.replaceSource(text, label);
    });
    m_memo2->setLabelNameAsker([this](const std::string& name) -> std::optional<std::string> {
        const std::optional<QString> answer = m_context.dialogs.askText(
            m_context.text(Msg::SourceRenameLabel), m_context.text(Msg::SourceRenameLabelPrompt),
            toQString(name));
        if (!answer) return std::nullopt;
        return toStdString(answer->trimmed());
    });
    m_findBar = new FindBar(
        context.look, m_memo2,
        [this](const std::string& text, const Bilingual& label) {
            m_document.replaceSource(text, label);
        },
        textArea);
    textLayout->addWidget(m_findBar);
    m_findBar->bindKeys(this);
    connect(m_findBar, &FindBar::wanted, this, &SourcePage::findWanted);
    connect(m_findBar, &FindBar::matchesMarked, m_memo2, &MacroTextEdit::setFoundMatches);

    m_outline = new OutlineView(context.look, scriptEventTable().texts(),
                                scriptEventTable().germanTexts(), splitter);
    connect(m_outline, &OutlineView::entryChosen, m_memo2, &MacroTextEdit::jumpTo);
    m_outlineDue = new QTimer(this);
    m_outlineDue->setSingleShot(true);
    m_outlineDue->setInterval(300);
    connect(m_outlineDue, &QTimer::timeout, this,
            [this] { m_outline->setSource(m_memo2->sourceModel()->model()); });
    connect(m_memo2, &QPlainTextEdit::textChanged, m_outlineDue, qOverload<>(&QTimer::start));

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setStretchFactor(2, 0);
    splitter->setSizes({130, 400, 150});

    m_findings = new FindingsList(context.look, pageSplitter);
    connect(m_memo2->sourceModel(), &SourceModelLink::findingsChanged, this,
            [this] { m_findings->setFindings(m_memo2->findings()); });
    connect(m_findings, &FindingsList::findingChosen, m_memo2, &MacroTextEdit::moveCaretTo);
    pageSplitter->setStretchFactor(0, 1);
    pageSplitter->setStretchFactor(1, 0);
    pageSplitter->setSizes({330, 70});
    m_status = new EditorStatusLine(context.look, m_memo2, this);
    layout->addWidget(m_status);
    showStatus();

    m_memo3 = new QPlainTextEdit(this);
    m_memo3->setObjectName(QStringLiteral("Memo3"));
    m_memo3->hide();

    const struct {
        const char* name;
        int tag;
        void (SourcePage::*clicked)();
    } hiddenButtons[] = {{"Button6", Tag::LoadSource, &SourcePage::loadClicked},
                         {"Button7", Tag::SaveSource, &SourcePage::saveClicked},
                         {"Button8", Tag::CompileButton, &SourcePage::compileClicked},
                         {"Button9", Tag::Inject, &SourcePage::injectClicked}};
    for (const auto& hidden : hiddenButtons) {
        auto* button = new QPushButton(this);
        button->setObjectName(QLatin1String(hidden.name));
        tagControl(button, hidden.tag);
        button->hide();
        connect(button, &QPushButton::clicked, this, hidden.clicked);
    }
}

void SourcePage::Memo2Change() {
    m_typing = true;
    m_document.typeSource(toStdString(m_memo2->toPlainText()));
    m_typing = false;
}

void SourcePage::showSource() {
    if (!m_typing) mirrorText(m_memo2, toQString(m_document.sourceText()));
}

void SourcePage::showStatus() {
    if (m_status)
        m_status->setFile(m_document.sourceFileName(), m_document.source().changedButNotSaved());
}

void SourcePage::formatSource() {
    const std::string& text = m_document.sourceText();
    const std::string laidOut = formatSourceText(text, sourceLineReading);
    if (laidOut == text) return;
    const int line = m_memo2->textCursor().blockNumber() + 1;
    m_document.replaceSource(laidOut, Msg::ObjectFormatSourceLabel);
    m_memo2->moveCaretTo(line, 1);
}

QPlainTextEdit* SourcePage::sourceText() const { return m_memo2; }

bool SourcePage::revealErrors() {
    const std::span<const Finding> findings = m_memo2->findings();
    const auto error = std::find_if(findings.begin(), findings.end(),
                                    [](const Finding& finding) { return finding.isError(); });
    if (error == findings.end()) return false;
    // A list the user dragged shut opens to the height it starts with.
    auto* splitter = static_cast<QSplitter*>(m_findings->parentWidget());
    const QList<int> sizes = splitter->sizes();
    constexpr int kListHeight = 70;
    if (sizes.size() == 2 && sizes[1] < kListHeight)
        splitter->setSizes({sizes[0] + sizes[1] - kListHeight, kListHeight});
    m_findings->setCurrentRow(static_cast<int>(error - findings.begin()));
    m_findings->scrollToItem(m_findings->currentItem());
    return true;
}

void SourcePage::setClassLookup(InstallationFactsCache::ClassLookup knowsClass) {
    m_installation.setClassLookup(std::move(knowsClass));
    checkAgain();
}

void SourcePage::checkAgain() {
    m_check->checkAgain(switchedOffInstallationChecks(m_context.settings));
    m_memo2->sourceModel()->takeCheckFindings();
}

void SourcePage::checkAgainIfInstallationChanged() {
    const std::shared_ptr<const InstallationFacts> held = m_installation.held();
    if (held && m_installation.current() != held) checkAgain();
}

void SourcePage::moveCaretToStart() { m_memo2->setTextCursor(QTextCursor(m_memo2->document())); }

void SourcePage::refreshMacroList() {
    m_fileListBox1->clear();
    for (const std::string& name : macroFileNames(macroDirectory(m_context.files.directory())))
        m_fileListBox1->addItem(toQString(name));
}

void SourcePage::FileListBox1DblClick() {
    const QListWidgetItem* item = m_fileListBox1->currentItem();
    if (!item) return;
    runGuarded(m_context, [this, item] {
        const auto path = macroDirectory(m_context.files.directory()) / toPath(item->text());
        // The text goes through the hidden box, and replaces the selection at the caret.
        m_memo3->setPlainText(toQString(macroInsertionText(path)));
        const QTextCursor cursor = m_memo2->textCursor();
        QString text = m_memo2->toPlainText();
        text.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
                     m_memo3->toPlainText());
        const int caret = cursor.selectionStart() + static_cast<int>(m_memo3->toPlainText().size());
        m_document.replaceSource(toStdString(text), kMacroInsertionLabel);
        QTextCursor after(m_memo2->document());
        after.setPosition(caret);
        m_memo2->setTextCursor(after);
    });
}

}  // namespace vek::ui
