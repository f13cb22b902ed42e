#include "gamelink/ui/game_link_commands.h"

#include <QApplication>

#include "app/text_names.h"
#include "app/ui/app_context.h"
#include "app/ui/error_report.h"
#include "app/ui/macro_report.h"
#include "app/ui/qt_convert.h"
#include "app/ui/status_note.h"
#include "app/ui/widgets/wait_cursor.h"
#include "app/vek_error.h"
#include "gamelink/app_exec.h"
#include "gamelink/creatures.h"
#include "gamelink/launcher_object.h"

namespace vek::ui {

void putLauncherObject(AppContext& context, TCreatures& creatures) {
    runGuarded(context, [&] {
        const auto put = [&] {
            return vek::putLauncherObject(creatures, context.files.directory());
        };
        const SentMacro sent{std::string(kLauncherMacro), whileBusy(put)};
        if (reportMacroProblems(context, {&sent, 1}))
            showNote(nullptr, sentNote(context, sent.macro));
    });
}

void testConnectionToCreatures(AppContext& context, TCreatures& creatures) {
    if (!creatures.testConnection()) context.ask(kNoConnectionBox, Buttons::Ok);
}

void launchCreatures(AppContext& context, const TCreatures& creatures) {
    const ProcessLaunch start = gameStart(creatures.paths());
    TAppExec exec;
    exec.ExeName = start.exeName;
    exec.ExeParams = start.params;
    exec.setExePath(start.workingDirectory);
    exec.Wait = false;
    try {
        exec.Execute();
    } catch (const VekError& error) {
        // A plain message box: the application's title as its caption.
        context.dialogs.message(toQString(error.message(context.look.language())),
                                QStringLiteral("Vekstudio"), Buttons::Ok);
    }
}

namespace {}  // namespace

void installGameLinkNotices(AppContext& context, TCreatures& creatures) {
    creatures.setNoticeSink([&context](const BilingualBox& box) { context.ask(box, Buttons::Ok); });
    // While a game that was just started comes up, the user sees the program wait.
    creatures.setBusySink([](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    });
    // Wine and its bridge starting for the session's first macro: the program says what it
    // waits for, painted before the wait goes on.
    creatures.setSlowLinkSink([&context](bool slow) {
        if (slow) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            showNote(nullptr, context.text(Msg::ConnectingUnderWineNote));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        } else {
            QApplication::restoreOverrideCursor();
        }
    });
}

}  // namespace vek::ui
