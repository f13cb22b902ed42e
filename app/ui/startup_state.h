#pragma once

#include <QString>
#include <functional>
#include <utility>

namespace vek::ui {

// What start-up found and chose: debug mode, whether the game's paths could be read, whether the
// user chose to quit, and where the start-up trace is shown. Only start-up changes it.
class StartupState {
  public:
    using TraceSink = std::function<void(const QString&)>;

    bool debugMode() const { return m_debugMode; }
    void setDebugMode(bool on) { m_debugMode = on; }

    // False when the game is not installed and the user went on.
    bool pathsRead() const { return m_pathsRead; }
    // The user chose to quit at the installed-game check.
    bool quitAfterStartup() const { return m_quitAfterStartup; }
    void recordGameCheck(bool pathsRead, bool quit) {
        m_pathsRead = pathsRead;
        m_quitAfterStartup = quit;
    }

    // Where start-up trace texts go, and what ends the trace; installed by the main window.
    void showTraceIn(TraceSink sink, std::function<void()> end) {
        m_traceSink = std::move(sink);
        m_traceEnd = std::move(end);
    }
    // Shows a start-up trace text; only debug mode shows them.
    void trace(const QString& text) const {
        if (m_debugMode && m_traceSink) m_traceSink(text);
    }
    // The last step of start-up, in any mode: the main window shows its designed title again.
    void endTrace() const {
        if (m_traceEnd) m_traceEnd();
    }

  private:
    bool m_debugMode = false;
    bool m_pathsRead = false;
    bool m_quitAfterStartup = false;
    TraceSink m_traceSink;
    std::function<void()> m_traceEnd;
};

}  // namespace vek::ui
