#pragma once

#include <QApplication>

class QStatusBar;

namespace vek::ui {

class SessionLook;
class UserDialogs;

// The application object. An exception that escapes an event handler ends the command, not the
// program: it is shown by the default error report.
class VekApplication : public QApplication {
    Q_OBJECT
  public:
    VekApplication(int& argc, char** argv);

    void setDialogs(UserDialogs* dialogs) { m_dialogs = dialogs; }
    // Errors are reported in the session's language (a service that lives as long as the
    // application).
    void reportErrorsIn(const SessionLook& look) { m_look = &look; }
    // Shows the hint of whatever the mouse is over in this status bar, for every window.
    void showHintsIn(QStatusBar* statusBar);
    QStatusBar* hintBar() const { return m_hintBar; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    UserDialogs* m_dialogs = nullptr;
    const SessionLook* m_look = nullptr;
    QStatusBar* m_hintBar = nullptr;
};

}  // namespace vek::ui
