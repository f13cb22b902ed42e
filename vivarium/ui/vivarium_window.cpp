#include "vivarium/ui/vivarium_window.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <set>

#include "app/file_io.h"
#include "app/game_paths.h"
#include "app/text_names.h"
#include "app/ui/help_window.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/sound_output.h"
#include "vivarium/scene.h"
#include "vivarium/session.h"
#include "vivarium/ui/script_view.h"
#include "vivarium/ui/world_view.h"

namespace vek::ui {

namespace {

// The game's tick: 1/10 s.
constexpr int kTickMilliseconds = 100;
constexpr double kSpeeds[] = {0.25, 0.5, 1.0, 2.0, 4.0};
const char* const kSpeedNames[] = {"×¼", "×½", "×1", "×2", "×4"};
// A log longer than this drops its oldest rows.
constexpr int kLogRows = 2000;
// A log row's object, and the index of its happening in the session's log.
constexpr int kObjectRole = Qt::UserRole;
constexpr int kHappeningRole = Qt::UserRole + 1;
constexpr int kObjectColumns = 7;

}  // namespace

VivariumWindow::VivariumWindow(AppContext& context, const PaletteTable& palette,
                               BackgroundSource background)
    : VekWindow(context, QStringLiteral("VivariumWindow"), QStringLiteral("Vivarium")),
      m_palette(palette),
      m_background(std::move(background)) {
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] { goOn([this] { m_session->tick(); }); });
    resetWorld();
    buildControls();
    retranslate();
    resize(1000, 700);
}

VivariumWindow::~VivariumWindow() = default;

void VivariumWindow::buildControls() {
    QToolBar* tools = addToolBar(QStringLiteral("Vivarium"));
    tools->setObjectName(QStringLiteral("VivariumTools"));
    tools->setMovable(false);
    auto addAction = [this, tools](const char* name, void (VivariumWindow::*handler)()) {
        QAction* action = tools->addAction(QString());
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_run = addAction("RunWorld", &VivariumWindow::run);
    m_pause = addAction("PauseWorld", &VivariumWindow::pause);
    m_step = addAction("StepWorld", &VivariumWindow::stepOneTick);
    m_reset = addAction("ResetWorld", &VivariumWindow::resetWorld);
    tools->addSeparator();
    m_stepCommand = addAction("StepCommand", &VivariumWindow::stepCommand);
    m_stepCommand->setShortcut(QKeySequence(Qt::Key_F10));
    m_breakpoint = addAction("ToggleBreakpoint", &VivariumWindow::toggleBreakpoint);
    m_breakpoint->setShortcut(QKeySequence(Qt::Key_F9));
    m_saveWorld = addAction("SaveWorld", &VivariumWindow::saveWorld);
    m_loadWorld = addAction("LoadWorld", &VivariumWindow::loadWorld);
    tools->addSeparator();
    m_speedLabel = new QLabel(tools);
    tools->addWidget(m_speedLabel);
    m_speedChoice = new QComboBox(tools);
    m_speedChoice->setObjectName(QStringLiteral("SpeedChoice"));
    for (const char* name : kSpeedNames) m_speedChoice->addItem(QString::fromUtf8(name));
    m_speedChoice->setCurrentIndex(2);
    connect(m_speedChoice, &QComboBox::currentIndexChanged, this,
            [this](int index) { setSpeed(kSpeeds[std::clamp(index, 0, 4)]); });
    tools->addWidget(m_speedChoice);
    m_zoomLabel = new QLabel(tools);
    tools->addWidget(m_zoomLabel);
    m_zoomChoice = new QSpinBox(tools);
    m_zoomChoice->setObjectName(QStringLiteral("ZoomChoice"));
    m_zoomChoice->setRange(25, 400);
    m_zoomChoice->setSingleStep(25);
    m_zoomChoice->setSuffix(QStringLiteral(" %"));
    m_zoomChoice->setValue(100);
    connect(m_zoomChoice, &QSpinBox::valueChanged, this, &VivariumWindow::setZoom);
    tools->addWidget(m_zoomChoice);
    tools->addSeparator();
    m_helpAction = addAction("VivariumHelp", &VivariumWindow::showHelpPage);
    buildSwitches();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    m_scroll = new QScrollArea(splitter);
    m_scroll->setObjectName(QStringLiteral("WorldScroll"));
    m_scroll->setWidget(m_view);

    auto* side = new QWidget(splitter);
    auto* sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    m_objectsTitle = new QLabel(side);
    m_objects = new QTreeWidget(side);
    m_objects->setObjectName(QStringLiteral("ObjectList"));
    m_objects->setRootIsDecorated(false);
    m_objects->setColumnCount(kObjectColumns);
    m_logTitle = new QLabel(side);
    m_log = new QListWidget(side);
    m_log->setObjectName(QStringLiteral("HappeningLog"));
    connect(m_log, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) selectObject(m_log->item(row)->data(kObjectRole).toInt());
    });
    connect(m_log, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { goToLogRow(m_log->row(item)); });
    sideColumn->addWidget(m_objectsTitle);
    sideColumn->addWidget(m_objects, 1);
    m_scriptView = new ScriptView(
        context(), [this]() -> vivarium::Session& { return *m_session; }, side);
    connect(m_objects, &QTreeWidget::currentItemChanged, this, [this] {
        m_scriptView->showObject(selectedObject(), !running());
        followSelectedObject();
    });
    sideColumn->addWidget(m_scriptView, 2);
    sideColumn->addWidget(m_logTitle);
    sideColumn->addWidget(m_log, 1);
    splitter->addWidget(m_scroll);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    m_note = new QLabel(central);
    m_note->setObjectName(QStringLiteral("NotModelledNote"));
    m_note->setWordWrap(true);
    m_status = new QLabel(central);
    m_status->setObjectName(QStringLiteral("WorldStatus"));
    column->addWidget(splitter, 1);
    column->addWidget(m_note);
    column->addWidget(m_status);
    setCentralWidget(central);
}

void VivariumWindow::placeCreature() {
    m_view->placeCreatureOnNextClick();
    m_status->setText(context().text(Msg::VivariumPlaceCreatureHint));
}

void VivariumWindow::showCreatureMenu(QPoint worldPoint, QPoint screenPoint) {
    using vivarium::CreatureAction;
    struct Entry {
        CreatureAction action;
        Bilingual text;
    };
    constexpr std::array<Entry, 6> kEntries = {{
        {CreatureAction::Activate1, Msg::VivariumCreatureActivate1},
        {CreatureAction::Activate2, Msg::VivariumCreatureActivate2},
        {CreatureAction::Deactivate, Msg::VivariumCreatureDeactivate},
        {CreatureAction::Hit, Msg::VivariumCreatureHit},
        {CreatureAction::Pickup, Msg::VivariumCreaturePickup},
        {CreatureAction::Drop, Msg::VivariumCreatureDrop},
    }};
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("CreatureMenu"));
    for (const Entry& entry : kEntries) {
        QAction* item = menu.addAction(context().text(entry.text));
        QString name = toQString(vivarium::creatureActionName(entry.action));
        name[0] = name[0].toUpper();
        item->setObjectName(QStringLiteral("Creature") + name);  // CreatureActivate1, …
        item->setEnabled(entry.action != CreatureAction::Drop ||
                         m_session->world().creature().carried != 0);
        connect(item, &QAction::triggered, this, [this, entry, worldPoint] {
            m_session->orderCreature(entry.action, worldPoint.x(), worldPoint.y());
        });
    }
    menu.exec(screenPoint);
}

void VivariumWindow::resetWorld() {
    const auto images = pathFromUtf8(context().game.paths().CImagePath);
    // The breakpoints stay over a reset, as they are the user's and not the world's.
    std::set<vivarium::Breakpoint> kept;
    if (m_session) kept = m_session->debugger().breakpoints();
    m_session = makeSession(images);
    m_session->debugger().setBreakpoints(std::move(kept));
    m_pictures = std::make_unique<SpritePictures>(images, m_palette);
    if (!m_view) {
        m_view = new WorldView(*m_session, *m_pictures, this);
        connectView(m_view);
    } else {
        // The view keeps its place; it is made anew on the new session.
        auto* view = new WorldView(*m_session, *m_pictures, m_scroll);
        view->setZoom(m_view->zoom());
        connectView(view);
        m_scroll->setWidget(view);  // deletes the old view
        m_view = view;
    }
    m_faulted = 0;
    m_injected = nullptr;
    if (m_scriptView) m_scriptView->markFault(std::nullopt);
    std::optional<RgbImage> background = m_background ? m_background() : std::nullopt;
    m_hasBackground = background.has_value();
    m_view->setBackground(background ? toQImage(*background) : QImage());
    m_session->setChangeListener([this] { worldChanged(); });
    m_worldShown = m_session->worldNumber();
    m_logShown = 0;
    m_logHeard = 0;
    if (m_log) m_log->clear();
    if (m_status) showWorld();
}

std::unique_ptr<vivarium::Session> VivariumWindow::makeSession(
    const std::filesystem::path& images) {
    std::unique_ptr<vivarium::Session> session;
    // A map file the loader refuses is told; the world then runs bare rather than not at all.
    runCommand([&session, &images] { session = std::make_unique<vivarium::Session>(images); });
    if (!session) session = std::make_unique<vivarium::Session>(std::filesystem::path());
    session->setChemicalNames(m_chemicalNames);
    return session;
}

void VivariumWindow::setChemicalNames(std::vector<std::string> names) {
    m_chemicalNames = std::move(names);
    m_session->setChemicalNames(m_chemicalNames);
}

bool VivariumWindow::running() const { return m_timer->isActive(); }

void VivariumWindow::run() {
    clearFaultMark();
    m_timer->start(timerInterval());
    showWorld();
}

void VivariumWindow::pause() {
    m_timer->stop();
    showWorld();
}

void VivariumWindow::stepOneTick() {
    m_timer->stop();
    goOn([this] { m_session->tick(); });
}

void VivariumWindow::stepCommand() {
    m_timer->stop();
    const int object = selectedObject();
    goOn([this, object] { m_session->step(object); });
}

void VivariumWindow::goOn(const std::function<void()>& step) {
    clearFaultMark();
    const std::size_t logged = m_session->log().size();
    step();
    stopAtHeldCommand();
    stopAtFault(logged);
}

void VivariumWindow::toggleBreakpoint() { m_scriptView->toggleBreakpointAtCurrentRow(); }

void VivariumWindow::stopAtHeldCommand() {
    const auto stop = m_session->stop();
    if (!stop) return;
    m_timer->stop();
    selectObject(stop->object);
    showWorld();
}

int VivariumWindow::selectedObject() const {
    const QTreeWidgetItem* item = m_objects->currentItem();
    return item ? item->data(0, kObjectRole).toInt() : 0;
}

int VivariumWindow::timerInterval() const { return static_cast<int>(kTickMilliseconds / m_speed); }

void VivariumWindow::setSpeed(double factor) {
    m_speed = std::clamp(factor, 0.25, 4.0);
    if (m_timer->isActive()) m_timer->start(timerInterval());
}

void VivariumWindow::setZoom(int percent) {
    m_view->setZoom(percent / 100.0);
    if (m_zoomChoice && m_zoomChoice->value() != percent) m_zoomChoice->setValue(percent);
}

void VivariumWindow::worldChanged() {
    // A load makes a new world with a log of its own.
    if (m_session->worldNumber() != m_worldShown) {
        m_worldShown = m_session->worldNumber();
        m_logShown = 0;
        m_logHeard = 0;
        m_log->clear();
    }
    playNewSounds();
    showWorld();
}

void VivariumWindow::playNewSounds() {
    const auto& log = m_session->log();
    if (running() && m_speed > 1.0) {
        m_logHeard = log.size();
        return;
    }
    std::set<std::string> played;
    for (; m_logHeard < log.size(); ++m_logHeard) {
        const std::string name = vivarium::soundName(log[m_logHeard]);
        if (name.empty() || !played.insert(name).second) continue;
        const std::filesystem::path file = gameSoundFile(context().game.paths(), name);
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) context().sound.play(file);
    }
}

QString VivariumWindow::worldFolder() const {
    if (!m_worldFile.isEmpty()) return QFileInfo(m_worldFile).absolutePath();
    return toQString(context().game.paths().CMainPath);
}

void VivariumWindow::saveWorld() {
    const auto chosen =
        context().dialogs.saveFile(context().text(Msg::VivariumSaveWorldTitle), worldFolder(),
                                   context().text(Msg::VivariumWorldFilter), QStringLiteral("txt"),
                                   QFileInfo(m_worldFile).fileName());
    if (!chosen) return;
    m_worldFile = *chosen;
    runCommand([this] { m_session->saveWorld(toPath(m_worldFile)); });
}

void VivariumWindow::loadWorld() {
    const auto chosen =
        context().dialogs.openFile(context().text(Msg::VivariumLoadWorldTitle), worldFolder(),
                                   context().text(Msg::VivariumWorldFilter));
    if (!chosen) return;
    m_worldFile = *chosen;
    runCommand([this] { m_session->loadWorld(toPath(m_worldFile)); });
}

void VivariumWindow::goToLogRow(int row) {
    const QListWidgetItem* item = m_log->item(row);
    if (!item) return;
    const auto index = static_cast<std::size_t>(item->data(kHappeningRole).toULongLong());
    const auto& log = m_session->log();
    if (index >= log.size()) return;
    const vivarium::Happening& happening = log[index];
    selectObject(happening.object);
    if (happening.origin && happening.origin->onSourcePage && m_showSourcePlace)
        m_showSourcePlace(happening.position.line, happening.position.column);
}

void VivariumWindow::showEvent(QShowEvent* event) {
    VekWindow::showEvent(event);
    showWorld();
}

void VivariumWindow::showWorld() {
    if (!isVisible()) return;
    m_view->update();
    showObjects();
    showLog();
    m_scriptView->showObject(selectedObject(), !running());
    const vivarium::World& world = m_session->world();
    const auto stop = m_session->stop();
    const QString state =
        stop             ? context().text(Msg::VivariumHeldAt).arg(stop->object)
        : m_faulted != 0 ? context().text(Msg::VivariumStoppedAtFault).arg(m_faulted)
                         : context().text(running() ? Msg::VivariumRunning : Msg::VivariumPaused);
    QString status = context()
                         .text(Msg::VivariumStatus)
                         .arg(world.currentTick())
                         .arg(world.objects().size())
                         .arg(state);
    if (m_injected) status += QStringLiteral(" · ") + m_injected();
    m_status->setText(status);
}

void VivariumWindow::showObjects() {
    const auto& objects = m_session->world().objects();
    // Rows are kept and rewritten, so that a selection stays while the world runs.
    while (m_objects->topLevelItemCount() > static_cast<int>(objects.size()))
        delete m_objects->takeTopLevelItem(m_objects->topLevelItemCount() - 1);
    int index = 0;
    for (const vivarium::Object& object : objects) {
        QTreeWidgetItem* item = m_objects->topLevelItem(index++);
        if (!item) item = new QTreeWidgetItem(m_objects);
        item->setData(0, kObjectRole, object.id);
        const vivarium::ObjectRow row = vivarium::objectRow(object, m_classNames);
        const QString texts[] = {QStringLiteral("#%1").arg(row.object),
                                 toQString(row.clas),
                                 toQString(row.name),
                                 toQString(row.position),
                                 toQString(row.pose),
                                 toQString(row.timer),
                                 toQString(row.variables)};
        for (int column = 0; column < kObjectColumns; ++column) {
            if (item->text(column) != texts[column]) item->setText(column, texts[column]);
        }
    }
}

void VivariumWindow::selectObject(int object) {
    for (int row = 0; row < m_objects->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = m_objects->topLevelItem(row);
        if (item->data(0, kObjectRole).toInt() == object) return m_objects->setCurrentItem(item);
    }
}

void VivariumWindow::showLog() {
    const auto& log = m_session->log();
    const std::string language = context().look.language();
    for (; m_logShown < log.size(); ++m_logShown) {
        const vivarium::Happening& happening = log[m_logShown];
        const QString line = toQString(vivarium::logLine(happening, language));
        auto* row = new QListWidgetItem(line, m_log);
        row->setToolTip(line);  // the whole of a row too long for the list
        row->setData(kObjectRole, happening.object);
        row->setData(kHappeningRole, static_cast<qulonglong>(m_logShown));
        if (happening.kind == vivarium::HappeningKind::Fault) row->setForeground(Qt::red);
    }
    while (m_log->count() > kLogRows) delete m_log->takeItem(0);
    if (m_log->count() > 0) m_log->scrollToBottom();
}

void VivariumWindow::retranslate() {
    auto caption = [this](QAction* action, const Bilingual& text) {
        action->setText(context().text(text));
    };
    caption(m_run, Msg::VivariumRun);
    caption(m_pause, Msg::VivariumPause);
    caption(m_step, Msg::VivariumStep);
    caption(m_reset, Msg::VivariumReset);
    caption(m_stepCommand, Msg::VivariumStepCommand);
    caption(m_breakpoint, Msg::VivariumToggleBreakpoint);
    m_scriptView->retranslate();
    caption(m_saveWorld, Msg::VivariumSaveWorld);
    caption(m_loadWorld, Msg::VivariumLoadWorld);
    caption(m_placeCreature, Msg::VivariumPlaceCreature);
    caption(m_helpAction, Msg::VivariumHelpButton);
    caption(m_injectFile, Msg::VivariumInjectFile);
    caption(m_showRooms, Msg::VivariumShowRooms);
    caption(m_stopOnFault, Msg::VivariumStopOnFault);
    m_speedLabel->setText(context().text(Msg::VivariumSpeed));
    m_zoomLabel->setText(context().text(Msg::VivariumZoom));
    m_objectsTitle->setText(context().text(Msg::VivariumObjectsTitle));
    m_logTitle->setText(context().text(Msg::VivariumLogTitle));
    m_objects->setHeaderLabels(
        {context().text(Msg::VivariumColumnObject), context().text(Msg::VivariumColumnClass),
         context().text(Msg::VivariumColumnName), context().text(Msg::VivariumColumnPosition),
         context().text(Msg::VivariumColumnPose), context().text(Msg::VivariumColumnTimer),
         context().text(Msg::VivariumColumnVariables)});
    QString note = context().text(Msg::VivariumNotModelledNote);
    if (!m_hasBackground) note = context().text(Msg::VivariumNoBackground) + ' ' + note;
    m_note->setText(note);
    setWindowTitle(context().text(Msg::VivariumWindowTitle));
    // The log's rows in the new language.
    m_log->clear();
    m_logShown = 0;
    showWorld();
}

void VivariumWindow::showHelpPage() {
    if (!m_help) {
        m_help = std::make_unique<HelpWindow>(findHelpDirectory(context().files.directory()),
                                              context().look.german());
    }
    m_help->showLanguage(context().look.german());
    m_help->showTopic(QStringLiteral("vivarium.html"));
}

void VivariumWindow::buildSwitches() {
    addToolBarBreak();
    QToolBar* switches = addToolBar(QStringLiteral("VivariumSwitches"));
    switches->setObjectName(QStringLiteral("VivariumSwitches"));
    switches->setMovable(false);
    m_injectFile = switches->addAction(QString());
    m_injectFile->setObjectName(QStringLiteral("InjectFile"));
    connect(m_injectFile, &QAction::triggered, this, &VivariumWindow::injectFile);
    m_placeCreature = switches->addAction(QString());
    m_placeCreature->setObjectName(QStringLiteral("PlaceCreature"));
    connect(m_placeCreature, &QAction::triggered, this, &VivariumWindow::placeCreature);
    switches->addSeparator();
    m_showRooms = switches->addAction(QString());
    m_showRooms->setObjectName(QStringLiteral("ShowRooms"));
    m_showRooms->setCheckable(true);
    connect(m_showRooms, &QAction::toggled, this, [this](bool on) { m_view->setShowsRooms(on); });
    m_stopOnFault = switches->addAction(QString());
    m_stopOnFault->setObjectName(QStringLiteral("StopOnFault"));
    m_stopOnFault->setCheckable(true);
    m_stopOnFault->setChecked(true);
}

void VivariumWindow::connectView(WorldView* view) {
    connect(view, &WorldView::handUsed, this, [this] { showWorld(); });
    connect(view, &WorldView::zoomAsked, this, &VivariumWindow::zoomAt);
    connect(view, &WorldView::creatureMenuRequested, this, &VivariumWindow::showCreatureMenu);
    view->setShowsRooms(m_showRooms && m_showRooms->isChecked());
}

void VivariumWindow::injectFile() {
    const auto chosen =
        context().dialogs.openFile(context().text(Msg::VivariumInjectFileTitle), worldFolder(),
                                   context().text(Msg::VivariumInjectFilter));
    if (chosen) injectObjectFile(*chosen);
}

void VivariumWindow::injectObjectFile(const QString& file) {
    runCommand([this, &file] {
        const std::filesystem::path path = toPath(file);
        const std::string name = pathToUtf8(path.filename());
        const auto sent = vivarium::injectionOfFile(path, name);
        const int newest =
            m_session->world().objects().empty() ? 0 : m_session->world().objects().back().id;
        const std::size_t logged = m_session->log().size();
        m_session->inject(sent);
        const auto& log = m_session->log();
        const auto fault = std::find_if(log.begin() + static_cast<std::ptrdiff_t>(logged),
                                        log.end(), [](const vivarium::Happening& happening) {
                                            return happening.kind == vivarium::HappeningKind::Fault;
                                        });
        const std::optional<BilingualText> faultText =
            fault == log.end() ? std::nullopt : std::optional(fault->fault);
        const auto& objects = m_session->world().objects();
        const bool made = !objects.empty() && objects.back().id > newest;
        const int object = made ? objects.back().id : 0;
        const QPoint place = made ? QPoint(objects.back().x, objects.back().y) : QPoint();
        m_injected = [this, name = toQString(name), faultText, object, place] {
            const QString answer =
                faultText ? toQString(std::string(faultText->in(context().look.language())))
                          : context().text(Msg::VivariumAnsweredWithoutFault);
            if (object == 0) return context().text(Msg::VivariumInjectedNoObject).arg(name, answer);
            return context()
                .text(Msg::VivariumInjectedAt)
                .arg(name)
                .arg(object)
                .arg(place.x())
                .arg(place.y())
                .arg(answer);
        };
        if (made) selectObject(objects.back().id);
        showWorld();
    });
}

void VivariumWindow::zoomAt(int steps, QPoint viewPoint) {
    const double before = m_view->zoom();
    const QPointF world(viewPoint.x() / before, viewPoint.y() / before);
    QScrollBar* across = m_scroll->horizontalScrollBar();
    QScrollBar* down = m_scroll->verticalScrollBar();
    const QPoint inViewport = viewPoint - QPoint(across->value(), down->value());
    setZoom(std::clamp(m_zoomChoice->value() + steps * m_zoomChoice->singleStep(),
                       m_zoomChoice->minimum(), m_zoomChoice->maximum()));
    const double after = m_view->zoom();
    across->setValue(static_cast<int>(world.x() * after) - inViewport.x());
    down->setValue(static_cast<int>(world.y() * after) - inViewport.y());
}

void VivariumWindow::clearFaultMark() {
    if (m_faulted == 0) return;
    m_faulted = 0;
    m_scriptView->markFault(std::nullopt);
}

void VivariumWindow::stopAtFault(std::size_t logged) {
    if (!m_stopOnFault->isChecked()) return;
    const auto& log = m_session->log();
    for (std::size_t k = logged; k < log.size(); ++k) {
        const vivarium::Happening& fault = log[k];
        if (fault.kind != vivarium::HappeningKind::Fault || fault.object == 0) continue;
        m_timer->stop();
        m_faulted = fault.object;
        selectObject(fault.object);
        if (fault.script)
            m_scriptView->markFault(vivarium::Breakpoint{*fault.script, fault.instruction});
        showWorld();
        return;
    }
}

void VivariumWindow::followSelectedObject() {
    const int selected = selectedObject();
    m_view->setMarkedObject(selected);
    const vivarium::Object* object = m_session->world().find(selected);
    if (!object) return;
    const double zoom = m_view->zoom();
    const int margin = 80;
    m_scroll->ensureVisible(static_cast<int>((object->x + object->width() / 2) * zoom),
                            static_cast<int>((object->y + object->height() / 2) * zoom), margin,
                            margin);
}

}  // namespace vek::ui
