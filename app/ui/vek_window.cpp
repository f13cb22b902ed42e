#include "app/ui/vek_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/ui/error_report.h"

namespace vek::ui {

VekWindow::VekWindow(AppContext& context, const QString& formName, const QString& caption)
    : m_context(context) {
    setObjectName(formName);
    setWindowTitle(caption);
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
