#include "utilities/ui/sound_player_window.h"

#include <QEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

#include "app/text_names.h"
#include "app/ui/language.h"
#include "app/ui/qt_convert.h"
#include "utilities/sound_directory.h"

namespace vek::ui {

namespace {
constexpr QSize kDesignedSize{220, 300};
}  // namespace

SoundPlayerWindow::SoundPlayerWindow(AppContext& context)
    : VekWindow(context, QStringLiteral("TForm3"), QStringLiteral("Sound Player")) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    m_files = new QListWidget(central);
    m_files->setObjectName(QStringLiteral("FileListBox1"));
    tagControl(m_files, Tag::SoundList);
    layout->addWidget(m_files);
    setCentralWidget(central);
    resize(kDesignedSize);
    // Centred on the screen; the toggle leaves it where it is.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    connect(m_files, &QListWidget::itemClicked, this, &SoundPlayerWindow::FileListBox1Click);
}

void SoundPlayerWindow::FormCreate() {}

bool SoundPlayerWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return VekWindow::event(event);
}

void SoundPlayerWindow::FormActivate() {
    const std::string& soundPath = context().game.paths().CSoundPath;
    const QString current = m_files->currentItem() ? m_files->currentItem()->text() : QString();
    m_files->clear();
    const QFileIconProvider icons;
    for (const std::string& name : soundDirectoryFiles(soundPath)) {
        const QString text = toQString(name);
        auto* item = new QListWidgetItem(icons.icon(QFileInfo(toQString(soundPath) + text)), text);
        m_files->addItem(item);
        if (text == current) m_files->setCurrentItem(item);
    }
}

void SoundPlayerWindow::FileListBox1Click() {
    if (const QListWidgetItem* item = m_files->currentItem())
        context().game.PlayGameSound(soundNameOf(toStdString(item->text())));
}

}  // namespace vek::ui
