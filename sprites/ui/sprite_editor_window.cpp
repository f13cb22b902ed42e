#include "sprites/ui/sprite_editor_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/file_io.h"
#include "app/settings.h"
#include "app/text_names.h"
#include "app/ui/file_drop.h"
#include "app/ui/game_check.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/recent_menu.h"
#include "app/ui/status_note.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/designed_layout.h"
#include "app/ui/widgets/multi_shape.h"
#include "app/ui/widgets/wait_cursor.h"
#include "app/vek_error.h"
#include "sprites/bitmap_converter.h"
#include "sprites/picture_file.h"
#include "sprites/sprite_merge.h"
#include "sprites/sprite_palette.h"
#include "sprites/sprite_pictures.h"
#include "sprites/sprite_render.h"
#include "sprites/ui/palette_view.h"
#include "sprites/ui/sprite_canvas.h"

namespace vek::ui {

namespace {

constexpr int kClientWidth = 422;
constexpr int kClientHeight = 382;
constexpr int kStripHeight = 89;
constexpr int kListWidth = 117;
constexpr int kPanelMargin = 4;
constexpr int kPanelExtra = 9;  // the frame is this much larger than the picture
constexpr int kSwatchSize = 25;
constexpr int kSwatchFrameSize = 33;

const QString kCaption = QStringLiteral("Sprite Editor");
const QString kSpriteFilter = QStringLiteral("*.SPR (*.SPR *.spr)");
const QString kSpriteExtension = QStringLiteral("SPR");
const QString kMergeFilter = QStringLiteral("Creatures Sprite File (*.SPR *.spr)");

constexpr BilingualBox kClearQuestion{Msg::SpriteEditorClearQuestionText,
                                      Msg::SpriteEditorClearQuestionCaption};
constexpr BilingualBox kSpriteNotSavedBox{Msg::SpriteEditorSpriteNotSavedBoxText,
                                          Msg::SpriteEditorSpriteNotSavedBoxCaption};

const QStringList kSpriteDrops{QStringLiteral(".spr")};

QKeySequence ctrl(Qt::Key key, Qt::KeyboardModifiers more = {}) {
    return QKeySequence(QKeyCombination(Qt::ControlModifier | more, key));
}

// The tools of the strip, with their keys.
struct ToolItem {
    const char* name;
    Bilingual caption;
    QKeySequence key;
    SpriteToolKind tool;
};
QKeySequence shifted(Qt::Key key) { return QKeySequence(QKeyCombination(Qt::ShiftModifier, key)); }

const ToolItem kToolItems[] = {
    {"PencilTool1", Msg::SpriteToolPencilCaption, QKeySequence(Qt::Key_P), SpriteToolKind::Pencil},
    {"BrushTool1", Msg::SpriteToolBrushCaption, QKeySequence(Qt::Key_B), SpriteToolKind::Brush},
    {"EraserTool1", Msg::SpriteToolEraserCaption, QKeySequence(Qt::Key_E), SpriteToolKind::Eraser},
    {"LineTool1", Msg::SpriteToolLineCaption, QKeySequence(Qt::Key_L), SpriteToolKind::Line},
    {"RectangleTool1", Msg::SpriteToolRectangleCaption, QKeySequence(Qt::Key_R),
     SpriteToolKind::Rectangle},
    {"FilledRectangleTool1", Msg::SpriteToolFilledRectangleCaption, shifted(Qt::Key_R),
     SpriteToolKind::FilledRectangle},
    {"EllipseTool1", Msg::SpriteToolEllipseCaption, QKeySequence(Qt::Key_O),
     SpriteToolKind::Ellipse},
    {"FilledEllipseTool1", Msg::SpriteToolFilledEllipseCaption, shifted(Qt::Key_O),
     SpriteToolKind::FilledEllipse},
    {"FillTool1", Msg::SpriteToolFillCaption, QKeySequence(Qt::Key_G), SpriteToolKind::Fill},
    {"EyedropperTool1", Msg::SpriteToolEyedropperCaption, QKeySequence(Qt::Key_I),
     SpriteToolKind::Eyedropper},
    {"SelectTool1", Msg::SpriteToolSelectCaption, QKeySequence(Qt::Key_S), SpriteToolKind::Select},
};

// Whether VEK.INI asks for the pixel grid: on unless "0".
const char* const kGridKey = "Grid";

}  // namespace

SpriteEditorWindow::SpriteEditorWindow(AppContext& context, SpriteDocument& document,
                                       PaletteTable& palette)
    : VekWindow(context, QStringLiteral("TForm1"), kCaption),
      m_document(document),
      m_editing(document, palette),
      m_observation(
          document.observe([this](const SpriteDocumentEvent& event) { documentChanged(event); })),
      m_editingObservation(
          m_editing.observe([this](SpriteEditingChange change) { editingChanged(change); })) {
    m_document.setLeaveQuestion([this] { return askToLeaveChangedSprite(); });
    m_editing.setQuestions(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("Times New Roman"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    buildMenus();
    buildControls();
    m_stateLine = new QLabel(statusBar());
    m_stateLine->setObjectName(QStringLiteral("StateLine"));
    statusBar()->addWidget(m_stateLine, 1);
    // The pixel or colour under the pointer stays beside the hints, which replace only the
    // state line.
    m_readout = new QLabel(statusBar());
    m_readout->setObjectName(QStringLiteral("PointerReadout"));
    m_readout->setContentsMargins(12, 0, 0, 0);
    statusBar()->addPermanentWidget(m_readout);
    enableCommands();
    showState();
    // Wide enough for every tool of the strip, not only for the designed controls below it.
    resize(std::max(kClientWidth, m_toolStrip->sizeHint().width()),
           kClientHeight + menuBar()->sizeHint().height() + m_toolStrip->sizeHint().height() +
               statusBar()->sizeHint().height());
    setAcceptDrops(true);
}

SpriteEditorWindow::~SpriteEditorWindow() { m_document.setLeaveQuestion({}); }

QAction* SpriteEditorWindow::addMenuItem(QMenu* menu, const char* name, int tag,
                                         void (SpriteEditorWindow::*handler)()) {
    QAction* action = addTaggedItem(menu, name, tag, {});
    if (handler) connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction* SpriteEditorWindow::addCommandItem(QMenu* menu, const char* name, int tag,
                                            const Command<>& command) {
    QAction* action = addMenuItem(menu, name, tag);
    connect(action, &QAction::triggered, this, [&command] { command(); });
    return action;
}

QAction* SpriteEditorWindow::bindCommand(QAction* item, SpriteCommand command) {
    m_commands.emplace_back(item, std::move(command));
    const std::size_t at = m_commands.size() - 1;
    connect(item, &QAction::triggered, this, [this, at] { execute(m_commands[at].second); });
    return item;
}

void SpriteEditorWindow::execute(const SpriteCommand& command) {
    runCommand([this, &command] { command.execute(m_editing); });
    // A change of the list is recorded for undo after the document told of it.
    enableCommands();
}

void SpriteEditorWindow::execute(SpriteCommandId id) { execute(spriteCommand(id)); }

void SpriteEditorWindow::enableCommands() {
    for (const auto& [item, command] : m_commands) item->setEnabled(command.enabled(m_editing));
    if (Zoom1 && m_document.spriteLoaded()) Zoom1->menuAction()->setEnabled(true);
}

void SpriteEditorWindow::buildMenus() {
    auto addMenu = [this](const char* name, int tag) {
        return addTaggedMenu(menuBar(), name, tag, {});
    };
    using W = SpriteEditorWindow;

    QMenu* file = addMenu("File1", Tag::FileMenu);
    addMenuItem(file, "OpenSpriteFile1", Tag::OpenSpriteFile, &W::OpenSpriteFile1Click)
        ->setShortcut(ctrl(Qt::Key_O));
    const auto spriteShown = [](const SpriteEditing& editing) {
        return editing.document().spriteLoaded();
    };
    // A window command: its dialogs are the window's, its state the editing's.
    const auto windowCommand = [this](void (W::*handler)()) {
        return [this, handler](SpriteEditing&) { (this->*handler)(); };
    };
    m_importItem = addBilingualItem(file, "ImportPicture1", Msg::SpriteEditorImportCaption);
    bindCommand(m_importItem, {spriteShown, windowCommand(&W::importPicture)});
    QAction* choosePaletteItem =
        addBilingualItem(file, "ChoosePalette1", Msg::SpriteEditorPaletteCaption);
    connect(choosePaletteItem, &QAction::triggered, this, &W::choosePalette);
    addRecentMenu(file, context().files, RecentKind::Sprites, [this](const QString& recent) {
        runCommand([this, &recent] { openSpriteFile(toPath(recent)); });
    });
    file->addSeparator();
    bindCommand(addMenuItem(file, "SaveSprite1", Tag::SaveSprite),
                {spriteShown, windowCommand(&W::SaveSprite1Click)})
        ->setShortcut(ctrl(Qt::Key_S));
    bindCommand(addMenuItem(file, "SaveSpritetonewFile1", Tag::SaveSpriteToNewFile),
                {spriteShown, windowCommand(&W::SaveSpritetonewFile1Click)})
        ->setShortcut(ctrl(Qt::Key_S, Qt::ShiftModifier));
    file->addSeparator();
    addMenuItem(file, "SaveSpritetoBMP1", Tag::SaveDrawingAreaToBmp, &W::SaveSpritetoBMP1Click);
    addMenuItem(file, "SavePaletteAreatoBMP1", Tag::SavePaletteAreaToBmp,
                &W::SavePaletteAreatoBMP1Click);
    buildSpritePictureItems(file);
    addMenuItem(file, "Exit1", Tag::ExitSpriteEditor)->setVisible(false);

    QMenu* edit = addMenu("Edit1", Tag::EditMenu);
    using Id = SpriteCommandId;
    bindCommand(addBilingualItem(edit, "Undo1", Msg::UndoCaption), Id::Undo)
        ->setShortcut(ctrl(Qt::Key_Z));
    bindCommand(addBilingualItem(edit, "Redo1", Msg::RedoCaption), Id::Redo)
        ->setShortcuts({ctrl(Qt::Key_Y), ctrl(Qt::Key_Z, Qt::ShiftModifier)});
    edit->addSeparator();
    bindCommand(addMenuItem(edit, "ClearSprite1", Tag::CutSprite), Id::Cut)
        ->setShortcut(ctrl(Qt::Key_X));
    bindCommand(addMenuItem(edit, "CopySprite1", Tag::CopySprite), Id::Copy)
        ->setShortcut(ctrl(Qt::Key_C));
    bindCommand(addMenuItem(edit, "PasteSprite1", Tag::PasteSprite), Id::Paste)
        ->setShortcut(ctrl(Qt::Key_V));
    buildSelectionItems(edit);
    edit->addSeparator();
    bindCommand(addMenuItem(edit, "ClearDrawingArea1", Tag::ClearDrawingArea), Id::Clear);
    buildFrameItems(edit);

    Zoom1 = addTaggedMenu(menuBar(), "Zoom1", 0, QStringLiteral("&Zoom"));
    Zoom1->menuAction()->setEnabled(false);
    m_zoomGroup = new QActionGroup(this);
    const struct {
        const char* name;
        const char* caption;
        int factor;
    } zooms[] = {{"N1x11", "Zoom &100%", 1},
                 {"N2x21", "Zoom &200%", 2},
                 {"N4x41", "Zoom &400%", 4},
                 {"N8x81", "Zoom &800%", 8},
                 {"N16x161", "Zoom 1&600%", 16}};
    for (const auto& zoomItem : zooms) {
        QAction* action = Zoom1->addAction(QString::fromLatin1(zoomItem.caption));
        action->setObjectName(QLatin1String(zoomItem.name));
        action->setCheckable(true);
        action->setChecked(zoomItem.factor == 1);
        action->setData(zoomItem.factor);
        m_zoomGroup->addAction(action);
        const int factor = zoomItem.factor;
        connect(action, &QAction::triggered, this,
                [this, factor] { runCommand([this, factor] { setZoom(factor); }); });
    }
    Zoom1->addSeparator();
    QAction* zoomFit = addBilingualItem(Zoom1, "ZoomFit1", Msg::SpriteEditorZoomFitCaption);
    zoomFit->setShortcut(ctrl(Qt::Key_0));
    connect(zoomFit, &QAction::triggered, this, [this] { runCommand([this] { zoomToFit(); }); });
    QAction* zoomIn = addBilingualItem(Zoom1, "ZoomIn1", Msg::SpriteEditorZoomInCaption);
    zoomIn->setShortcuts({ctrl(Qt::Key_Plus), ctrl(Qt::Key_Equal)});
    connect(zoomIn, &QAction::triggered, this, [this] { runCommand([this] { zoomStep(1); }); });
    QAction* zoomOut = addBilingualItem(Zoom1, "ZoomOut1", Msg::SpriteEditorZoomOutCaption);
    zoomOut->setShortcut(ctrl(Qt::Key_Minus));
    connect(zoomOut, &QAction::triggered, this, [this] { runCommand([this] { zoomStep(-1); }); });
    Zoom1->addSeparator();
    m_gridItem = addBilingualItem(Zoom1, "PixelGrid1", Msg::SpriteEditorGridCaption);
    m_gridItem->setCheckable(true);
    m_gridItem->setShortcut(ctrl(Qt::Key_G));
    m_gridItem->setChecked(context().settings.read(kSettingsSection, kGridKey, "1") != "0");
    connect(m_gridItem, &QAction::toggled, this, &SpriteEditorWindow::showGrid);
    buildOnionItems(Zoom1);

    QMenu* tools = addMenu("Tools1", Tag::ToolsMenu);
    addMenuItem(tools, "SpriteFileCreator1", Tag::SpriteFileCreator, &W::SpriteFileCreator1Click);
    addMenuItem(tools, "BMPtoSpriteconverter1", Tag::BmpToSpriteConverter,
                &W::BMPtoSpriteconverter1Click);
    addMenuItem(tools, "CopySPRfilestooneSPRfil1", Tag::MergeSpriteFiles,
                &W::CopySPRfilestooneSPRfil1Click);
    bindCommand(addBilingualItem(tools, "AnimationPreview1", Msg::SpriteEditorPreviewCaption),
                {spriteShown, windowCommand(&W::previewAnimation)});
    buildToolItems(tools);

    // Designed items that this window's menu bar does not show; their commands live elsewhere.
    const Commands& commands = context().commands;
    const GameDataCommands& game = commands.gameData;
    QMenu* eggs = addMenu("EggDisks1", Tag::EggDiskMenu);
    addCommandItem(eggs, "MoreEggs2", Tag::MoreEggs, game.moreEggs);
    addCommandItem(eggs, "GrendelEggDisk1", Tag::GrendelEggDisk, game.grendelEggDisk);
    addCommandItem(eggs, "GreNornEggDiskGrendelDadys1", Tag::NornElEggDisk, game.nornelEggDisk);
    addCommandItem(eggs, "GreNormEggDiskGrendelMums1", Tag::GreNornEggDisk, game.grenornEggDisk);
    addCommandItem(eggs, "EnableMoreEggsFunction1", Tag::EnableMoreEggs, game.enableMoreEggs);
    QMenu* world = addMenu("World1", Tag::WorldMenu);
    addCommandItem(world, "CreateNewworld1", Tag::ResetWorld, game.resetWorld);
    addCommandItem(world, "CreateNewworld2", Tag::CreateNewWorld, game.createNewWorld);
    addCommandItem(world, "DisableCheats1", Tag::DisableCheats, game.disableCheats);
    QMenu* debugger = addMenu("Lab1", Tag::Debugger);
    addMenuItem(debugger, "ConnectVEKtoCreatures1", Tag::ConnectToCreatures,
                &W::ConnectVEKtoCreatures1Click);
    addMenuItem(debugger, "LaunchCREATURES1", Tag::LaunchCreatures, &W::LaunchCREATURES1Click);
    QMenu* help = addMenu("Help1", Tag::HelpMenu);
    addCommandItem(help, "Index1", Tag::HelpIndex, commands.showHelp);
    addCommandItem(help, "About1", Tag::About, commands.showAbout);
    for (QMenu* hidden : {eggs, world, debugger, help}) hidden->menuAction()->setVisible(false);
}

void SpriteEditorWindow::buildToolItems(QMenu* tools) {
    tools->addSeparator();
    m_toolStrip = addToolBar(QStringLiteral("Tools"));
    m_toolStrip->setObjectName(QStringLiteral("ToolStrip"));
    m_toolStrip->setMovable(false);
    m_toolStrip->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolGroup = new QActionGroup(this);
    for (const ToolItem& item : kToolItems) {
        QAction* action = addBilingualItem(tools, item.name, item.caption);
        action->setCheckable(true);
        action->setChecked(item.tool == SpriteToolKind::Pencil);
        action->setShortcut(item.key);
        action->setData(static_cast<int>(item.tool));
        m_toolGroup->addAction(action);
        m_toolStrip->addAction(action);
        bindCommand(action, toolCommand(item.tool));
    }
    buildBrushSizeItems(tools);
}

void SpriteEditorWindow::buildBrushSizeItems(QMenu* tools) {
    tools->addSeparator();
    bindCommand(addBilingualItem(tools, "BrushSmaller1", Msg::SpriteEditorBrushSmallerCaption),
                SpriteCommandId::BrushSmaller)
        ->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    bindCommand(addBilingualItem(tools, "BrushLarger1", Msg::SpriteEditorBrushLargerCaption),
                SpriteCommandId::BrushLarger)
        ->setShortcut(QKeySequence(Qt::Key_BracketRight));
    m_toolStrip->addSeparator();
    auto* label = new QLabel(m_toolStrip);
    label->setObjectName(QStringLiteral("BrushSizeLabel"));
    label->setContentsMargins(4, 0, 2, 0);
    setBilingualText(label, Msg::SpriteEditorBrushSizeLabel);
    m_toolStrip->addWidget(label);
    m_brushSize = new QSpinBox(m_toolStrip);
    m_brushSize->setObjectName(QStringLiteral("BrushSize"));
    m_brushSize->setRange(kSmallestBrush, kLargestBrush);
    m_brushSize->setValue(m_editing.brushSize());
    // The tools' keys stay the canvas's: the box changes by its arrows and the wheel.
    m_brushSize->setFocusPolicy(Qt::NoFocus);
    m_toolStrip->addWidget(m_brushSize);
    connect(m_brushSize, &QSpinBox::valueChanged, this,
            [this](int size) { m_editing.setBrushSize(size); });
}

void SpriteEditorWindow::buildControls() {
    m_content = new QWidget(this);
    setCentralWidget(m_content);

    // The drawing area and the banner behind it scroll; the palette strip and the list stay.
    ListBox1 = new QListWidget(m_content);
    m_drawingScroll = new QScrollArea(m_content);
    m_drawingScroll->setObjectName(QStringLiteral("ScrollBox"));
    m_drawingScroll->setFrameShape(QFrame::NoFrame);
    m_drawingScroll->setWidgetResizable(false);
    m_drawingContent = new QWidget;
    m_drawingScroll->setWidget(m_drawingContent);
    m_drawingScroll->viewport()->installEventFilter(this);

    MultiShape1 = new TMultiShape(m_drawingContent);
    MultiShape1->setObjectName(QStringLiteral("MultiShape1"));
    QFont bannerFont(QStringLiteral("Times New Roman"));
    bannerFont.setPixelSize(29);
    bannerFont.setBold(true);
    MultiShape1->setFont(bannerFont);
    MultiShape1->setAutoFillBackground(true);
    QPalette bannerPalette = MultiShape1->palette();
    bannerPalette.setColor(QPalette::Window, Qt::white);
    MultiShape1->setPalette(bannerPalette);
    MultiShape1->setText(QStringLiteral("VEK"));
    MultiShape1->setColor(0xFFFFFF);
    MultiShape1->setShapeType(msText);
    MultiShape1->setAngle(45);
    MultiShape1->setXSpacing(60);
    MultiShape1->setYSpacing(50);
    MultiShape1->setShadow(true);
    MultiShape1->setShadowColor(0x400000);
    MultiShape1->setShadowX(1);
    MultiShape1->setShadowY(1);

    // The strip's controls keep their designed places unless the caption of BGC needs more.
    m_strip = new QWidget(m_content);
    m_strip->lower();  // its last row lies under the drawing area's frame
    auto* strip = new DesignedLayout(m_strip, {kClientWidth, kStripHeight});
    m_content->installEventFilter(this);
    auto makeSwatch = [this, strip](QFrame*& frame, QLabel*& label, const char* name, int at,
                                    int tag) {
        frame = new QFrame(m_strip);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        strip->place(frame, {at, at, kSwatchFrameSize, kSwatchFrameSize});
        label = new QLabel(frame);
        label->setObjectName(QLatin1String(name));
        label->setGeometry((kSwatchFrameSize - kSwatchSize) / 2,
                           (kSwatchFrameSize - kSwatchSize) / 2, kSwatchSize, kSwatchSize);
        label->setAutoFillBackground(true);
        tagControl(label, tag);
    };
    makeSwatch(m_swatchFrame2, Label2, "Label2", 20, Tag::Color2);
    makeSwatch(m_swatchFrame1, Label1, "Label1", 4, Tag::Color1);

    Button1 = new QPushButton(m_strip);
    Button1->setObjectName(QStringLiteral("Button1"));
    strip->place(Button1, {4, 60, 49, 17});
    tagControl(Button1, Tag::BackgroundColor);
    connect(Button1, &QPushButton::clicked, this, &SpriteEditorWindow::Button1Click);

    Image2 = new PaletteView(m_strip, m_editing.palette());
    Image2->setObjectName(QStringLiteral("Image2"));
    strip->place(Image2, {56, 4, kPaletteAreaWidth, kPaletteAreaHeight});
    markAsImage(Image2);
    tagControl(Image2, Tag::PaletteArea);
    connect(Image2, &PaletteView::colorChosen, this, &SpriteEditorWindow::setColor);
    connect(Image2, &PaletteView::pointerMoved, this, &SpriteEditorWindow::showState);

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    tagControl(ListBox1, Tag::SpriteList);
    connect(ListBox1, &QListWidget::currentRowChanged, this,
            [this] { runCommand([this] { ListBox1Click(); }); });
    buildFrameStrip();

    Panel1 = new QFrame(m_drawingContent);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    Image1 =
        new SpriteCanvas(Panel1, m_editing, [this] { return context().look.spriteBackground(); });
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(kPanelMargin, kPanelMargin);
    Image1->setGridShown(m_gridItem->isChecked());
    applyOnionSkin();
    markAsImage(Image1);
    tagControl(Image1, Tag::DrawingArea);
    connect(Image1, &SpriteCanvas::pointerMoved, this, &SpriteEditorWindow::showState);
    connect(Image1, &SpriteCanvas::areaResized, this, &SpriteEditorWindow::showDrawingArea);
    connect(Image1, &PictureBox::released, this, &SpriteEditorWindow::enableCommands);

    showDrawingArea();
}

bool SpriteEditorWindow::FormCreate() {
    AppContext& ctx = context();
    ctx.startup.trace(QStringLiteral("Add help..."));
    ctx.startup.trace(QStringLiteral("Sys Info..."));
    ctx.startup.trace(QStringLiteral("Reading Paths..."));
    runCommand([&ctx] { ctx.game.ReadPaths(); });
    if (!checkGameInstalled(ctx)) return false;

    ctx.startup.trace(QStringLiteral("Installing Bitmaps..."));
    ctx.startup.trace(QStringLiteral("Create Info Page..."));
    makeInfoPage();
    ctx.startup.trace(QStringLiteral("Read chemicals..."));
    return true;
}

void SpriteEditorWindow::showGamePalette() {
    context().startup.trace(QStringLiteral("Draw Palette..."));
    m_editing.showGamePalette();
    m_editing.resetColors();
    Image2->showPalette();
    showColors();
    context().startup.trace(QStringLiteral("Compiler presets..."));
}

void SpriteEditorWindow::makeInfoPage() {
    QImage page = toQImage(renderInfoPage());
    {
        QPainter painter(&page);
        QFont titleFont(QStringLiteral("Times New Roman"));
        titleFont.setPointSize(16);
        painter.setFont(titleFont);
        const QString title = QStringLiteral("Vekstudio");
        const int ascent = QFontMetrics(titleFont).ascent();
        painter.setPen(Qt::black);
        painter.drawText(5, 15 + ascent, title);
        painter.setPen(QColor(0, 0, 255));
        painter.drawText(4, 14 + ascent, title);
    }
    Image1->showPicture(toRgbImage(page));
}

// ---------------------------------------------------------------------------------------------
// Opening and selecting

QString SpriteEditorWindow::startFolder(RecentKind kind) const {
    return context().files.startFolder(kind, toQString(context().game.paths().CImagePath));
}

void SpriteEditorWindow::OpenSpriteFile1Click() {
    runCommand([this] {
        // Cancelled, the open file stays the target of Save Sprite.
        if (const auto fileName =
                context().dialogs.openFile(context().text(Msg::SpriteEditorOpenTitle),
                                           startFolder(RecentKind::Sprites), kSpriteFilter)) {
            openSpriteFile(toPath(*fileName));
        }
    });
}

bool SpriteEditorWindow::openSpriteFile(const std::filesystem::path& file) {
    if (!m_document.mayLeaveSprite()) return false;
    m_document.open(file);
    context().files.remember(RecentKind::Sprites, fromPath(file));
    return true;
}

LeaveChoice SpriteEditorWindow::askToLeaveChangedSprite() {
    switch (context().ask(kSpriteNotSavedBox, Buttons::YesNoCancel)) {
        case Answer::Yes:
            return LeaveChoice::Save;
        case Answer::No:
            return LeaveChoice::Discard;
        default:
            return LeaveChoice::Stay;
    }
}

void SpriteEditorWindow::ListBox1Click() {
    const int row = ListBox1->currentRow();
    if (row < 0 || m_document.current() == static_cast<std::size_t>(row)) return;
    bool leave = false;
    runCommand([this, &leave] { leave = m_document.mayLeaveSprite(); });
    if (!leave) {
        // The list goes back to the sprite that stays, once the click that moved it has ended:
        // the list selects the clicked line after telling of it.
        showCurrentInList();
        QMetaObject::invokeMethod(this, &SpriteEditorWindow::showCurrentInList,
                                  Qt::QueuedConnection);
        return;
    }
    const WaitCursor wait(ListBox1);
    runCommand([this, row] { m_document.select(row); });
}

void SpriteEditorWindow::showCurrentInList() {
    const QSignalBlocker blocker(ListBox1);
    ListBox1->setCurrentRow(m_document.current() ? static_cast<int>(*m_document.current()) : -1);
}

void SpriteEditorWindow::documentChanged(const SpriteDocumentEvent& event) {
    switch (event.change) {
        case SpriteChange::FileOpened:
            // Another file: the view of the one shown is kept, and its own comes back once its
            // first sprite is in.
            if (event.file != m_viewFile) {
                keepShownView();
                m_viewFile = event.file;
                m_viewPending = true;
                m_previewFrame.reset();
            }
            showOpenedFile(event.file);
            break;
        case SpriteChange::SpriteSelected:
            showSelectedSprite();
            if (m_viewPending && m_document.spriteLoaded()) {
                m_viewPending = false;
                restoreView(m_viewFile);
            }
            break;
        case SpriteChange::PixelsChanged:
            showCaption();
            Image1->showPixels(event.area);
            if (m_thumbnailTimer) m_thumbnailTimer->start();
            break;
        case SpriteChange::SavedToNewFile:
            updateCaption(fromPath(event.file));
            break;
        case SpriteChange::SavedInPlace:
            showCaption();
            break;
    }
    enableCommands();
    showState();
}

void SpriteEditorWindow::editingChanged(SpriteEditingChange change) {
    switch (change) {
        case SpriteEditingChange::ToolChosen:
            checkToolItem();
            break;
        case SpriteEditingChange::BrushSized: {
            const QSignalBlocker blocker(m_brushSize);
            m_brushSize->setValue(m_editing.brushSize());
            break;
        }
        case SpriteEditingChange::ColorChosen:
            showColors();
            break;
        case SpriteEditingChange::PaletteShown:
            Image2->showPalette();
            // Without a sprite the area keeps what it shows (the info page).
            if (m_document.spriteLoaded()) Image1->redraw();
            showColors();
            drawThumbnails();
            break;
        case SpriteEditingChange::BackgroundChanged:
            Image1->redraw();
            Image2->showBackgroundCell();
            showColors();
            drawThumbnails();
            break;
    }
    enableCommands();
}

void SpriteEditorWindow::showState() {
    if (!m_readout) return;  // not yet built
    QStringList parts;
    const std::filesystem::path& file = m_document.table().file;
    if (!file.empty()) parts << fromPath(file.filename());
    if (const auto current = m_document.current()) {
        parts << QStringLiteral("Sprite %1: %2X%3")
                     .arg(*current)
                     .arg(m_document.sprite().width)
                     .arg(m_document.sprite().height);
    }
    parts << QStringLiteral("Zoom %1%").arg(zoom() * 100);
    const auto colorOf = [this](std::uint8_t index) {
        const ScreenColor color = m_editing.palette()[index];
        return QStringLiteral("Index %1 = %2, %3, %4")
            .arg(index)
            .arg(redOf(color))
            .arg(greenOf(color))
            .arg(blueOf(color));
    };
    m_stateLine->setText(parts.join(QStringLiteral("   |   ")));
    QString readout;
    const auto pointer = Image1->pointerPixel();
    if (pointer && m_document.spriteLoaded() &&
        m_document.sprite().contains(pointer->x, pointer->y)) {
        readout = QStringLiteral("%1, %2   ").arg(pointer->x).arg(pointer->y) +
                  colorOf(m_document.sprite().at(pointer->x, pointer->y));
    } else if (const auto index = Image2->pointerIndex()) {
        readout = colorOf(*index);
    }
    m_readout->setText(readout);
}

void SpriteEditorWindow::noteSaved(const QString& file) {
    showNote(this, context().text(Msg::SavedNote).arg(QFileInfo(file).fileName()));
}

void SpriteEditorWindow::showOpenedFile(const std::filesystem::path& file) {
    updateCaption(fromPath(file));
    // The palette beside the file, else the game's; a broken one is reported and the game's
    // stays.
    runCommand([this, &file] { m_editing.showPaletteFor(file); });
    fillFrameStrip();
    // Whatever was shown belongs to the previous file; its unsaved painting is dropped.
    Image1->redraw();
}

void SpriteEditorWindow::choosePalette() {
    runCommand([this] {
        const auto file = context().dialogs.openFile(context().text(Msg::SpriteEditorPaletteTitle),
                                                     toQString(context().game.paths().CPalettePath),
                                                     QStringLiteral("palette.dta (*.dta *.DTA)"));
        if (!file) return;
        m_editing.showPalette(readPaletteFile(toPath(*file), m_editing.gamePalette().background()));
    });
}

void SpriteEditorWindow::showSelectedSprite() {
    if (m_document.current()) showCurrentInList();
    showCaption();
    Image1->redraw();
}

void SpriteEditorWindow::updateCaption(const QString& fileName) {
    m_captionFile = QFileInfo(fileName).fileName();
    showCaption();
}

void SpriteEditorWindow::showCaption() {
    if (m_captionFile.isEmpty()) return;
    // A star tells of changes that are not saved.
    const QString mark = m_document.changed() ? QStringLiteral("*") : QString();
    const QString caption = kCaption + QStringLiteral(" - ") + m_captionFile + mark;
    if (windowTitle() != caption) setWindowTitle(caption);
}

// ---------------------------------------------------------------------------------------------
// Drawing area

void SpriteEditorWindow::showDrawingArea() {
    const RgbImage& area = Image1->area();
    Panel1->resize(area.width + kPanelExtra, area.height + kPanelExtra);
    layoutContent();
}

void SpriteEditorWindow::layoutContent() {
    const QSize window = m_content->size();
    const QSize strip = m_strip->layout()->sizeHint();
    // The window is at least as wide as the strip with its captions.
    m_content->setMinimumWidth(strip.width());
    m_strip->setGeometry(0, 0, std::max(window.width(), strip.width()), strip.height());
    ListBox1->setGeometry(0, strip.height(), kListWidth,
                          std::max(window.height() - strip.height(), 0));
    // The frame's corner stays at its place whatever border the style gives the viewport; it
    // lies one pixel inside the list's and the strip's edges.
    const QPoint panelPosition(kListWidth - 1, strip.height() - 1);
    const QPoint corner = panelPosition - m_drawingScroll->viewport()->pos();
    m_drawingScroll->setGeometry(corner.x(), corner.y(), std::max(window.width() - corner.x(), 0),
                                 std::max(window.height() - corner.y(), 0));
    const QSize visible = m_drawingScroll->viewport()->size();
    const int width = std::max(visible.width(), Panel1->width());
    const int height = std::max(visible.height(), Panel1->height());
    m_drawingContent->resize(width, height);
    // A sprite sits in the middle of the room it leaves; the info page keeps its corner.
    if (m_document.spriteLoaded())
        Panel1->move((width - Panel1->width()) / 2, (height - Panel1->height()) / 2);
    else
        Panel1->move(0, 0);
    // The banner starts where the list and the strip end, one pixel inside the frame's corner.
    const QPoint banner(1, 1);
    MultiShape1->setGeometry(banner.x(), banner.y(), width - banner.x(), height - banner.y());
}

bool SpriteEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The strip asks for another size when a caption changed (the language switch).
    if (watched == m_content && event->type() == QEvent::LayoutRequest) layoutContent();
    if (watched == ListBox1->viewport() && dragFrame(event)) return true;
    if (watched == m_drawingScroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y() > 0 ? 1 : -1;
            if (wheel->angleDelta().y() != 0) {
                const QPoint at = wheel->position().toPoint();
                runCommand([this, at, steps] { zoomAround(at, steps); });
            }
            return true;
        }
    }
    return VekWindow::eventFilter(watched, event);
}

void SpriteEditorWindow::importPicture() {
    runCommand([this] {
        if (!m_document.spriteLoaded()) return;
        const auto file =
            context().dialogs.openFile(context().text(Msg::SpriteEditorImportTitle),
                                       startFolder(RecentKind::Pictures), pictureFilter());
        if (!file) return;
        const SpriteImage picture = readSpritePictures(toPath(*file), m_editing.palette()).front();
        context().files.remember(RecentKind::Pictures, *file);
        m_document.requireSpriteSize(picture.width, picture.height);
        m_document.replacePixels(picture);
    });
}

void SpriteEditorWindow::dragEnterEvent(QDragEnterEvent* event) {
    acceptFileDrag(event, kSpriteDrops);
}

void SpriteEditorWindow::dropEvent(QDropEvent* event) {
    if (const auto file = takeFileDrop(event, kSpriteDrops)) openHandedSpriteFile(toPath(*file));
}

void SpriteEditorWindow::openHandedSpriteFile(const std::filesystem::path& file) {
    runCommand([this, &file] { openSpriteFile(file); });
}

void SpriteEditorWindow::undo() { execute(SpriteCommandId::Undo); }

void SpriteEditorWindow::redo() { execute(SpriteCommandId::Redo); }

void SpriteEditorWindow::resizeEvent(QResizeEvent* event) {
    VekWindow::resizeEvent(event);
    layoutContent();
}

void SpriteEditorWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    layoutContent();
    // The silent connection test whenever the editor is shown; its outcome is not reported.
    context().commands.probeConnection();
}

int SpriteEditorWindow::zoom() const { return Image1->zoom(); }

const RgbImage& SpriteEditorWindow::drawingArea() const { return Image1->area(); }

const RgbImage& SpriteEditorWindow::paletteArea() const { return Image2->area(); }

void SpriteEditorWindow::setZoom(int zoom) {
    // A zoom the sprite does not fit leaves the item at the zoom in force.
    checkZoomItem();
    Image1->setZoom(zoom);
    checkZoomItem();
    showState();
}

void SpriteEditorWindow::checkZoomItem() {
    for (QAction* item : m_zoomGroup->actions()) item->setChecked(item->data().toInt() == zoom());
}

void SpriteEditorWindow::chooseTool(SpriteToolKind tool) {
    runCommand([this, tool] { toolCommand(tool).execute(m_editing); });
}

void SpriteEditorWindow::checkToolItem() {
    for (QAction* item : m_toolGroup->actions())
        item->setChecked(item->data().toInt() == static_cast<int>(m_editing.tool()));
}

void SpriteEditorWindow::showGrid(bool shown) {
    if (m_gridItem->isChecked() != shown) m_gridItem->setChecked(shown);
    Image1->setGridShown(shown);
    runCommand(
        [this, shown] { context().settings.write(kSettingsSection, kGridKey, shown ? "1" : "0"); });
}

// ---------------------------------------------------------------------------------------------
// Palette area and colours

void SpriteEditorWindow::setColor(Qt::MouseButton button, std::uint8_t index) {
    m_editing.setColor(button == Qt::LeftButton ? ColorSlot::Primary : ColorSlot::Secondary, index);
}

void SpriteEditorWindow::showColors() {
    setSwatch(Label1, color1());
    setSwatch(Label2, color2());
    Image2->markColors(color1(), color2());
}

void SpriteEditorWindow::setSwatch(QLabel* swatch, std::uint8_t index) {
    QPalette colors = swatch->palette();
    colors.setColor(QPalette::Window, toQColor(m_editing.palette()[index]));
    swatch->setPalette(colors);
}

void SpriteEditorWindow::Button1Click() {
    runCommand([this] {
        AppContext& ctx = context();
        const auto chosen = ctx.dialogs.chooseColor(toQColor(ctx.look.spriteBackground()));
        if (!chosen) return;
        const ScreenColor background = toScreenColor(*chosen);
        ctx.look.setSpriteBackground(background);
        m_editing.setBackground(background);
        ctx.settings.writeSpriteBackground(background);
    });
}

// ---------------------------------------------------------------------------------------------
// Editing commands

// With a selection Cut, Copy and Paste act on it, otherwise on the whole sprite.
void SpriteEditorWindow::CopySprite1Click() { execute(SpriteCommandId::Copy); }

void SpriteEditorWindow::ClearSprite1Click() { execute(SpriteCommandId::Cut); }

void SpriteEditorWindow::PasteSprite1Click() { execute(SpriteCommandId::Paste); }

void SpriteEditorWindow::buildSelectionItems(QMenu* edit) {
    using Id = SpriteCommandId;
    bindCommand(addBilingualItem(edit, "FlipSelection1", Msg::SpriteEditorFlipCaption), Id::Flip)
        ->setShortcut(QKeySequence(Qt::Key_V));
    bindCommand(addBilingualItem(edit, "MirrorSelection1", Msg::SpriteEditorMirrorCaption),
                Id::Mirror)
        ->setShortcut(QKeySequence(Qt::Key_H));
    bindCommand(addBilingualItem(edit, "DropSelection1", Msg::SpriteEditorDropSelectionCaption),
                Id::DropSelection)
        ->setShortcut(QKeySequence(Qt::Key_Escape));
}

void SpriteEditorWindow::ClearDrawingArea1Click() { execute(SpriteCommandId::Clear); }

bool SpriteEditorWindow::confirmClear() {
    return context().ask(kClearQuestion, Buttons::OkCancel) == Answer::Ok;
}

void SpriteEditorWindow::SaveSprite1Click() {
    runCommand([this] {
        if (!m_document.spriteLoaded()) return;
        spriteCommand(SpriteCommandId::SaveInPlace).execute(m_editing);
        noteSaved(fromPath(m_document.table().file));
    });
}

void SpriteEditorWindow::SaveSpritetonewFile1Click() {
    runCommand([this] {
        if (!m_document.spriteLoaded()) return;
        const auto fileName = context().dialogs.saveFile(
            context().text(Msg::SpriteEditorSaveNewTitle), startFolder(RecentKind::Sprites),
            kSpriteFilter, kSpriteExtension);
        if (!fileName) return;
        m_document.saveToNewFile(toPath(*fileName));
        context().files.remember(RecentKind::Sprites, *fileName);
        noteSaved(*fileName);
    });
}

void SpriteEditorWindow::SaveSpritetoBMP1Click() {
    runCommand([this] { exportPicture(Image1->area(), Msg::SpriteEditorSaveBitmapTitle); });
}

void SpriteEditorWindow::SavePaletteAreatoBMP1Click() {
    runCommand([this] { exportPicture(Image2->area(), Msg::SpriteEditorSavePaletteTitle); });
}

void SpriteEditorWindow::exportPicture(const RgbImage& picture, const Bilingual& title) {
    const auto fileName = context().dialogs.saveFile(
        context().text(title), context().files.startFolder(RecentKind::Pictures, {}),
        pictureFilter(), QStringLiteral("BMP"));
    if (!fileName) return;
    writePicture(toPath(*fileName), picture);
    context().files.remember(RecentKind::Pictures, *fileName);
    noteSaved(*fileName);
}

// ---------------------------------------------------------------------------------------------
// Sprites as PNG and GIF pictures

namespace {
const QString kPngFilter = QStringLiteral("*.PNG (*.PNG *.png)");
const QString kGifFilter = QStringLiteral("*.GIF (*.GIF *.gif)");
}  // namespace

void SpriteEditorWindow::buildSpritePictureItems(QMenu* file) {
    connect(addBilingualItem(file, "ExportSpritePng1", Msg::SpriteEditorExportPngCaption),
            &QAction::triggered, this, &SpriteEditorWindow::exportSpritePng);
    connect(addBilingualItem(file, "ExportSpritePngs1", Msg::SpriteEditorExportPngFilesCaption),
            &QAction::triggered, this, [this] { exportSpritePngs(false); });
    connect(addBilingualItem(file, "ExportSpriteSheet1", Msg::SpriteEditorExportPngSheetCaption),
            &QAction::triggered, this, [this] { exportSpritePngs(true); });
    connect(addBilingualItem(file, "ExportGif1", Msg::SpriteEditorExportGifCaption),
            &QAction::triggered, this, &SpriteEditorWindow::exportSpriteGif);
    // The GIF import sits with the picture import near the top of the menu.
    const QList<QAction*> before = file->actions();
    QAction* importGif = addBilingualItem(file, "ImportGif1", Msg::SpriteEditorImportGifCaption);
    file->insertAction(before.value(before.indexOf(m_importItem) + 1), importGif);
    connect(importGif, &QAction::triggered, this, &SpriteEditorWindow::importGifFrames);
}
SpriteList SpriteEditorWindow::spritesAsShown() const {
    SpriteList sprites = readAllSprites(m_document.table().file);
    if (m_document.current() && *m_document.current() < sprites.size())
        sprites[*m_document.current()] = m_document.sprite();
    return sprites;
}

void SpriteEditorWindow::exportSpritePng() {
    runCommand([this] {
        if (!m_document.spriteLoaded()) return;
        const auto fileName = context().dialogs.saveFile(
            context().text(Msg::SpriteEditorExportPngTitle), startFolder(RecentKind::Pictures),
            kPngFilter, QStringLiteral("PNG"));
        if (!fileName) return;
        writeSpritePng(toPath(*fileName), m_document.sprite(), m_editing.palette());
        context().files.remember(RecentKind::Pictures, *fileName);
        noteSaved(*fileName);
    });
}

std::optional<std::pair<std::size_t, std::size_t>> SpriteEditorWindow::askSpriteRange(
    const QString& title) {
    const int last = static_cast<int>(m_document.table().count()) - 1;
    const auto first =
        context().dialogs.askNumber(title, context().text(Msg::AnimationFirstSprite),
                                    static_cast<int>(m_document.current().value_or(0)), 0, last);
    if (!first) return std::nullopt;
    const auto end = context().dialogs.askNumber(title, context().text(Msg::AnimationLastSprite),
                                                 last, *first, last);
    if (!end) return std::nullopt;
    return std::pair(static_cast<std::size_t>(*first), static_cast<std::size_t>(*end));
}

void SpriteEditorWindow::exportSpritePngs(bool sheet) {
    runCommand([this, sheet] {
        if (!m_document.spriteLoaded()) return;
        const QString title = context().text(Msg::SpriteEditorExportRangeTitle);
        const auto range = askSpriteRange(title);
        if (!range) return;
        const auto fileName = context().dialogs.saveFile(title, startFolder(RecentKind::Pictures),
                                                         kPngFilter, QStringLiteral("PNG"));
        if (!fileName) return;
        const SpriteList sprites = spritesAsShown();
        const auto [first, last] = *range;
        const std::filesystem::path file = toPath(*fileName);
        std::filesystem::path written = file;
        if (sheet) {
            const std::span<const SpriteImage> chosen(sprites.data() + first, last - first + 1);
            writeSpritePng(file, spriteSheet(chosen), m_editing.palette());
        } else {
            for (std::size_t k = first; k <= last; ++k)
                writeSpritePng(numberedPictureFile(file, k), sprites[k], m_editing.palette());
            written = numberedPictureFile(file, last);
        }
        context().files.remember(RecentKind::Pictures, *fileName);
        noteSaved(fromPath(written));
    });
}

std::optional<SpriteEditorWindow::GifFrames> SpriteEditorWindow::askGifFrames(
    const QString& title) {
    AppContext& ctx = context();
    const auto text = ctx.dialogs.askText(title, ctx.text(Msg::AnimationStringLabel), QString());
    if (!text) return std::nullopt;
    GifFrames frames;
    if (text->trimmed().isEmpty()) {
        const auto range = askSpriteRange(title);
        if (!range) return std::nullopt;
        for (std::size_t k = range->first; k <= range->second; ++k) frames.sprites.push_back(k);
        return frames;
    }
    const int last = static_cast<int>(m_document.table().count()) - 1;
    const auto first =
        ctx.dialogs.askNumber(title, ctx.text(Msg::AnimationFirstSprite),
                              static_cast<int>(m_document.current().value_or(0)), 0, last);
    if (!first) return std::nullopt;
    ctx.commands.planAnimationFrames(text->trimmed().toStdString(),
                                     static_cast<std::size_t>(*first), m_document.table().count(),
                                     &frames.sprites, &frames.loops);
    if (frames.sprites.empty()) return std::nullopt;
    return frames;
}

void SpriteEditorWindow::exportSpriteGif() {
    runCommand([this] {
        if (!m_document.spriteLoaded()) return;
        const QString title = context().text(Msg::SpriteEditorExportGifTitle);
        const auto chosen = askGifFrames(title);
        if (!chosen) return;
        const auto fileName = context().dialogs.saveFile(title, startFolder(RecentKind::Pictures),
                                                         kGifFilter, QStringLiteral("GIF"));
        if (!fileName) return;
        const SpriteList sprites = spritesAsShown();
        SpriteList frames;
        for (const std::size_t k : chosen->sprites) frames.push_back(sprites.at(k));
        writeSpriteGif(toPath(*fileName), frames, m_editing.palette(), chosen->loops);
        context().files.remember(RecentKind::Pictures, *fileName);
        noteSaved(*fileName);
    });
}

void SpriteEditorWindow::importGifFrames() {
    runCommand([this] {
        if (m_document.table().file.empty()) return;
        const auto file = context().dialogs.openFile(
            context().text(Msg::SpriteEditorImportGifTitle), startFolder(RecentKind::Pictures),
            kGifFilter + QStringLiteral(";;") + pictureFilter());
        if (!file) return;
        SpriteList frames = readSpritePictures(toPath(*file), m_editing.palette());
        context().files.remember(RecentKind::Pictures, *file);
        const std::size_t at =
            m_document.current() ? *m_document.current() + 1 : m_document.table().count();
        m_document.insertSprites(at, std::move(frames));
    });
}

// ---------------------------------------------------------------------------------------------
// Tools

void SpriteEditorWindow::SpriteFileCreator1Click() { context().commands.showSpriteFileCreator(); }

void SpriteEditorWindow::BMPtoSpriteconverter1Click() { context().commands.showBitmapConverter(); }

void SpriteEditorWindow::CopySPRfilestooneSPRfil1Click() {
    runCommand([this] {
        AppContext& ctx = context();
        const auto inputs = ctx.dialogs.openFiles(ctx.text(Msg::SpriteEditorMergeTitle),
                                                  startFolder(RecentKind::Sprites), kMergeFilter);
        if (!inputs || inputs->isEmpty()) return;
        std::vector<std::filesystem::path> files;
        for (const QString& input : *inputs) files.push_back(toPath(input));
        const std::vector<MergeEntry> list = buildMergeList(files);
        const auto output =
            ctx.dialogs.saveFile(ctx.text(Msg::SpriteEditorMergeTitle),
                                 startFolder(RecentKind::Sprites), kSpriteFilter, kSpriteExtension);
        if (!output) return;
        writeMergedFile(toPath(*output), list);
        ctx.files.remember(RecentKind::Sprites, *output);
        noteSaved(*output);
    });
}

// ---------------------------------------------------------------------------------------------
// The game link

void SpriteEditorWindow::ConnectVEKtoCreatures1Click() { context().commands.testConnection(); }

void SpriteEditorWindow::LaunchCREATURES1Click() { context().commands.launchCreatures(); }

}  // namespace vek::ui
