#include "objects/ui/cob_injector_page.h"

#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/file_io.h"
#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/language.h"
#include "app/ui/macro_report.h"
#include "app/ui/qt_convert.h"
#include "app/ui/widgets/wait_cursor.h"
#include "language/ui/findings_list.h"
#include "objects/injection.h"
#include "objects/object_document.h"

namespace vek::ui {

namespace {

bool isObjectFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".COB";
}

}  // namespace

CobInjectorPage::CobInjectorPage(AppContext& context, ObjectDocument& document,
                                 MacroSender sendMacro, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_document(document),
      m_sendMacro(std::move(sendMacro)),
      m_wait(waitPainting) {
    setObjectName(QStringLiteral("CobInjectorPage"));
    auto* layout = new QVBoxLayout(this);
    m_fileListBox2 = new QListWidget(this);
    m_fileListBox2->setObjectName(QStringLiteral("FileListBox2"));
    tagControl(m_fileListBox2, Tag::CobFileList);
    connect(m_fileListBox2, &QListWidget::itemDoubleClicked, this,
            &CobInjectorPage::FileListBox2DblClick);
    layout->addWidget(m_fileListBox2);
}

void CobInjectorPage::showEvent(QShowEvent* event) {
    refreshFileList();
    QWidget::showEvent(event);
}

void CobInjectorPage::refreshFileList() {
    m_fileListBox2->clear();
    const std::string& main = m_context.game.paths().CMainPath;
    if (main.empty()) return;
    std::error_code error;
    QStringList names;
    for (std::filesystem::directory_iterator it(pathFromUtf8(main), error), end;
         !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && isObjectFile(it->path()))
            names << fromPath(it->path().filename());
    }
    names.sort(Qt::CaseInsensitive);
    m_fileListBox2->addItems(names);
}

void CobInjectorPage::FileListBox2DblClick() {
    QListWidgetItem* item = m_fileListBox2->currentItem();
    if (!item || !m_mayLoad()) return;
    const QString path = toQString(m_context.game.paths().CMainPath) + item->text();
    // A file that cannot be read stops here with its error; nothing is injected.
    if (!runGuarded(m_context, [this, &path] { m_document.load(toPath(path)); })) return;
    Q_EMIT objectLoaded();
    injectCommand();
}

void CobInjectorPage::injectCommand() {
    bool mayGo = false;
    runGuarded(m_context, [this, &mayGo] {
        const InjectionCheck check = checkBeforeInjecting(m_document);
        mayGo = mayGoDespiteErrors(
            m_context, check.findings, Msg::InjectDespiteErrors,
            check.atSourceLines ? Msg::FindingLinePlace : Msg::FindingScriptPlace);
    });
    if (!mayGo) return;
    QWidget* compiler = window();
    const QString savedTitle = compiler->windowTitle();
    InjectionSteps steps;
    steps.sendMacro = m_sendMacro;
    steps.askOkCancel = [this](const BilingualBox& box) {
        return m_context.ask(box, Buttons::OkCancel) == Answer::Ok;
    };
    steps.showMessage = [this](const BilingualText& text, const Bilingual& caption) {
        m_context.dialogs.message(toQString(text.in(m_context.look.language())),
                                  m_context.text(caption), Buttons::Ok);
    };
    // The window shows each step while the link blocks it.
    steps.showProgress = [this, compiler](const std::string& title) {
        Q_EMIT noteChanged(m_context.text(Msg::InjectingNote));
        compiler->setWindowTitle(toQString(title));
        paintNow(compiler);
    };
    steps.restoreTitle = [compiler, savedTitle] { compiler->setWindowTitle(savedTitle); };
    steps.wait = m_wait;
    bool arrived = false;
    runGuarded(m_context, [&] {
        // Sending and the wait take no input, with the busy cursor showing.
        const InjectionResult result = whileBusy([&] {
            return injectObject(m_document.cob(), sourceBeforeInjecting(m_document),
                                m_context.look.language(), steps);
        });
        arrived = result.outcome == InjectionOutcome::Injected &&
                  reportMacroProblems(m_context, result.sent);
    });
    const BilingualText note = injectedNote(m_target(), m_document.cob().name);
    Q_EMIT noteChanged(arrived ? toQString(note.in(m_context.look.language())) : QString());
}

void CobInjectorPage::killEditCommand() {
    runGuarded(m_context, [this] {
        const SentMacro sent = whileBusy([this] { return killEditObject(m_sendMacro); });
        if (reportMacroProblems(m_context, {&sent, 1}))
            Q_EMIT noteChanged(sentNote(m_context, sent.macro));
    });
}

}  // namespace vek::ui
