#include "objects/ui/object_compiler_window.h"

#include <QAction>
#include <QDropEvent>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/file_io.h"
#include "app/file_lookup.h"
#include "app/scope_exit.h"
#include "app/settings.h"
#include "app/text_names.h"
#include "app/ui/file_drop.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/recent_menu.h"
#include "app/ui/undo_binding.h"
#include "app/vek_error.h"
#include "language/ui/macro_editors.h"
#include "objects/animation_plan.h"
#include "objects/installation_facts.h"
#include "objects/macro_insertion.h"
#include "objects/ui/animation_preview_window.h"
#include "objects/ui/cob_injector_page.h"
#include "objects/ui/editor_page.h"
#include "objects/ui/picture_page.h"
#include "objects/ui/settings_page.h"
#include "objects/ui/source_page.h"

namespace vek::ui {

namespace {

const QString kCobFilter = QStringLiteral("*.COB (*.COB *.cob)");
const QString kSourceFilter = QStringLiteral("*.COS (*.COS *.cos)");
const QStringList kObjectDrops{QStringLiteral(".cos"), QStringLiteral(".cob"),
                               QStringLiteral(".rcb")};

}  // namespace

ObjectCompilerWindow::ObjectCompilerWindow(AppContext& context, ObjectDocument& document,
                                           MacroSender sendMacro, const PaletteTable& palette,
                                           PictureSource& pictures)
    : VekWindow(context, QStringLiteral("TForm2"), QStringLiteral("COB-Compiler")),
      m_document(document),
      m_pictures(pictures),
      m_observation(
          document.observe([this](const ObjectDocumentEvent& event) { documentChanged(event); })),
      m_palette(palette) {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(m_pages);
    m_sourcePage = new SourcePage(context, document);
    m_editorPage = new EditorPage(context, document);
    m_settingsPage = new SettingsPage(document);
    m_picturePage = new PicturePage(context, document, palette, pictures);
    auto* injectorPage = new QWidget;
    injectorPage->setObjectName(QStringLiteral("TabSheet4"));
    auto* injectorLayout = new QVBoxLayout(injectorPage);
    injectorLayout->setContentsMargins(0, 0, 0, 0);
    m_injector = new CobInjectorPage(context, document, std::move(sendMacro), injectorPage);
    injectorLayout->addWidget(m_injector);
    connect(m_injector, &CobInjectorPage::objectLoaded, this,
            &ObjectCompilerWindow::showEditorPage);
    connect(m_injector, &CobInjectorPage::noteChanged, this, &ObjectCompilerWindow::showNote);
    m_injector->setLoadQuestion([this] { return mayReplaceChangedSource(); });

    m_pages->addTab(m_sourcePage, QStringLiteral("Source (COS)"));
    m_pages->addTab(m_editorPage, QStringLiteral("Editor (COB)"));
    // A page takes its caption once it is in the page control.
    m_pages->addTab(m_settingsPage, QString());
    tagControl(m_settingsPage, Tag::SettingsPage);
    m_pages->addTab(m_picturePage, QString());
    tagControl(m_picturePage, Tag::PicturePage);
    m_pages->addTab(injectorPage, QStringLiteral("COB Injector"));
    createMenus();
    connect(m_sourcePage, &SourcePage::loadClicked, this, &ObjectCompilerWindow::Button6Click);
    connect(m_sourcePage, &SourcePage::saveClicked, this, &ObjectCompilerWindow::Button7Click);
    connect(m_sourcePage, &SourcePage::compileClicked, this, &ObjectCompilerWindow::Button8Click);
    connect(m_sourcePage, &SourcePage::injectClicked, m_injector, &CobInjectorPage::injectCommand);
    connect(m_sourcePage, &SourcePage::findWanted, this, &ObjectCompilerWindow::showSourcePage);
    m_noteLine = new QLabel(statusBar());
    m_noteLine->setObjectName(QStringLiteral("NoteLine"));
    statusBar()->addPermanentWidget(m_noteLine, 1);
    // The note stays until the next command.
    connect(menuBar(), &QMenuBar::triggered, this, [this] { showNote({}); });
    resize(640, 480);
    setAcceptDrops(true);
    // The source text takes dropped text itself; dropped object files and sources go to the
    // window.
    sourceText()->viewport()->installEventFilter(this);
}

ObjectCompilerWindow::~ObjectCompilerWindow() = default;

void ObjectCompilerWindow::FormCreate() {
    context().startup.trace(QStringLiteral("Compiler setup..."));
    m_picturePage->showFirstPicture();
}

void ObjectCompilerWindow::createMenus() {
    auto addMenu = [this](const char* name, const QString& title, int tag) {
        return addTaggedMenu(menuBar(), name, tag, title);
    };
    auto addItem = []<typename Receiver>(QMenu* menu, const char* name, int tag, Receiver* receiver,
                                         void (Receiver::*handler)()) {
        QAction* item = addTaggedItem(menu, name, tag, {});
        connect(item, &QAction::triggered, receiver, handler);
        return item;
    };
    using W = ObjectCompilerWindow;

    QMenu* source = addMenu("Source1", QStringLiteral("&Source"), 0);
    // Edit stands second, where it usually does.
    QMenu* edit = addBilingualMenu(menuBar(), "EditMenu1", Msg::EditMenu);
    addUndoItems(edit, m_document.undoStack(), context());
    addFindItems(edit);
    addItem(source, "New2", Tag::NewWithAssistant, this, &W::Button10Click);
    source->addSeparator();
    addItem(source, "LoadSourceFileCOS1", Tag::LoadSourceFile, this, &W::Button6Click)
        ->setShortcut(QKeySequence::Open);
    addRecentMenu(source, context().files, RecentKind::Sources,
                  [this](const QString& recent) { loadSourceFile(recent); });
    addItem(source, "SaveSourceFileCOS1", Tag::SaveSourceFile, this, &W::Button7Click)
        ->setShortcut(QKeySequence::Save);
    source->addSeparator();
    addItem(source, "CompiletoCOB1", Tag::CompileSource, this, &W::Button8Click);
    addItem(source, "DiscompiletoCOS1", Tag::DiscompileCob, this, &W::Button11Click);
    source->addSeparator();
    QAction* format = addBilingualItem(source, "FormatSource1", Msg::FormatSourceItem);
    format->setShortcut(QStringLiteral("Ctrl+Shift+F"));
    connect(format, &QAction::triggered, this,
            [this] { runCommand([this] { m_sourcePage->formatSource(); }); });
    QAction* preview = addBilingualItem(source, "PreviewAnimation1", Msg::PreviewAnimationCaption);
    preview->setShortcut(QStringLiteral("Ctrl+Shift+A"));
    connect(preview, &QAction::triggered, this,
            [this] { runCommand([this] { previewAnimationAtCaret(); }); });
    source->addSeparator();
    addInstallationCheckItems(source);

    QMenu* cob = addMenu("File1", QStringLiteral("&COB"), 0);
    addItem(cob, "New1", Tag::NewCob, this, &W::New1Click);
    cob->addSeparator();
    addItem(cob, "LoadCOB1", Tag::LoadCobFile, this, &W::LoadCOB1Click);
    addItem(cob, "SaveCOB1", Tag::SaveCobFile, this, &W::SaveCOB1Click);
    cob->addSeparator();
    addItem(cob, "Inject2", Tag::InjectCob, m_injector, &CobInjectorPage::injectCommand);
    QAction* checking = addBilingualItem(cob, "CheckMacros1", Msg::CheckMacrosItem);
    checking->setCheckable(true);
    checking->setChecked(macroCheckingOn(context().settings));
    connect(checking, &QAction::toggled, this, [this](bool on) {
        runCommand([this, on] { writeMacroChecking(context().settings, on); });
    });

    QMenu* assistant = addMenu("Assistent1", QStringLiteral("&Assistent"), 0);
    addItem(assistant, "COBAssistent1", Tag::CobAssistant, this, &W::COBAssistent1Click);

    QMenu* tools = addMenu("Tools1", QString(), Tag::CompilerToolsMenu);
    addItem(tools, "KillEdit1", Tag::KillEdit, m_injector, &CobInjectorPage::killEditCommand);
    tools->addSeparator();
    QAction* vivarium = addBilingualItem(tools, "Vivarium1", Msg::VivariumToolsItem);
    connect(vivarium, &QAction::triggered, this, [this] { context().commands.showVivarium(); });
}

void ObjectCompilerWindow::addFindItems(QMenu* edit) {
    edit->addSeparator();
    const struct {
        const char* action;
        Bilingual caption;
        bool separatorBefore;
    } items[] = {{"FindAction", Msg::EditFindItem, false},
                 {"ReplaceAction", Msg::EditReplaceItem, false},
                 {"FindNextAction", Msg::EditFindNextItem, false},
                 {"FindPreviousAction", Msg::EditFindPreviousItem, false},
                 {"GoToLineAction", Msg::EditGoToLineItem, true}};
    for (const auto& item : items) {
        auto* action = m_sourcePage->findChild<QAction*>(QLatin1String(item.action),
                                                         Qt::FindDirectChildrenOnly);
        if (!action) continue;
        if (item.separatorBefore) edit->addSeparator();
        setBilingualCaption(action, textOf(item.caption), context().look.language());
        edit->addAction(action);
    }
}

void ObjectCompilerWindow::addInstallationCheckItems(QMenu* source) {
    QMenu* checks = addBilingualMenu(source, "InstallationChecks1", Msg::InstallationChecksMenu);
    const struct {
        const char* name;
        FindingCode code;
        Bilingual caption;
    } items[] = {{"CheckSpriteFiles1", FindingCode::SpriteFileMissing, Msg::CheckSpriteFilesItem},
                 {"CheckImages1", FindingCode::ImageBeyondRange, Msg::CheckImagesItem},
                 {"CheckSounds1", FindingCode::SoundMissing, Msg::CheckSoundsItem},
                 {"CheckClasses1", FindingCode::ClassUnknown, Msg::CheckClassesItem}};
    const std::set<FindingCode> off = switchedOffInstallationChecks(context().settings);
    for (const auto& item : items) {
        QAction* action = addBilingualItem(checks, item.name, item.caption);
        action->setCheckable(true);
        action->setChecked(!off.contains(item.code));
        connect(action, &QAction::toggled, this, [this, code = item.code](bool on) {
            runCommand([this, code, on] {
                writeInstallationCheck(context().settings, code, on);
                m_sourcePage->checkAgain();
            });
        });
    }
}

void ObjectCompilerWindow::setClassLookup(
    std::function<bool(int family, int genus, int species)> knowsClass) {
    m_sourcePage->setClassLookup(std::move(knowsClass));
}

void ObjectCompilerWindow::checkSourceAgain() { m_sourcePage->checkAgain(); }

// ---- the animation preview ------------------------------------------------------------------

void ObjectCompilerWindow::previewAnimationAtCaret() {
    const QPlainTextEdit* text = sourceText();
    // One byte a character, so that the caret's place is the offset into the bytes.
    const std::string source = text->toPlainText().toLatin1().toStdString();
    const auto found =
        animationAtCaret(source, static_cast<std::size_t>(text->textCursor().position()));
    if (!found) throw VekError(Msg::PreviewAnimationNoString);
    if (found->spriteName.empty()) throw VekError(Msg::PreviewAnimationNoSpriteFile);
    // The compiler's own rule: the first four letters name the file in the game's images.
    const std::filesystem::path file = findIgnoringCase(
        pathFromUtf8(context().game.paths().CImagePath), found->spriteName.substr(0, 4) + ".spr");
    showAnimationPreview(file, found->firstImage, found->text);
}

void ObjectCompilerWindow::showAnimationPreview(const std::filesystem::path& file,
                                                std::size_t first, const std::string& text) {
    if (!m_animationPreview)
        m_animationPreview = new AnimationPreviewWindow(this, context(), m_palette, m_pictures);
    m_animationPreview->play(file, first, text);
}

// ---- the pages ------------------------------------------------------------------------------

QPlainTextEdit* ObjectCompilerWindow::sourceText() const { return m_sourcePage->sourceText(); }

bool ObjectCompilerWindow::showGeneratedSource(const std::vector<std::string>& lines) {
    if (!mayReplaceChangedSource()) return false;
    putGeneratedSource(lines);
    return true;
}

void ObjectCompilerWindow::putGeneratedSource(const std::vector<std::string>& lines) {
    runCommand([this, &lines] {
        m_document.replaceSource(joinInsertedLines(lines), kGeneratedSourceLabel);
        m_sourcePage->moveCaretToStart();
        showSourcePage();
    });
}

void ObjectCompilerWindow::showSourcePage() { m_pages->setCurrentWidget(m_sourcePage); }

void ObjectCompilerWindow::showSourcePlace(int line, int column) {
    showSourcePage();
    m_sourcePage->macroText()->moveCaretTo(line, column);
    m_sourcePage->macroText()->setFocus();
}
void ObjectCompilerWindow::showEditorPage() { m_pages->setCurrentWidget(m_editorPage); }

void ObjectCompilerWindow::documentChanged(const ObjectDocumentEvent& event) {
    showNote({});
    // The source was read; the editor page shows the object even if its fields fail next.
    if (event.change == ObjectChange::Compiled) showEditorPage();
}

void ObjectCompilerWindow::showNote(const QString& note) {
    if (m_noteLine) m_noteLine->setText(note);
}

// Values typed and not taken over give way to the object's own when the window comes back.
// The game's folders may have changed while the window was away.
void ObjectCompilerWindow::FormActivate() {
    m_document.restoreFieldsFromObject();
    m_sourcePage->checkAgainIfInstallationChanged();
}

// ---- the source -----------------------------------------------------------------------------

void ObjectCompilerWindow::Button10Click() { context().commands.showNewObjectSource(); }

void ObjectCompilerWindow::COBAssistent1Click() { context().commands.showObjectAssistant(); }

QString ObjectCompilerWindow::sourceFolder() const {
    return context().files.startFolder(RecentKind::Sources, gameMainDirectory());
}

QString ObjectCompilerWindow::gameMainDirectory() const {
    return toQString(context().game.paths().CMainPath);
}

void ObjectCompilerWindow::Button6Click() {
    runCommand([this] {
        const auto chosen = context().dialogs.openFile(context().text(Msg::CompilerOpenSourceTitle),
                                                       sourceFolder(), kSourceFilter);
        if (chosen) loadSourceFile(*chosen);
    });
}

void ObjectCompilerWindow::loadSourceFile(const QString& path) {
    if (!mayReplaceChangedSource()) return;
    runCommand([this, &path] {
        m_document.loadSource(toPath(path));
        m_sourcePage->moveCaretToStart();
        context().files.remember(RecentKind::Sources, path);
        showSourcePage();
    });
}

void ObjectCompilerWindow::dragEnterEvent(QDragEnterEvent* event) {
    acceptFileDrag(event, kObjectDrops);
}

bool ObjectCompilerWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
    if (watched == sourceText()->viewport() && (drag || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (droppedFile(drop->mimeData(), kObjectDrops)) {
            if (drag)
                drop->acceptProposedAction();
            else
                dropEvent(drop);
            return true;
        }
    }
    return VekWindow::eventFilter(watched, event);
}

void ObjectCompilerWindow::dropEvent(QDropEvent* event) {
    if (const auto file = takeFileDrop(event, kObjectDrops)) openObjectFile(*file);
}

void ObjectCompilerWindow::openObjectFile(const QString& path) {
    if (isObjectFileName(toPath(path))) return loadCobFile(path);
    loadSourceFile(path);
}

void ObjectCompilerWindow::Button7Click() {
    runCommand([this] {
        const auto chosen = context().dialogs.saveFile(
            context().text(Msg::CompilerSaveSourceTitle), sourceFolder(), kSourceFilter,
            QStringLiteral("COS"), toQString(m_document.sourceFileName()));
        if (!chosen) return;
        m_document.saveSource(toPath(*chosen));
        context().files.remember(RecentKind::Sources, *chosen);
    });
}

Answer ObjectCompilerWindow::offerToSaveChangedSource(Buttons buttons) {
    if (!m_document.source().changedButNotSaved()) return Answer::Ok;
    const Answer answer = context().ask(kSourceNotSavedBox, buttons);
    if (answer == Answer::Ok || answer == Answer::Yes) Button7Click();
    return answer;
}

bool ObjectCompilerWindow::mayReplaceChangedSource() {
    const Answer answer = offerToSaveChangedSource(Buttons::YesNoCancel);
    // A save dialog that was cancelled, or a save that failed, keeps everything as Cancel does.
    return answer == Answer::No || !m_document.source().changedButNotSaved();
}

void ObjectCompilerWindow::Button11Click() {
    offerToSaveChangedSource(Buttons::OkCancel);
    runCommand([this] {
        // The lines written before a failure stand; the caret goes to the start either way.
        const ScopeExit caret([this] { m_sourcePage->moveCaretToStart(); });
        m_document.discompile();
        showSourcePage();
    });
}

void ObjectCompilerWindow::Button8Click() { compileSourcePage(); }

bool ObjectCompilerWindow::compileSourcePage() {
    bool compiled = false;
    runCommand([this, &compiled] {
        m_document.compileSource({context().game.paths().CImagePath, m_pictures});
        compiled = true;
    });
    // The object is made all the same; the page stays on the source while it has errors.
    if (m_sourcePage->revealErrors()) showSourcePage();
    return compiled;
}

bool ObjectCompilerWindow::compileNewObject(const std::vector<std::string>& lines) {
    if (!mayReplaceChangedSource()) return false;
    const UndoGroup oneStep(m_document.undoStack(), kAssistantLabel);
    m_document.newObject();
    putGeneratedSource(lines);
    return compileSourcePage();
}

// ---- the object -----------------------------------------------------------------------------

void ObjectCompilerWindow::New1Click() {
    if (mayReplaceChangedSource()) m_document.newObject();
}

void ObjectCompilerWindow::LoadCOB1Click() {
    const auto chosen = context().dialogs.openFile(context().text(Msg::CompilerOpenCobTitle),
                                                   gameMainDirectory(), kCobFilter);
    if (chosen) loadCobFile(*chosen);
}

void ObjectCompilerWindow::loadCobFile(const QString& path) {
    if (!mayReplaceChangedSource()) return;
    runCommand([this, &path] {
        m_document.load(toPath(path));
        showEditorPage();
    });
}

void ObjectCompilerWindow::SaveCOB1Click() {
    runCommand([this] {
        const auto chosen = context().dialogs.saveFile(
            context().text(Msg::CompilerSaveCobTitle), gameMainDirectory(), kCobFilter,
            QStringLiteral("COB"), toQString(m_document.objectFileName()));
        if (chosen) m_document.save(toPath(*chosen));
    });
}

void ObjectCompilerWindow::Button1Click() { m_editorPage->newEntry(ObjectList::Scripts); }
void ObjectCompilerWindow::Button2Click() { m_editorPage->newEntry(ObjectList::Imports); }
void ObjectCompilerWindow::Button3Click() { m_editorPage->deleteEntry(ObjectList::Scripts); }
void ObjectCompilerWindow::Button5Click() { m_editorPage->deleteEntry(ObjectList::Imports); }
void ObjectCompilerWindow::Button4Click() { m_picturePage->Button4Click(); }

// ---- window events --------------------------------------------------------------------------

void ObjectCompilerWindow::FormShow() { m_sourcePage->refreshMacroList(); }

bool ObjectCompilerWindow::event(QEvent* event) {
    // Hints go to the main window's hint line alone; this window's status line keeps its note.
    if (event->type() == QEvent::StatusTip) return true;
    return VekWindow::event(event);
}

void ObjectCompilerWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void ObjectCompilerWindow::changeEvent(QEvent* event) {
    VekWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

}  // namespace vek::ui
