#include "world/ui/map_window.h"

#include <QAction>
#include <QFileInfo>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/file_io.h"
#include "app/scope_exit.h"
#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/status_note.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/long_job.h"
#include "app/ui/widgets/picture_box.h"
#include "app/vek_error.h"
#include "sprites/picture_file.h"
#include "world/map_raster.h"

namespace vek::ui {

namespace {

const QString kRestTitle = QStringLiteral("Draw a Map of Albia");
const QString kWaitTitle = QStringLiteral("Please Wait - this may take several minutes...");
const QString kDoneTitle = QStringLiteral("Done... Puhh...");

constexpr ScreenColor kBlankMap = 0xFFFFFF;

}  // namespace

MapWindow::MapWindow(AppContext& context, const PaletteTable& palette)
    : VekWindow(context, QStringLiteral("TForm6"), kRestTitle), m_palette(palette) {
    m_map = RgbImage(kMapWidth, kMapHeight, kBlankMap);
    buildControls();
}

void MapWindow::buildControls() {
    QMenu* map = addTaggedMenu(menuBar(), "Map1", Tag::MapMenu, {});
    CreateMap1 = addTaggedItem(map, "CreateMap1", Tag::CreateMap, {});
    connect(CreateMap1, &QAction::triggered, this, &MapWindow::CreateMap1Click);
    SaveMap1 = addTaggedItem(map, "SaveMap1", Tag::SaveMapAsBmp, {});
    connect(SaveMap1, &QAction::triggered, this, &MapWindow::SaveMap1Click);

    auto* layout = makeCentralColumn({}, 0);
    QWidget* central = layout->parentWidget();
    ProgressBar1 = new QProgressBar(central);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, kMapTileColumns - 1);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(16);
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);

    m_scroll = new QScrollArea(central);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = new PictureBox(m_scroll);
    Image1->setObjectName(QStringLiteral("Image1"));
    markAsImage(Image1);
    Image1->setCursor(Qt::CrossCursor);
    Image1->setMouseTracking(true);
    connect(Image1, &PictureBox::moved, this, &MapWindow::Image1MouseMove);
    Image1->installEventFilter(this);
    m_scroll->setWidget(Image1);
    layout->addWidget(m_scroll, 1);
    showMap();
    // Tall enough for the picture and its scroll bar; the progress bar borrows room while drawing.
    resize(800, kMapHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height() +
                    m_scroll->horizontalScrollBar()->sizeHint().height() + 2);
}

void MapWindow::FormCreate() {
    context().startup.trace(QStringLiteral("Albia Map setup (loading map if possible)..."));
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        setGeometry(available.left(), available.top() + 120, available.width(), height());
    }
    if (context().startup.pathsRead()) loadCachedMap();
}

void MapWindow::showMap() {
    Image1->showImage(m_map);
    Image1->repaint();
}

bool MapWindow::loadCachedMap() {
    std::optional<RgbImage> cached = MapCache(context().files.directory()).read();
    if (!cached) return false;
    m_map = std::move(*cached);
    showMap();
    return true;
}

void MapWindow::CreateMap1Click() {
    runCommand([this] {
        ProgressBar1->show();
        if (loadCachedMap()) {
            ProgressBar1->hide();
            return;
        }
        drawAndCacheMap();
    });
}

void MapWindow::drawAndCacheMap() {
    setWindowTitle(kWaitTitle);
    LongJob job;
    // Whatever ends the drawing, the bar goes away; after a failure the title is at rest again
    // and the part drawn so far stays in the picture.
    bool done = false;
    const ScopeExit finish([this, &done] {
        ProgressBar1->hide();
        if (!done) setWindowTitle(kRestTitle);
        Image1->repaint();
    });

    if (m_map.width != kMapWidth || m_map.height != kMapHeight) {
        m_map = RgbImage(kMapWidth, kMapHeight, kBlankMap);
    }
    Image1->showImage(m_map);
    const std::filesystem::path back = backSpritePath(context().game.paths().CImagePath);
    drawMap(back, m_palette, m_map, [&](int column) {
        ProgressBar1->setValue(column);
        if (column > 0)
            Image1->repaintPart((column - 1) * kMapTileSamples, 0, kMapTileSamples, kMapHeight);
        if (job.due()) {
            LongJob::repaintWindows();
            job.keepAlive();
        }
    });
    setWindowTitle(kDoneTitle);
    done = true;
    MapCache(context().files.directory()).write(m_map);
}

void MapWindow::SaveMap1Click() {
    runCommand([this] {
        const auto file = context().dialogs.saveFile(context().text(Msg::MapSaveTitle), QString(),
                                                     pictureFilter(), QStringLiteral("BMP"));
        if (!file) return;
        writePicture(toPath(*file), m_map);
        showNote(this, context().text(Msg::SavedNote).arg(QFileInfo(*file).fileName()));
    });
}

void MapWindow::Image1MouseMove(QPoint position) {
    const QString coordinates = QStringLiteral("X: %1       Y: %2")
                                    .arg(mapToWorld(position.x()))
                                    .arg(mapToWorld(position.y()));
    setWindowTitle(coordinates);
    statusBar()->showMessage(coordinates);
}

bool MapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::Leave) statusBar()->clearMessage();
    return VekWindow::eventFilter(watched, event);
}

}  // namespace vek::ui
