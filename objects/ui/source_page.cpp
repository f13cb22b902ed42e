#include "objects/ui/source_page.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>

#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "objects/macro_insertion.h"
#include "objects/object_document.h"

namespace vek::ui {

SourcePage::SourcePage(AppContext& context, ObjectDocument& document) : m_context(context) {
    setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QHBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    layout->addWidget(splitter);

    m_fileListBox1 = new QListWidget(splitter);
    m_fileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    tagControl(m_fileListBox1, 102);
    connect(m_fileListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { FileListBox1DblClick(); });

    m_memo2 = new QPlainTextEdit(splitter);
    m_memo2->setObjectName(QStringLiteral("Memo2"));
    tagControl(m_memo2, 71);
    m_memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo2->setTabChangesFocus(false);
    m_memo2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo2->setTabStopDistance(4 * m_memo2->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    connect(m_memo2, &QPlainTextEdit::textChanged, this,
            [&document] { document.source().textChanged(); });  // Memo2Change

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({150, 490});

    m_memo3 = new QPlainTextEdit(this);
    m_memo3->setObjectName(QStringLiteral("Memo3"));
    m_memo3->hide();

    const struct {
        const char* name;
        int tag;
        void (SourcePage::*clicked)();
    } hiddenButtons[] = {{"Button6", 60, &SourcePage::loadClicked},
                         {"Button7", 61, &SourcePage::saveClicked},
                         {"Button8", 63, &SourcePage::compileClicked},
                         {"Button9", 79, &SourcePage::injectClicked}};
    for (const auto& hidden : hiddenButtons) {
        auto* button = new QPushButton(this);
        button->setObjectName(QLatin1String(hidden.name));
        tagControl(button, hidden.tag);
        button->hide();
        connect(button, &QPushButton::clicked, this, hidden.clicked);
    }
}

std::string SourcePage::sourceUtf8() const { return toStdString(m_memo2->toPlainText()); }

std::vector<std::string> SourcePage::sourceLines() const {
    std::vector<std::string> lines;
    const QStringList texts = m_memo2->toPlainText().split(QLatin1Char('\n'));
    lines.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) lines.push_back(toStdString(text));
    // An empty text is no line at all, not one empty line.
    if (lines.size() == 1 && lines.front().empty()) lines.clear();
    return lines;
}

void SourcePage::setSourceLines(const std::vector<std::string>& lines) {
    // Every text the program puts in place (a file, a discompilation, a generated source) is one
    // edit that Ctrl+Z takes back, not a new text without history.
    QTextCursor cursor(m_memo2->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(toQString(joinInsertedLines(lines)));
    cursor.endEditBlock();
    m_memo2->setTextCursor(QTextCursor(m_memo2->document()));
}

void SourcePage::refreshMacroList() {
    m_fileListBox1->clear();
    for (const std::string& name : macroFileNames(macroDirectory(m_context.programDirectory)))
        m_fileListBox1->addItem(toQString(name));
}

void SourcePage::FileListBox1DblClick() {
    const QListWidgetItem* item = m_fileListBox1->currentItem();
    if (!item) return;
    runGuarded(m_context, [this, item] {
        const auto path = macroDirectory(m_context.programDirectory) / toPath(item->text());
        // The text goes through the hidden box, and replaces the selection at the caret.
        m_memo3->setPlainText(toQString(macroInsertionText(path)));
        QTextCursor cursor = m_memo2->textCursor();
        cursor.insertText(m_memo3->toPlainText());
        m_memo2->setTextCursor(cursor);
    });
}

}  // namespace vek::ui
