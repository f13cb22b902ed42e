#pragma once

#include <QWidget>
#include <chrono>
#include <functional>

#include "objects/injection.h"

class QListWidget;

namespace vek {
class ObjectDocument;
}  // namespace vek

namespace vek::ui {

struct AppContext;

// The object compiler's "COB Injector" page: the object files of the game's main directory,
// injected with a double click, and the commands Inject and Kill Edit that the window's menus
// run. Injection sends the document's object through the game link; progress shows in the
// title of the window the page is in.
class CobInjectorPage : public QWidget {
    Q_OBJECT
  public:
    CobInjectorPage(AppContext& context, ObjectDocument& document, MacroSender sendMacro,
                    QWidget* parent);

    QListWidget* fileListBox2() const { return m_fileListBox2; }

    // The two-second wait before the closing macro; tests replace it.
    void setInjectionWait(std::function<void(std::chrono::milliseconds)> wait) {
        m_wait = std::move(wait);
    }
    // Asked before a double click loads a file over the object: false keeps everything.
    void setLoadQuestion(std::function<bool()> mayLoad) { m_mayLoad = std::move(mayLoad); }
    // Where the link takes an injected object, for the note that tells it arrived.
    void setInjectionTarget(std::function<InjectionTarget()> target) {
        m_target = std::move(target);
    }

  public Q_SLOTS:
    void injectCommand();    // Inject2 (Button9Click)
    void killEditCommand();  // KillEdit1 (KillEdit1Click)
    // Lists the "*.COB" files of the game's main directory.
    void refreshFileList();
    void FileListBox2DblClick();

  Q_SIGNALS:
    // A double click read an object file into the document.
    void objectLoaded();
    // The outcome of an injection, for the window's status line.
    void noteChanged(const QString& note);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    AppContext& m_context;
    ObjectDocument& m_document;
    MacroSender m_sendMacro;
    QListWidget* m_fileListBox2 = nullptr;
    std::function<void(std::chrono::milliseconds)> m_wait;
    std::function<bool()> m_mayLoad = [] { return true; };
    std::function<InjectionTarget()> m_target = [] { return InjectionTarget::Game; };
};

}  // namespace vek::ui
