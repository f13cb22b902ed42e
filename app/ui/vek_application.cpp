#include "app/ui/vek_application.h"

#include <QStatusBar>
#include <QStatusTipEvent>

#include "app/messages.h"
#include "app/ui/qt_convert.h"
#include "app/ui/session_look.h"
#include "app/ui/user_dialogs.h"
#include "app/vek_error.h"

namespace vek::ui {

VekApplication::VekApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: Qt would append it to every window title, which are designed texts.
    setApplicationName(QStringLiteral("Vekstudio"));
}

void VekApplication::showHintsIn(QStatusBar* statusBar) { m_hintBar = statusBar; }

bool VekApplication::notify(QObject* receiver, QEvent* event) {
    if (m_hintBar && event->type() == QEvent::StatusTip) {
        m_hintBar->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (m_dialogs) {
            const std::string_view language = m_look ? m_look->language() : kLanguageEnglish;
            m_dialogs->errorReport(toQString(errorMessage(error, language)));
        }
    }
    return false;
}

}  // namespace vek::ui
