#include "app/ui/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

#include "app/file_io.h"
#include "app/settings.h"
#include "app/text_names.h"
#include "app/text_table.h"
#include "app/ui/help_window.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/sound_output.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/designed_layout.h"

namespace vek::ui {

namespace {

constexpr int kButtonSize = 26;
constexpr int kDesignedWidth = 1024;
constexpr int kClientHeight = 48;
constexpr int kHelpButtonFromRight = 34;
constexpr int kAboutButtonFromRight = 62;
constexpr auto kClosingSoundLimit = std::chrono::milliseconds(5000);

// The buttons' 24 x 24 pictures: a symbol on a coloured tile.
QIcon buttonIcon(const QString& symbol, const QColor& tile) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(tile.darker(160));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 4, 4);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(symbol.size() > 1 ? 10 : 14);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, symbol);
    return QIcon(pixmap);
}

void addMenuItem(QMenu* menu, const char* name, int tag, const Command<>& command,
                 const QString& designedCaption = {}) {
    QObject::connect(addTaggedItem(menu, name, tag, designedCaption), &QAction::triggered, menu,
                     [&command] { command(); });
}

}  // namespace

MainWindow::MainWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm8"), QStringLiteral("Vekstudio V1.5")) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Its size and place are fixed: it opens at the top of the screen each time.
    setPlaceMemory(PlaceMemory::None);
    m_layout = DesignedLayout::install(this, {kDesignedWidth, kButtonSize});
    // A pressed button (the open tool window, the language) must be plain to see.
    centralWidget()->setStyleSheet(
        QStringLiteral("QToolButton { border: 1px solid transparent; border-radius: 3px; }"
                       "QToolButton:hover { border-color: #8a9bb0; }"
                       "QToolButton:checked { background: #c9d6e8; border-color: #3b5b85; }"));
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setCursor(Qt::WhatsThisCursor);
    // The designed height is the least: a larger font makes the hint line taller.
    m_statusBar->setMinimumHeight(kClientHeight - kButtonSize);
    setStatusBar(m_statusBar);
    createButtons();
    createPopupMenus();
    context.startup.showTraceIn(
        [this](const QString& text) {
            setWindowTitle(text);
            // The window shown a moment ago needs the event loop to be on screen and paint; input
            // waits until start-up is done.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            repaint();
        },
        [this] { setWindowTitle(m_savedTitle); });
}

MainWindow::~MainWindow() = default;

QToolButton* MainWindow::addButton(const char* name, int x, int tag, const QString& symbol,
                                   void (MainWindow::*handler)()) {
    auto* button = new QToolButton(centralWidget());
    button->setObjectName(QLatin1String(name));
    m_layout->place(button, {x, 0, kButtonSize, kButtonSize});
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    if (tag != 0) tagControl(button, tag);
    const QColor tile = QColor::fromHsv((x * 7) % 360, 150, 170);
    button->setIcon(buttonIcon(symbol, tile));
    connect(button, &QToolButton::clicked, this, handler);
    return button;
}

void MainWindow::createButtons() {
    using W = MainWindow;
    addButton("SpeedButton7", 2, Tag::LaunchCreatures, QStringLiteral("▶"), &W::SpeedButton7Click);
    m_toolButtons[ToolWindowGroup::SpriteEditor] = addButton(
        "SpeedButton1", 32, Tag::StartSpriteEditor, QStringLiteral("✎"), &W::SpeedButton1Click);
    m_toolButtons[ToolWindowGroup::ObjectCompiler] =
        addButton("SpeedButton2", 58, Tag::CobCompiler, QStringLiteral("C"), &W::SpeedButton2Click);
    m_toolButtons[ToolWindowGroup::CommandInterface] =
        addButton("SpeedButton9", 84, Tag::StartCommandInterface, QStringLiteral(">_"),
                  &W::SpeedButton9Click);
    m_toolButtons[ToolWindowGroup::SoundPlayer] = addButton(
        "SpeedButton4", 116, Tag::SoundPlayer, QStringLiteral("♪"), &W::SpeedButton4Click);
    m_toolButtons[ToolWindowGroup::Map] = addButton("SpeedButton3", 142, Tag::DrawMapOfAlbia,
                                                    QStringLiteral("M"), &W::SpeedButton3Click);
    // The three buttons without a tag keep their designed hints in both languages.
    setHint(addButton("SpeedButton5", 174, 0, QStringLiteral("★"), &W::SpeedButton5Click),
            QStringLiteral("Cheats"));
    addButton("SpeedButton10", 200, Tag::WorldMenu, QStringLiteral("W"), &W::SpeedButton10Click);
    addButton("SpeedButton11", 226, Tag::EggDiskMenu, QStringLiteral("E"), &W::SpeedButton11Click);
    QToolButton* english =
        addButton("SpeedButton12", 260, 0, QStringLiteral("EN"), &W::SpeedButton12Click);
    setHint(english, QStringLiteral("English texts"));
    QToolButton* german =
        addButton("SpeedButton13", 286, 0, QStringLiteral("DE"), &W::SpeedButton13Click);
    setHint(german, QStringLiteral("Deutsche Texte"));
    addButton("SpeedButton8", 0, Tag::About, QStringLiteral("i"), &W::SpeedButton8Click);
    addButton("SpeedButton6", 0, Tag::HelpIndex, QStringLiteral("?"), &W::SpeedButton6Click);

    for (QToolButton* button : m_toolButtons) button->setCheckable(true);

    m_languageButtons = new QButtonGroup(this);
    m_languageButtons->setExclusive(true);
    for (QToolButton* button : {english, german}) {
        button->setCheckable(true);
        m_languageButtons->addButton(button);
    }
    english->setChecked(true);
}

void MainWindow::createPopupMenus() {
    const GameDataCommands& game = context().commands.gameData;
    m_gameSettingsMenu = new QMenu(this);
    m_gameSettingsMenu->setObjectName(QStringLiteral("PopupMenu1"));
    addMenuItem(m_gameSettingsMenu, "PebbleCheat1", Tag::EnablePebbleCheat, game.pebbleCheat);
    addMenuItem(m_gameSettingsMenu, "MarrowCheat1", Tag::EnableMarrowCheat, game.marrowCheat);
    m_gameSettingsMenu->addSeparator();
    addMenuItem(m_gameSettingsMenu, "PebbleCheatNewVersion1", Tag::EnablePebbleCheatNewVersion,
                game.pebbleCheatNewVersion);
    addMenuItem(m_gameSettingsMenu, "MarrowCheatNewVersion1", Tag::EnableMarrowCheatNewVersion,
                game.marrowCheatNewVersion);
    m_gameSettingsMenu->addSeparator();
    addMenuItem(m_gameSettingsMenu, "NoCheat1", Tag::DisableCheats, game.disableCheats);
    m_gameSettingsMenu->addSeparator();
    addMenuItem(m_gameSettingsMenu, "EnableMoreEggsfunktion1", Tag::EnableMoreEggs,
                game.enableMoreEggs);

    m_eggMenu = new QMenu(this);
    m_eggMenu->setObjectName(QStringLiteral("PopupMenu2"));
    addMenuItem(m_eggMenu, "NewEggs1", Tag::MoreEggs, game.moreEggs,
                QStringLiteral("grendel eggs"));
    m_eggMenu->addSeparator();
    addMenuItem(m_eggMenu, "grenorneggs1", Tag::GrendelEggDisk, game.grendelEggDisk,
                QStringLiteral("grendel"));
    addMenuItem(m_eggMenu, "norneleggs1", Tag::NornElEggDisk, game.nornelEggDisk,
                QStringLiteral("grenorn"));
    addMenuItem(m_eggMenu, "nornel1", Tag::GreNornEggDisk, game.grenornEggDisk,
                QStringLiteral("nornel"));

    m_worldMenu = new QMenu(this);
    m_worldMenu->setObjectName(QStringLiteral("PopupMenu3"));
    addMenuItem(m_worldMenu, "ResetWorld1", Tag::ResetWorld, game.resetWorld);
    addMenuItem(m_worldMenu, "CreatenewWorld1", Tag::CreateNewWorld, game.createNewWorld);
}

void MainWindow::FormCreate(bool debugMode) {
    AppContext& ctx = context();
    // Visible from here on: the start-up trace is shown in its title, and the questions of
    // start-up have a window to belong to.
    placeAtTopOfScreen();
    show();
    const StartupSettings settings = readStartupSettings(ctx.settings);
    ctx.look.setSpriteBackground(settings.spriteBackground);
    ctx.look.setLanguage(settings.language);
    if (settings.writeError) ctx.dialogs.errorReport(toQString(*settings.writeError));

    // The stored layout is not restored here; the game's paths are read again, so that start-up
    // works on what is installed now.
    runCommand([&ctx] { ctx.game.ReadPaths(); });
    m_savedTitle = windowTitle();
    ctx.startup.setDebugMode(debugMode);
    ctx.startup.trace(QStringLiteral("Testing Sound System..."));
    ctx.sound.play(ctx.files.file("vek.wav"));
    ctx.startup.trace(QStringLiteral("Create Script list..."));
    ctx.commands.createScriptList();
    ctx.startup.trace(QStringLiteral("Set Status/Buttons/Basics..."));
}

void MainWindow::placeAtTopOfScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int width = screen ? screen->geometry().width() : kDesignedWidth;
    move(0, 0);
    m_layout->setDesignedSize({width, kButtonSize});
    const auto placeFromRight = [this, width](const char* name, int fromRight) {
        m_layout->replace(centralWidget()->findChild<QToolButton*>(QLatin1String(name)),
                          {width - fromRight, 0, kButtonSize, kButtonSize});
    };
    placeFromRight("SpeedButton6", kHelpButtonFromRight);
    placeFromRight("SpeedButton8", kAboutButtonFromRight);
    layout()->activate();
}

void MainWindow::showLanguageButton(bool german) {
    findChild<QToolButton*>(german ? QStringLiteral("SpeedButton13")
                                   : QStringLiteral("SpeedButton12"))
        ->setChecked(true);
}

void MainWindow::SpeedButton1Click() {
    context().commands.toggleToolWindow(ToolWindowGroup::SpriteEditor);
}
void MainWindow::SpeedButton2Click() {
    context().commands.toggleToolWindow(ToolWindowGroup::ObjectCompiler);
}
void MainWindow::SpeedButton3Click() { context().commands.toggleToolWindow(ToolWindowGroup::Map); }
void MainWindow::SpeedButton4Click() {
    context().commands.toggleToolWindow(ToolWindowGroup::SoundPlayer);
}
void MainWindow::SpeedButton9Click() {
    context().commands.toggleToolWindow(ToolWindowGroup::CommandInterface);
}

void MainWindow::popUp(QMenu* menu, const QToolButton* button) {
    menu->popup(QPoint(x() + button->x(), y() + frameGeometry().height()));
}

void MainWindow::SpeedButton5Click() {
    popUp(m_gameSettingsMenu, findChild<QToolButton*>(QStringLiteral("SpeedButton5")));
}
void MainWindow::SpeedButton10Click() {
    popUp(m_worldMenu, findChild<QToolButton*>(QStringLiteral("SpeedButton10")));
}
void MainWindow::SpeedButton11Click() {
    popUp(m_eggMenu, findChild<QToolButton*>(QStringLiteral("SpeedButton11")));
}

void MainWindow::switchLanguage(std::string_view language) {
    context().look.setLanguage(language);
    Q_EMIT languageChosen(languageOffset(language));
    if (m_help) m_help->showLanguage(language == kLanguageGerman);
    runCommand([this, language] { context().settings.writeLanguage(language); });
}

void MainWindow::SpeedButton12Click() { switchLanguage(kLanguageEnglish); }
void MainWindow::SpeedButton13Click() { switchLanguage(kLanguageGerman); }

void MainWindow::SpeedButton8Click() {
    context().game.PlayGameSound("MU02.wav");
    context().commands.openAboutWindow();
}

void MainWindow::SpeedButton6Click() {
    if (!m_help) {
        m_help = std::make_unique<HelpWindow>(findHelpDirectory(context().files.directory()),
                                              context().look.german());
        m_help->move(0, frameGeometry().height());
    }
    m_help->showContents();
}

void MainWindow::SpeedButton7Click() { context().commands.putLauncherObject(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    bool stay = false;
    context().commands.offerToSaveChangedSprite(&stay);
    if (stay) return event->ignore();
    context().commands.offerToSaveChangedSource();
    if (m_help) m_help->close();
    if (context().startup.pathsRead()) {
        context().sound.playToEnd(gameSoundFile(context().game.paths(), "zzzz.wav"),
                                  kClosingSoundLimit);
    }
    VekWindow::closeEvent(event);
}

}  // namespace vek::ui
