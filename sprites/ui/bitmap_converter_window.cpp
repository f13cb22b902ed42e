#include "sprites/ui/bitmap_converter_window.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/scope_exit.h"
#include "app/text_names.h"
#include "app/ui/file_drop.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "app/ui/recent_menu.h"
#include "app/ui/status_note.h"
#include "app/ui/tags.h"
#include "app/ui/widgets/long_job.h"
#include "app/ui/widgets/picture_box.h"
#include "sprites/bitmap_converter.h"
#include "sprites/picture_file.h"

namespace vek::ui {

namespace {

const QStringList kPictureDrops{QStringLiteral(".bmp"), QStringLiteral(".png")};
const QString kSpriteFilter = QStringLiteral("*.SPR (*.SPR *.spr)");
const QString kBatchFilter =
    QStringLiteral("Windows Bitmap File (*.BMP *.bmp);;PNG Picture (*.PNG *.png)");

}  // namespace

BitmapConverterWindow::BitmapConverterWindow(AppContext& context, const PaletteTable& palette)
    : VekWindow(context, QStringLiteral("TForm5"), QStringLiteral("BMP to Sprite converter")),
      m_palette(palette) {
    resize(287, 373);
    buildMenus();
    buildPages();
    setAcceptDrops(true);
}

void BitmapConverterWindow::buildMenus() {
    using W = BitmapConverterWindow;
    QMenu* files = addTaggedMenu(menuBar(), "File1", Tag::FileMenu, {});
    LoadBMP1 = addTaggedItem(files, "LoadBMP1", Tag::LoadBmpFile, {});
    connect(LoadBMP1, &QAction::triggered, this, &W::LoadBMP1Click);
    LoadBMP1->setShortcut(QKeySequence::Open);
    addRecentMenu(files, context().files, RecentKind::Pictures, [this](const QString& recent) {
        if (!m_converting) runCommand([this, &recent] { loadPicture(recent); });
    });
    SaveasSPRFile1 = addTaggedItem(files, "SaveasSPRFile1", Tag::SaveAsSprFile, {});
    connect(SaveasSPRFile1, &QAction::triggered, this, &W::SaveasSPRFile1Click);
    SaveasSPRFile1->setShortcut(QKeySequence::Save);

    QMenu* assistant = addTaggedMenu(menuBar(), "Assistent1", 0, QStringLiteral("&Assistent"));
    CompileseveralBMPstoSPR1 =
        addTaggedItem(assistant, "CompileseveralBMPstoSPR1", Tag::CompileBmpFiles, {});
    connect(CompileseveralBMPstoSPR1, &QAction::triggered, this, &W::CompileseveralBMPstoSPR1Click);
}

void BitmapConverterWindow::buildPages() {
    auto* layout = makeCentralColumn({}, 0);
    QWidget* central = layout->parentWidget();

    ProgressBar1 = new QProgressBar(central);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedHeight(21);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto* pictureLayout = new QVBoxLayout(TabSheet1);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    m_pictureScroll = new QScrollArea(TabSheet1);
    m_pictureScroll->setFrameShape(QFrame::NoFrame);
    m_pictureScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* pictureHolder = new QWidget;
    auto* holderLayout = new QVBoxLayout(pictureHolder);
    holderLayout->setContentsMargins(3, 1, 0, 0);
    Image1 = new PictureBox(pictureHolder);
    Image1->setObjectName(QStringLiteral("Image1"));
    markAsImage(Image1);
    tagControl(Image1, Tag::ConverterImage);
    holderLayout->addWidget(Image1, 0, Qt::AlignLeft | Qt::AlignTop);
    m_pictureScroll->setWidget(pictureHolder);
    m_pictureScroll->setWidgetResizable(true);
    pictureLayout->addWidget(m_pictureScroll);
    // A page takes its caption once it is in the page control.
    PageControl1->addTab(TabSheet1, QString());
    tagControl(TabSheet1, Tag::ConverterPicture);
    TabSheet2 = buildOptionsPage();
    PageControl1->addTab(TabSheet2, QString());
    tagControl(TabSheet2, Tag::Options);
    PageControl1->setCurrentWidget(TabSheet2);

    Image1->showImage(m_picture);
}

QWidget* BitmapConverterWindow::buildOptionsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* pageLayout = new QVBoxLayout(page);
    GroupBox1 = new QGroupBox(page);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    tagControl(GroupBox1, Tag::ColorMatch);
    auto* groupLayout = new QVBoxLayout(GroupBox1);
    const std::pair<QRadioButton*&, int> levels[] = {{RadioButton1, Tag::MatchBest},
                                                     {RadioButton2, Tag::MatchGood},
                                                     {RadioButton3, Tag::MatchBad},
                                                     {RadioButton4, Tag::MatchVeryPoor}};
    for (int number = 1; const auto& [button, tag] : levels) {
        button = new QRadioButton(GroupBox1);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(number++));
        tagControl(button, tag);
        groupLayout->addWidget(button);
    }
    RadioButton1->setChecked(true);
    pageLayout->addWidget(GroupBox1);
    pageLayout->addStretch(1);
    return page;
}

void BitmapConverterWindow::FormCreate() {
    context().startup.trace(QStringLiteral("Sprite Converter setup..."));
    if (const QScreen* screen = this->screen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    if (context().startup.pathsRead()) {
        m_picture = startPicture();
        showPicture();
    }
}

ColorMatchLevel BitmapConverterWindow::matchLevel() const {
    if (RadioButton2->isChecked()) return ColorMatchLevel::Good;
    if (RadioButton3->isChecked()) return ColorMatchLevel::Bad;
    if (RadioButton4->isChecked()) return ColorMatchLevel::VeryPoor;
    return ColorMatchLevel::Best;
}

QString BitmapConverterWindow::startFolder(RecentKind kind) const {
    return context().files.startFolder(kind, toQString(context().game.paths().CImagePath));
}

void BitmapConverterWindow::showPicture() {
    Image1->showImage(m_picture);
    Image1->repaint();
}

void BitmapConverterWindow::LoadBMP1Click() {
    if (m_converting) return;
    runCommand([this] { loadBitmap(); });
}

void BitmapConverterWindow::SaveasSPRFile1Click() {
    if (m_converting) return;
    runCommand([this] { saveAsSprite(); });
}

void BitmapConverterWindow::loadBitmap() {
    // The batch flag lasts for this one command, whatever happens in it.
    const bool batch = std::exchange(m_batch, false);
    std::optional<QString> file = m_presetName;
    if (!batch) {
        file = context().dialogs.openFile(context().text(Msg::ConverterOpenTitle),
                                          startFolder(RecentKind::Pictures), pictureFilter());
    }
    if (file) loadPicture(*file);
}

void BitmapConverterWindow::loadPicture(const QString& file) {
    // Read whole before anything changes: a file that is no picture leaves the previous one.
    m_picture = readPicture(toPath(file), m_palette.background());
    context().files.remember(RecentKind::Pictures, file);
    showPicture();
}

void BitmapConverterWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_converting) acceptFileDrag(event, kPictureDrops);
}

void BitmapConverterWindow::dropEvent(QDropEvent* event) {
    if (const auto file = takeFileDrop(event, kPictureDrops)) openPicture(*file);
}

void BitmapConverterWindow::openPicture(const QString& file) {
    if (!m_converting) runCommand([this, &file] { loadPicture(file); });
}

void BitmapConverterWindow::saveAsSprite() {
    const bool batch = std::exchange(m_batch, false);
    std::optional<QString> file = m_presetName;
    if (!batch) {
        file = context().dialogs.saveFile(context().text(Msg::ConverterSaveTitle),
                                          startFolder(RecentKind::Sprites), kSpriteFilter,
                                          QStringLiteral("SPR"));
    }
    if (!file) return;

    m_converting = true;
    LongJob job;
    LongJob::repaintWindows();
    const int rows = m_picture.height;
    ProgressBar1->setRange(0, std::max(rows - 1, 0));
    ProgressBar1->setValue(0);

    int shownRows = 0;  // rows of the picture already repainted in their converted colours
    auto showConvertedRows = [&](int upTo) {
        Image1->repaintPart(0, shownRows, m_picture.width, upTo - shownRows);
        shownRows = upTo;
    };
    // Whatever ends the command, the progress bar returns to 0 and input is accepted again.
    const ScopeExit finish([this] {
        ProgressBar1->setValue(0);
        m_converting = false;
    });

    const SpriteImage sprite = convertPicture(m_picture, m_palette, matchLevel(), [&](int row) {
        ProgressBar1->setValue(row);
        if (job.due()) {
            showConvertedRows(row);
            job.keepAlive();
        }
    });
    showConvertedRows(rows);
    writeConvertedSprite(toPath(*file), sprite);
    context().files.remember(RecentKind::Sprites, *file);
    if (!batch) showNote(this, context().text(Msg::SavedNote).arg(QFileInfo(*file).fileName()));
}

void BitmapConverterWindow::CompileseveralBMPstoSPR1Click() {
    if (m_converting) return;
    runCommand([this] {
        const auto files =
            context().dialogs.openFiles(context().text(Msg::ConverterBatchTitle),
                                        startFolder(RecentKind::Pictures), kBatchFilter);
        if (!files) return;
        // The first file that fails ends the batch; those before it stay converted.
        for (const QString& file : *files) {
            m_presetName = file;
            m_batch = true;
            loadBitmap();
            m_presetName = fromPath(batchSpriteName(toPath(file)));
            m_batch = true;
            saveAsSprite();
        }
        showNote(this, context().text(Msg::ConvertedNote).arg(files->size()));
    });
}

}  // namespace vek::ui
