#include "app/ui/vek_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <utility>

#include "app/ui/error_report.h"

namespace vek::ui {

VekWindow::VekWindow(AppContext& context, const QString& formName, const QString& caption)
    : m_context(context) {
    setObjectName(formName);
    setWindowTitle(caption);
}

void VekWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && !std::exchange(m_placeTaken, true)) takeLastPlace();
    QMainWindow::showEvent(event);
}

void VekWindow::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) rememberPlace();
    QMainWindow::hideEvent(event);
}

void VekWindow::takeLastPlace() {
    if (m_placeMemory == PlaceMemory::None) return;
    const auto place = m_context.files.windowPlaces().place(objectName().toStdString());
    if (!place) return;
    const QPoint topLeft(place->x, place->y);
    // A place on a screen that is gone is forgotten; a size larger than the screen shrinks.
    const QScreen* screen = QGuiApplication::screenAt(topLeft + QPoint(place->width / 2, 16));
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QSize size(place->width, place->height);
    if (available.isValid()) size = size.boundedTo(available.size());
    resize(size);
    if (m_placeMemory == PlaceMemory::SizeAndPlace && QGuiApplication::screenAt(topLeft))
        move(topLeft);
}

void VekWindow::rememberPlace() {
    if (m_placeMemory == PlaceMemory::None || isMinimized()) return;
    // The place of the frame, the size inside it: what move() and resize() take back.
    m_context.files.windowPlaces().remember(objectName().toStdString(),
                                            {x(), y(), width(), height()});
}

void VekWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) Q_EMIT closed();
}

QVBoxLayout* VekWindow::makeCentralColumn(const QMargins& margins, int spacing) {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(margins);
    column->setSpacing(spacing);
    setCentralWidget(central);
    return column;
}

void VekWindow::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void VekWindow::runCommand(const std::function<void()>& command) { runGuarded(m_context, command); }

}  // namespace vek::ui
